// The owners of window classes, GDI objects and icons, the icon cache with the shell's
// icons, and the drawn pictures.
#include "ui/gdi.h"
#include "ui/icon_cache.h"
#include "ui/pictures.h"
#include "ui/window.h"

#include "win32/wide_text.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace orvan::ui {
namespace {

TEST(UiResources, OwnersFreeTheirObjectsAndGuardsRestoreTheDc) {
    HFONT raw = nullptr;
    {
        UniqueFont font = CreatePointFont(L"Tahoma", 8, 96);
        raw = font.Get();
        ASSERT_NE(raw, nullptr);
        EXPECT_EQ(::GetObjectType(raw), DWORD(OBJ_FONT));
        UniqueFont moved(std::move(font));
        EXPECT_EQ(moved.Get(), raw);
        EXPECT_FALSE(font);

        UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
        const HGDIOBJ before = ::GetCurrentObject(dc.Get(), OBJ_FONT);
        {
            SelectGuard guard(dc.Get(), raw);
            EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_FONT), raw);
        }
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_FONT), before);
    }
    EXPECT_EQ(::GetObjectType(raw), 0u); // deleted once the owner went

    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    {
        WindowClassRegistration registration =
            RegisterWindowClass(L"OrvanTestClass", 0, nullptr, nullptr);
        ASSERT_TRUE(registration);
        EXPECT_TRUE(::GetClassInfoExW(ModuleInstance(), L"OrvanTestClass", &info));
    }
    EXPECT_FALSE(::GetClassInfoExW(ModuleInstance(), L"OrvanTestClass", &info));

    const ATOM atom = ::GlobalAddAtomW(L"OrvanTestAtom");
    {
        UniqueGlobalAtom owner(atom);
        EXPECT_EQ(::GlobalFindAtomW(L"OrvanTestAtom"), atom);
    }
    EXPECT_EQ(::GlobalFindAtomW(L"OrvanTestAtom"), 0);
}

TEST(UiResources, IconCacheFetchesBothSizesOnceByExactPath) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::string path = win32::Narrow(self);
    const std::size_t before = FileIcons().size();
    const HICON large = GetFileIcon(path, false);
    EXPECT_EQ(FileIcons().size(), before + 1);
    const HICON small = GetFileIcon(path, true);
    EXPECT_EQ(FileIcons().size(), before + 1); // both came with the first request
    EXPECT_NE(large, nullptr);
    EXPECT_NE(small, nullptr);
    EXPECT_NE(large, small);
    EXPECT_EQ(GetFileIcon(path, false), large); // the same object again

    // A missing path gives an entry without icons, asked once.
    EXPECT_EQ(GetFileIcon("C:\\nowhere-at-all\\missing.exe", true), nullptr);
    EXPECT_EQ(GetFileIcon("C:\\nowhere-at-all\\missing.exe", false), nullptr);
    EXPECT_EQ(FileIcons().size(), before + 2);
}

TEST(UiResources, PicturesAreDrawnInEverySize) {
    Pictures& pictures = ProgramPictures();
    for (int size : {16, 20, 48}) {
        for (int image = 0; image < 7; ++image) {
            const HICON icon = pictures.MainImage(image, size);
            ASSERT_NE(icon, nullptr) << image << "@" << size;
            ICONINFO info{};
            ASSERT_TRUE(::GetIconInfo(icon, &info));
            BITMAP bitmap{};
            ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
            EXPECT_EQ(bitmap.bmWidth, size);
            ::DeleteObject(info.hbmColor);
            ::DeleteObject(info.hbmMask);
            EXPECT_EQ(pictures.MainImage(image, size), icon); // made once
        }
        EXPECT_NE(pictures.MessageIcon(size), nullptr);
        EXPECT_NE(pictures.QuestionIcon(size), nullptr);
        EXPECT_NE(pictures.ButtonGlyph(Glyph::Copy, size, true), nullptr);
        EXPECT_NE(pictures.ProgramIcon(size), nullptr);
    }
    EXPECT_EQ(pictures.MainImage(7, 16), nullptr);
    EXPECT_EQ(pictures.MainImage(-1, 16), nullptr);
}

} // namespace
} // namespace orvan::ui
