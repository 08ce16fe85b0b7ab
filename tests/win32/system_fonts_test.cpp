// The fonts that the system draws the windows' frames with. Caption buttons (close, minimise),
// scroll bar arrows and check marks are glyphs of Marlett: without it every close button is
// drawn as the letter "r".
#include "ui/gdi.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>

namespace orvan::ui {
namespace {

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0; // one is enough
}

bool FontFamilyExists(HDC dc, const wchar_t* family) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(query.lfFaceName, family, LF_FACESIZE - 1);
    bool found = false;
    ::EnumFontFamiliesExW(dc, &query, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

TEST(SystemFonts, MarlettIsThereForTheCaptionButtons) {
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    EXPECT_TRUE(FontFamilyExists(dc.Get(), L"Marlett"));
    // Asked for by name it is the font itself, not a stand-in whose "r" is a letter.
    LOGFONTW marlett{};
    marlett.lfHeight = -13;
    marlett.lfCharSet = SYMBOL_CHARSET;
    std::wcsncpy(marlett.lfFaceName, L"Marlett", LF_FACESIZE - 1);
    UniqueFont font(::CreateFontIndirectW(&marlett));
    ASSERT_TRUE(font);
    SelectGuard guard(dc.Get(), font.Get());
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(dc.Get(), LF_FACESIZE, face);
    EXPECT_EQ(std::wstring(face), L"Marlett");
}

} // namespace
} // namespace orvan::ui
