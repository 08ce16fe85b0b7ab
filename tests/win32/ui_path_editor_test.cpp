// The catalog path editor as a window: its texts and tab order, the state rules, the depth
// edit with its keys and spin buttons, the refused separator, the special-folder menu, and
// that only OK stores anything.
#include "ui_fixture.h"

#include "ui/settings_path_window.h"

#include <commctrl.h>

namespace orvan::testing {
namespace {

namespace id = ui::PathEditorId;

HWND Editor() {
    return VisibleWindow(ui::kSettingsPathClass);
}

HWND Item(int id) {
    return ::GetDlgItem(Editor(), id);
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    ::SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

// A key as the keyboard delivers it: to the control with the focus, through the loop.
void Key(HWND target, UINT key) {
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
}

ModalScript::Step EditorShown() {
    return [] { return Editor() != nullptr; };
}

ModalScript::Step Click(int id) {
    return Do([id] { ::PostMessageW(Item(id), BM_CLICK, 0, 0); });
}

SettingsOptionsCatalogPath SamplePath() {
    SettingsOptionsCatalogPath path;
    path.path = "C:\\Tools";
    path.mask = "*.exe;*.lnk";
    path.depth = UnlimitedDepth;
    path.includeDirectories = true;
    path.active = false;
    return path;
}

TEST(PathEditorTest, ShowsThePathWithItsTextsAndTabOrderAndStoresItAgainOnOk) {
    SettingsOptionsCatalogPath path = SamplePath();
    std::vector<std::wstring> texts;
    std::vector<int> tabOrder;
    bool depthEnabled = true;
    RECT client{};
    ModalScript script({EditorShown(), Do([&] {
                            const HWND editor = Editor();
                            texts = {TextOf(editor),
                                     TextOf(Item(id::PathLabel)),
                                     TextOf(Item(id::MaskLabel)),
                                     TextOf(Item(id::DepthLabel)),
                                     TextOf(Item(id::UnlimitedDepth)),
                                     TextOf(Item(id::IncludeDirectories)),
                                     TextOf(Item(id::Active)),
                                     TextOf(Item(id::Ok)),
                                     TextOf(Item(id::Cancel)),
                                     TextOf(Item(id::Path)),
                                     TextOf(Item(id::Mask)),
                                     TextOf(Item(id::Depth))};
                            depthEnabled = ::IsWindowEnabled(Item(id::Depth)) != FALSE;
                            ::GetClientRect(editor, &client);
                            HWND control = Item(id::Path);
                            for (int i = 0; i < 8 && control; ++i) {
                                tabOrder.push_back(::GetDlgCtrlID(control));
                                control = ::GetNextDlgTabItem(editor, control, FALSE);
                            }
                        }),
                        Click(id::Ok)});
    EXPECT_TRUE(ui::EditCatalogPath(path, nullptr));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Catalog path", L"Path:", L"Mask:", L"Depth:",
                                                L"Unlimited depth:", L"Include subdirectories:",
                                                L"Path is enabled", L"Ok", L"Cancel", L"C:\\Tools",
                                                L"*.exe;*.lnk", L"0"}));
    // Unlimited depth shows through its box alone; the edit is disabled and shows 0.
    EXPECT_FALSE(depthEnabled);
    // The depth edit is disabled and so left out.
    EXPECT_EQ(tabOrder,
              (std::vector<int>{id::Path, id::SpecialFolders, id::Mask, id::UnlimitedDepth,
                                id::IncludeDirectories, id::Active, id::Ok, id::Cancel}));
    if (At96Dpi(nullptr)) {
        EXPECT_EQ(client.right, 376);
        EXPECT_EQ(client.bottom, 209);
    }
    const SettingsOptionsCatalogPath unchanged = SamplePath();
    EXPECT_EQ(path.path, unchanged.path);
    EXPECT_EQ(path.mask, unchanged.mask);
    EXPECT_EQ(path.depth, UnlimitedDepth);
    EXPECT_TRUE(path.includeDirectories);
    EXPECT_FALSE(path.active);
}

TEST(PathEditorTest, TheDepthEditReadsStepsAndClampsItsValue) {
    struct Case {
        const char* name;
        std::vector<ModalScript::Step> actions; // after Unlimited depth was cleared
        std::int32_t stored;
        std::wstring shown;
    };
    const auto type = [](const wchar_t* text) {
        return Do([text] { ::SetWindowTextW(Item(id::Depth), text); });
    };
    const auto spin = [](bool up) {
        return Do([up] {
            const HWND arrows = Item(id::DepthSpin);
            RECT r;
            ::GetClientRect(arrows, &r);
            const LPARAM at = MAKELPARAM(r.right / 2, up ? 2 : r.bottom - 2);
            ::PostMessageW(arrows, WM_LBUTTONDOWN, MK_LBUTTON, at);
            ::PostMessageW(arrows, WM_LBUTTONUP, 0, at);
        });
    };
    Case cases[] = {
        {"unchanged", {}, 0, L"0"},
        {"above the range", {type(L"1234567")}, 999999, L"1234567"},
        {"trailing letters", {type(L"12ab")}, 12, L"12ab"},
        {"Up twice, Down once",
         {Do([] { Key(Item(id::Depth), VK_UP); }), Do([] { Key(Item(id::Depth), VK_UP); }),
          Do([] { Key(Item(id::Depth), VK_DOWN); })},
         1,
         L"1"},
        {"Down at 0", {Do([] { Key(Item(id::Depth), VK_DOWN); })}, 0, L"0"},
        {"spin up twice and down", {spin(true), spin(true), spin(false)}, 1, L"1"},
    };
    for (Case& c : cases) {
        SettingsOptionsCatalogPath path = SamplePath();
        std::vector<ModalScript::Step> steps{EditorShown(), Click(id::UnlimitedDepth)};
        steps.insert(steps.end(), c.actions.begin(), c.actions.end());
        std::wstring shown;
        std::pair<DWORD, DWORD> selection;
        bool enabled = false;
        steps.push_back(Do([&] {
            shown = TextOf(Item(id::Depth));
            selection = Selection(Item(id::Depth));
            enabled = ::IsWindowEnabled(Item(id::Depth)) != FALSE;
        }));
        steps.push_back(Click(id::Ok));
        ModalScript script(std::move(steps));
        EXPECT_TRUE(ui::EditCatalogPath(path, nullptr)) << c.name;
        EXPECT_TRUE(enabled) << c.name;
        EXPECT_EQ(shown, c.shown) << c.name;
        EXPECT_EQ(path.depth, c.stored) << c.name;
        // A step by key or spin button selects the whole text.
        if (!c.actions.empty() && c.shown == L"1") {
            EXPECT_EQ(selection, (std::pair<DWORD, DWORD>{0, 1})) << c.name;
        }
    }
}

TEST(PathEditorTest, OkNeedsAPathAndTheFieldSeparatorIsRefused) {
    SettingsOptionsCatalogPath path = SamplePath();
    std::vector<bool> okEnabled;
    std::wstring typed;
    std::wstring mask;
    const auto noteOk = [&] {
        return Do([&] { okEnabled.push_back(::IsWindowEnabled(Item(id::Ok)) != FALSE); });
    };
    ModalScript script({EditorShown(), Do([] { ::SetWindowTextW(Item(id::Path), L""); }), noteOk(),
                        // OK is disabled: Enter does nothing.
                        Do([] { Key(Item(id::Path), VK_RETURN); }),
                        Do([] { ::PostMessageW(Item(id::Path), WM_CHAR, L' ', 1); }), noteOk(),
                        Do([] { ::PostMessageW(Item(id::Path), WM_CHAR, L'|', 1); }), Do([] {
                            ::SendMessageW(Item(id::Path), EM_REPLACESEL, TRUE,
                                           reinterpret_cast<LPARAM>(L"a|b"));
                            ::SetWindowTextW(Item(id::Mask), L"*.x|*.y");
                        }),
                        Do([&] {
                            typed = TextOf(Item(id::Path));
                            mask = TextOf(Item(id::Mask));
                        }),
                        // Esc: Cancel, and nothing of it is stored.
                        Do([] { Key(Item(id::Path), VK_ESCAPE); })});
    EXPECT_FALSE(ui::EditCatalogPath(path, nullptr));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(okEnabled, (std::vector<bool>{false, true}));
    EXPECT_EQ(typed, L" ab");
    EXPECT_EQ(mask, L"*.x*.y");
    EXPECT_EQ(path.path, "C:\\Tools");
    EXPECT_EQ(path.mask, "*.exe;*.lnk");
    EXPECT_EQ(path.depth, UnlimitedDepth);
}

TEST(PathEditorTest, TheSpecialFolderMenuOpensBelowTheButtonAndInsertsItsVariable) {
    SettingsOptionsCatalogPath path = SamplePath();
    RECT button{};
    RECT menu{};
    int items = 0;
    std::wstring first, appended, replaced;
    std::pair<DWORD, DWORD> appendedSelection, replacedSelection;
    ModalScript script(
        {EditorShown(),
         // The caret at the end of the text, then the button.
         Do([] { ::SendMessageW(Item(id::Path), EM_SETSEL, 8, 8); }), Click(id::SpecialFolders),
         [&] {
             const HWND popup = VisibleWindow(L"#32768");
             if (!popup)
                 return false;
             ::GetWindowRect(Item(id::SpecialFolders), &button);
             ::GetWindowRect(popup, &menu);
             // The third item, PROGRAMFILES, as the keyboard chooses it.
             for (int i = 0; i < 3; ++i)
                 Key(popup, VK_DOWN);
             Key(popup, VK_RETURN);
             return true;
         },
         [&] { return VisibleWindow(L"#32768") == nullptr; }, Do([&] {
             appended = TextOf(Item(id::Path));
             appendedSelection = Selection(Item(id::Path));
             const HMENU specials = reinterpret_cast<ui::SettingsPathWindow*>(
                                        ::GetWindowLongPtrW(Editor(), GWLP_USERDATA))
                                        ->SpecialFolderMenu();
             items = ::GetMenuItemCount(specials);
             wchar_t caption[64] = {};
             ::GetMenuStringW(specials, 0, caption, 64, MF_BYPOSITION);
             first = caption;
             // With the whole text selected the variable replaces it.
             ::SendMessageW(Item(id::Path), EM_SETSEL, 0, -1);
             reinterpret_cast<ui::SettingsPathWindow*>(::GetWindowLongPtrW(Editor(), GWLP_USERDATA))
                 ->InsertSpecialFolder(2);
             replaced = TextOf(Item(id::Path));
             replacedSelection = Selection(Item(id::Path));
         }),
         Click(id::Ok)});
    EXPECT_TRUE(ui::EditCatalogPath(path, nullptr));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(menu.left, button.left);
    EXPECT_EQ(menu.top, button.bottom);
    EXPECT_EQ(items, 18);
    EXPECT_EQ(first, L"APPDATA");
    EXPECT_EQ(appended, L"C:\\Tools%PROGRAMFILES%");
    EXPECT_EQ(appendedSelection, (std::pair<DWORD, DWORD>{8, 22}));
    EXPECT_EQ(replaced, L"%PROGRAMFILES%");
    EXPECT_EQ(replacedSelection, (std::pair<DWORD, DWORD>{0, 14}));
    EXPECT_EQ(path.path, "%PROGRAMFILES%");
}

} // namespace
} // namespace orvan::testing
