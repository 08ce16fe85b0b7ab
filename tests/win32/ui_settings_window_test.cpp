// The settings dialog in the launcher: opened from every route, its controls and texts,
// OK applying and saving, Cancel dropping every change, the path grid with the editor, and
// a real rebuild of a folder tree with its progress, Stop and Cancel.
#include "ui_fixture.h"

#include "core/app/hot_key.h"
#include "core/app/startup.h"
#include "core/catalog/launch_memory.h"
#include "core/catalog/scanner.h"
#include "ui/hot_key_registration.h"
#include "ui/settings_path_window.h"
#include "ui/settings_window.h"

#include <commctrl.h>

namespace orvan::testing {
namespace {

namespace id = ui::SettingsId;
using ui::SettingsPage;

constexpr char kThreePaths[] = "[Global]\r\nLanguage=1\r\nHotKey=32800\r\n"
                               "[Form]\r\nAutoHide=False\r\nAlwaysOnTop=False\r\n"
                               "ShowOnDesktop=True\r\n"
                               "[Paths]\r\nCount=3\r\n"
                               "Path_1=C:\\One|*.lnk|-1|True|True\r\n"
                               "Path_2=C:\\Two||2|False|True\r\n"
                               "Path_3=C:\\Three|*.exe|0|True|False\r\n";

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    ::SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

bool StartsWith(const std::wstring& text, const std::wstring& start) {
    return text.rfind(start, 0) == 0;
}

void Key(HWND target, UINT key) {
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
}

class SettingsDialogTest : public LauncherTest {
protected:
    ui::SettingsWindow& Dialog() { return App().SettingsDialog(); }
    HWND Ctl(int control) { return Dialog().Control(control); }
    HWND Check(SettingsCheck check) { return Ctl(id::FirstCheck + int(check)); }
    bool Ticked(HWND box) { return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    ui::PathGrid& Grid() { return Dialog().Paths(); }

    static ModalScript::Step Shown() {
        return [] { return VisibleWindow(ui::kSettingsClass) != nullptr; };
    }
    static ModalScript::Step EditorShown() {
        return [] { return VisibleWindow(ui::kSettingsPathClass) != nullptr; };
    }
    static ModalScript::Step EditorGone() {
        return [] { return VisibleWindow(ui::kSettingsPathClass) == nullptr; };
    }
    ModalScript::Step Click(int control) {
        return Do([this, control] { ::PostMessageW(Ctl(control), BM_CLICK, 0, 0); });
    }
    ModalScript::Step Page(SettingsPage page) {
        return Do([this, page] { Dialog().SelectPage(page); });
    }
    // The menu command as its item sends it.
    ModalScript::Step PathMenu(int tag) {
        return Do([this, tag] {
            ::PostMessageW(Dialog().Handle(), WM_COMMAND, WPARAM(id::PathMenu + tag), 0);
        });
    }
    ModalScript::Step SelectRow(int row) {
        return Do([this, row] {
            Grid().SelectRow(row);
            ::SetFocus(Grid().Handle());
        });
    }
    // The grid's menu as the menu key opens it.
    ModalScript::Step PathMenuKey() {
        return Do([this] {
            ::PostMessageW(Grid().Handle(), WM_CONTEXTMENU, WPARAM(Grid().Handle()),
                           MAKELPARAM(-1, -1));
        });
    }
    // Once the path menu is up: its items into `into`, then Esc.
    ModalScript::Step ReadPathMenu(std::vector<std::wstring>& into) {
        return [this, &into] {
            const HWND popup = VisibleWindow(L"#32768");
            if (!popup)
                return false;
            into = MenuItems(Dialog().PathMenu());
            Key(popup, VK_ESCAPE);
            return true;
        };
    }
    static ModalScript::Step MenuGone() {
        return [] { return VisibleWindow(L"#32768") == nullptr; };
    }
    // Opens through the tray menu and returns when the dialog has closed.
    void OpenFromTray() { Main().TrayCommand(2); }

    std::vector<std::wstring> GridRows() {
        std::vector<std::wstring> rows;
        for (std::ptrdiff_t row = 0; row < Grid().ItemsCount(); ++row)
            rows.push_back((Grid().Checked(row) ? L"[x] " : L"[ ] ") + Grid().CellText(row, 1) +
                           L" | " + Grid().CellText(row, 2));
        return rows;
    }
};

// --- the routes -----------------------------------------------------------------------------

struct Route {
    const char* name;
    StartMode mode;
    void (*open)(SettingsDialogTest& test);
};

class SettingsRouteTest : public SettingsDialogTest, public ::testing::WithParamInterface<Route> {
public:
    // The routes reach the protected members of the fixture through these.
    void PressF12() {
        Search().ShowSearch();
        Pump();
        Press(Run().Edit(), VK_F12);
    }
    void TrayOptions() { Main().TrayCommand(2); }
    void SecondStartMessage() {
        ::SendMessageW(Main().Handle(), kOpenOptionsMessage, kOpenOptionsWParam,
                       kOpenOptionsLParam);
    }
    void WaitForTimer() { Pump(1500); }
};

void OpenByKey(SettingsDialogTest& test) {
    static_cast<SettingsRouteTest&>(test).PressF12();
}
void OpenByTray(SettingsDialogTest& test) {
    static_cast<SettingsRouteTest&>(test).TrayOptions();
}
void OpenByMessage(SettingsDialogTest& test) {
    static_cast<SettingsRouteTest&>(test).SecondStartMessage();
}
void OpenByOptionsStart(SettingsDialogTest& test) {
    static_cast<SettingsRouteTest&>(test).WaitForTimer();
}

TEST_P(SettingsRouteTest, OpensOverTheShownSearchWindowWithItsTextsAndControls) {
    const Route& route = GetParam();
    WriteOptions(kThreePaths);
    Start(route.mode);
    bool searchVisible = false;
    bool searchHasCloseBox = true;
    std::vector<std::wstring> trayMenu;
    std::vector<std::wstring> texts;
    std::vector<std::wstring> tabs;
    std::vector<bool> enabled;
    LRESULT languages = 0;
    std::wstring firstLanguage;
    LRESULT firstCode = 0;
    std::wstring chosenLanguage;
    std::vector<std::wstring> rows;
    RECT client{};
    int opened = 0;
    ModalScript script({
        Shown(),
        Do([&] {
            ++opened;
            searchVisible = Search().Visible();
            searchHasCloseBox =
                (::GetWindowLongPtrW(Search().Handle(), GWL_STYLE) & WS_SYSMENU) != 0;
            trayMenu = MenuItems(Main().PrepareTrayMenu());
            // A second request while the dialog is up changes nothing and does not wait.
            ::SendMessageW(Main().Handle(), kOpenOptionsMessage, kOpenOptionsWParam,
                           kOpenOptionsLParam);
            texts.push_back(TextOf(Dialog().Handle()));
            for (const int control :
                 {id::Ok, id::Cancel, id::Rescan, id::LanguageLabel, id::HotKeyLabel})
                texts.push_back(TextOf(Ctl(control)));
            for (int check = 0; check < 8; ++check) {
                texts.push_back(TextOf(Ctl(id::FirstCheck + check)));
                enabled.push_back(::IsWindowEnabled(Ctl(id::FirstCheck + check)) != FALSE);
            }
            for (int tab = 0; tab < 3; ++tab)
                tabs.push_back(TabCaption(Dialog().PageControl(), tab));
            const HWND language = Ctl(id::Language);
            languages = ::SendMessageW(language, CB_GETCOUNT, 0, 0);
            wchar_t name[64] = {};
            ::SendMessageW(language, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(name));
            firstLanguage = name;
            firstCode = ::SendMessageW(language, CB_GETITEMDATA, 0, 0);
            chosenLanguage = TextOf(language);
            rows = GridRows();
            ::GetClientRect(Dialog().Handle(), &client);
        }),
        Click(id::Cancel),
    });
    route.open(*this);
    EXPECT_TRUE(script.Finished()) << route.name;
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(Dialog().Visible());
    EXPECT_TRUE(searchVisible);
    // Only the search window's own command takes away its close box, until the dialog ends.
    EXPECT_EQ(searchHasCloseBox, route.open != OpenByKey);
    EXPECT_TRUE(::GetWindowLongPtrW(Search().Handle(), GWL_STYLE) & WS_SYSMENU);
    EXPECT_EQ(trayMenu, (std::vector<std::wstring>{L"Hide", L"-", L"Options (grey)", L"Exit"}));
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Options", L"Ok", L"Cancel", L"Rebuild",
                                                L"Language:", L"Hot key:", L"Always visible",
                                                L"Auto hide", L"Always on top", L"Auto center",
                                                L"Show on desktop", L"Portable mode",
                                                L"Auto update catalog", L"Show tray icon"}));
    EXPECT_EQ(enabled, (std::vector<bool>{true, true, true, true, false, false, true, true}));
    EXPECT_EQ(tabs, (std::vector<std::wstring>{L"General settings", L"Catalog", L"Status"}));
    EXPECT_EQ(languages, 204);
    EXPECT_EQ(firstLanguage, L"Default");
    EXPECT_EQ(firstCode, 1);
    EXPECT_EQ(chosenLanguage, L"Default");
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"[x] C:\\One | *.lnk", L"[x] C:\\Two | ",
                                               L"[ ] C:\\Three | *.exe"}));
    if (At96Dpi(Dialog().Handle())) {
        EXPECT_EQ(client.right, 446);
        EXPECT_EQ(client.bottom, 291);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Routes, SettingsRouteTest,
    ::testing::Values(Route{"SettingsKey", StartMode::Resident, OpenByKey},
                      Route{"TrayMenu", StartMode::Resident, OpenByTray},
                      Route{"SecondStart", StartMode::Resident, OpenByMessage},
                      Route{"OptionsStart", StartMode::OpenOptions, OpenByOptionsStart}),
    [](const ::testing::TestParamInfo<Route>& route) { return std::string(route.param.name); });

// --- the General tab --------------------------------------------------------------------------

TEST_F(SettingsDialogTest, OkAppliesTheGeneralTabAtOnceAndSavesIt) {
    WriteOptions("[Global]\r\nLanguage=1\r\nHotKey=32800\r\n"
                 "[Form]\r\nAutoHide=False\r\nAlwaysOnTop=False\r\nAutoCenter=True\r\n"
                 "ShowOnDesktop=True\r\n[Paths]\r\nCount=0\r\n");
    Start();
    std::vector<std::wstring> presets;
    std::vector<std::wstring> pathMenu;
    LRESULT entry = 0;
    bool showOnDesktop = false;
    ModalScript script({
        Shown(),
        Do([&] {
            showOnDesktop = Ticked(Check(SettingsCheck::ShowOnDesktop));
            ::PostMessageW(Check(SettingsCheck::AlwaysOnTop), BM_CLICK, 0, 0);
            ::PostMessageW(Check(SettingsCheck::AutoCenter), BM_CLICK, 0, 0);
            // The disabled box does not change.
            ::PostMessageW(Check(SettingsCheck::ShowOnDesktop), BM_CLICK, 0, 0);
            const HWND language = Ctl(id::Language);
            for (LRESULT i = 0; i < ::SendMessageW(language, CB_GETCOUNT, 0, 0); ++i)
                if (::SendMessageW(language, CB_GETITEMDATA, WPARAM(i), 0) == 1031)
                    ::SendMessageW(language, CB_SETCURSEL, WPARAM(i), 0);
            // The presets are the hot-key entry's context menu.
            RECT box;
            ::GetWindowRect(Ctl(id::HotKey), &box);
            ::PostMessageW(Ctl(id::HotKey), WM_CONTEXTMENU, WPARAM(Ctl(id::HotKey)),
                           MAKELPARAM(box.left + 5, box.top + 5));
        }),
        [&] {
            const HWND menu = VisibleWindow(L"#32768");
            if (!menu)
                return false;
            presets = MenuItems(Dialog().HotKeyMenu());
            for (int i = 0; i < 3; ++i)
                Key(menu, VK_DOWN);
            Key(menu, VK_RETURN);
            return true;
        },
        MenuGone(),
        Do([&] { entry = ::SendMessageW(Ctl(id::HotKey), HKM_GETHOTKEY, 0, 0); }),
        // With no catalog paths, Delete and Edit are greyed.
        Page(SettingsPage::Catalog),
        PathMenuKey(),
        ReadPathMenu(pathMenu),
        MenuGone(),
        Click(id::Ok),
    });
    OpenFromTray();
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(showOnDesktop);
    EXPECT_EQ(presets, (std::vector<std::wstring>{L"Ctrl+Space", L"Alt+Space", L"Ctrl+Alt+Space"}));
    EXPECT_EQ(entry, 0x0620); // Space with the control's Ctrl and Alt flags
    EXPECT_EQ(pathMenu,
              (std::vector<std::wstring>{L"Add", L"Delete (grey)", L"-", L"Edit (grey)"}));

    // In effect at once: stay-on-top and the hot key, without a restart.
    const SettingsOptions& now = CurrentOptions();
    EXPECT_TRUE(now.alwaysOnTop);
    EXPECT_FALSE(now.autoCenter);
    EXPECT_TRUE(now.showOnDesktop);
    EXPECT_EQ(now.language, 1031);
    EXPECT_EQ(now.hotKey, 49184);
    EXPECT_TRUE(::GetWindowLongPtrW(Search().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(ui::HotKeyShortCut(), 49184);
    EXPECT_TRUE(ui::MainHotKeyRegistered());
    // And saved, as the close command would save them.
    const std::string ini = IniText(temp_.Read(OptionsFile()));
    EXPECT_NE(ini.find("HotKey=49184"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Language=1031"), std::string::npos);
    EXPECT_NE(ini.find("AlwaysOnTop=True"), std::string::npos);
    EXPECT_NE(ini.find("ShowOnDesktop=True"), std::string::npos);
    EXPECT_FALSE(temp_.Read(CatalogFileName(OptionsFile())).empty());
}

// The order box is stored with OK like the others; Forget acts at once, before OK or Cancel,
// and clears what was learned in memory and in its file.
TEST_F(SettingsDialogTest, TheOrderBoxIsSavedAndForgetClearsWhatWasLearned) {
    WriteOptions("[Global]\r\nLanguage=1\r\nHotKey=32800\r\n[Paths]\r\nCount=0\r\n");
    Start();
    App().Catalog().RecordLaunch("ed", "Edge", "C:\\Menu\\Edge.lnk");
    ASSERT_NE(temp_.Read(LaunchMemoryFileName(OptionsFile())).find("Edge"), std::string::npos);
    bool tickedBefore = true;
    bool forgetBefore = false;
    bool forgetAfter = true;
    bool tickedAfter = false;
    std::wstring caption;
    ModalScript script({
        Shown(),
        Do([&] {
            tickedBefore = Ticked(Check(SettingsCheck::OrderByRelevance));
            forgetBefore = ::IsWindowEnabled(Ctl(id::Forget)) != FALSE;
            caption = TextOf(Ctl(id::Forget));
            ::PostMessageW(Check(SettingsCheck::OrderByRelevance), BM_CLICK, 0, 0);
            ::PostMessageW(Ctl(id::Forget), BM_CLICK, 0, 0);
        }),
        [&] {
            if (!App().Catalog().Memory().Empty())
                return false;
            forgetAfter = ::IsWindowEnabled(Ctl(id::Forget)) != FALSE;
            tickedAfter = Ticked(Check(SettingsCheck::OrderByRelevance));
            return true;
        },
        Click(id::Ok),
    });
    OpenFromTray();
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(tickedBefore);
    EXPECT_TRUE(forgetBefore);
    EXPECT_FALSE(forgetAfter);
    EXPECT_TRUE(tickedAfter);
    EXPECT_EQ(caption, L"Forget");
    EXPECT_EQ(CurrentOptions().order, ResultOrder::Relevance);
    EXPECT_NE(IniText(temp_.Read(OptionsFile())).find("[Search]\r\nOrder=Relevance"),
              std::string::npos);
    EXPECT_EQ(temp_.Read(LaunchMemoryFileName(OptionsFile())).find("Edge"), std::string::npos);
}

TEST_F(SettingsDialogTest, AHotKeyAnotherProgramHoldsIsStoredAndReported) {
    WriteOptions("[Global]\r\nHotKey=32800\r\n[Form]\r\nAutoHide=False\r\n");
    Start();
    // Ctrl+Alt+Space belongs to someone else.
    ASSERT_TRUE(::RegisterHotKey(nullptr, 0xB000, MOD_CONTROL | MOD_ALT, VK_SPACE));
    std::wstring warning;
    ModalScript script({
        Shown(),
        Do([&] { Dialog().ChooseHotKeyPreset(2); }),
        Click(id::Ok),
        [&] {
            const HWND dialog = VisibleWindow(L"#32770", L"Warning");
            if (!dialog)
                return false;
            warning = TextOf(::GetDlgItem(dialog, 100));
            ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            return true;
        },
    });
    OpenFromTray();
    ::UnregisterHotKey(nullptr, 0xB000);
    EXPECT_TRUE(script.Finished());
    // Named as the keyboard layout names the key.
    const std::wstring named = win32::Wide(ShortCutText(49184, platform::KeyNames()));
    EXPECT_NE(warning.find(L" " + named + L","), std::wstring::npos) << warning;
    EXPECT_EQ(CurrentOptions().hotKey, 49184);
    EXPECT_FALSE(ui::MainHotKeyRegistered());
    EXPECT_NE(IniText(temp_.Read(OptionsFile())).find("HotKey=49184"), std::string::npos);
}

TEST_F(SettingsDialogTest, CtrlTabSwitchesPagesAndTabEntersThePageShown) {
    WriteOptions(kThreePaths);
    Start();
    std::vector<SettingsPage> pages;
    std::vector<HWND> focus;
    const auto ctrlKey = [](HWND target, UINT key, bool shift = false) {
        return Do([target, key, shift] {
            BYTE state[256] = {};
            ::GetKeyboardState(state);
            state[VK_CONTROL] = 0x80;
            state[VK_SHIFT] = shift ? 0x80 : 0;
            ::SetKeyboardState(state);
            Key(target, key);
        });
    };
    const auto release = [] {
        return Do([] {
            BYTE state[256] = {};
            ::GetKeyboardState(state);
            state[VK_CONTROL] = 0;
            state[VK_SHIFT] = 0;
            ::SetKeyboardState(state);
        });
    };
    ModalScript script({
        Shown(),
        ctrlKey(Ctl(id::Ok), VK_TAB),
        Do([&] {
            pages.push_back(Dialog().ActivePage());
            focus.push_back(::GetFocus());
        }),
        ctrlKey(Dialog().PageControl(), VK_NEXT),
        Do([&] { pages.push_back(Dialog().ActivePage()); }),
        ctrlKey(Dialog().PageControl(), VK_TAB, true),
        release(),
        Do([&] {
            pages.push_back(Dialog().ActivePage());
            Key(Dialog().PageControl(), VK_TAB);
        }),
        Do([&] { focus.push_back(::GetFocus()); }),
        Click(id::Cancel),
    });
    OpenFromTray();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(pages, (std::vector<SettingsPage>{SettingsPage::Catalog, SettingsPage::Status,
                                                SettingsPage::Catalog}));
    ASSERT_EQ(focus.size(), 2u);
    EXPECT_EQ(focus[0], Dialog().PageControl());
    EXPECT_EQ(focus[1], Grid().Handle());
}

// --- the catalog paths ------------------------------------------------------------------------

TEST_F(SettingsDialogTest, CancelDropsFlippedAndDeletedPathsAndEveryOtherChange) {
    WriteOptions(kThreePaths);
    const std::string written = temp_.Read(OptionsFile());
    Start();
    bool flipped = true;
    std::vector<std::wstring> afterDelete;
    std::ptrdiff_t selectedAfterDelete = -1;
    std::vector<std::wstring> lastDeleted;
    ModalScript script({
        Shown(),
        Do([&] { ::PostMessageW(Check(SettingsCheck::AlwaysOnTop), BM_CLICK, 0, 0); }),
        Page(SettingsPage::Catalog),
        SelectRow(1),
        // Space flips the focused row's box, which flips that path's flag in the copy.
        Do([&] { Key(Grid().Handle(), VK_SPACE); }),
        Do([&] { flipped = Dialog().Model().Options().catalog.paths[1].active; }),
        PathMenu(PathMenuTag::Delete),
        [] {
            const HWND question = VisibleWindow(L"#32770", L"Question");
            if (question)
                ::PostMessageW(question, WM_COMMAND, IDYES, 0);
            return question != nullptr;
        },
        [&] {
            if (VisibleWindow(L"#32770"))
                return false;
            afterDelete = GridRows();
            selectedAfterDelete = Grid().ItemFocusedRow();
            return true;
        },
        // The last row: the new last one is selected.
        PathMenu(PathMenuTag::Delete),
        [] {
            const HWND question = VisibleWindow(L"#32770", L"Question");
            if (question)
                ::PostMessageW(question, WM_COMMAND, IDYES, 0);
            return question != nullptr;
        },
        [&] {
            if (VisibleWindow(L"#32770"))
                return false;
            lastDeleted = GridRows();
            return Grid().ItemIsSelected() && Grid().ItemFocusedRow() == 0;
        },
        // Esc is Cancel.
        Do([&] { Key(Grid().Handle(), VK_ESCAPE); }),
    });
    OpenFromTray();
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(flipped);
    EXPECT_EQ(afterDelete,
              (std::vector<std::wstring>{L"[x] C:\\One | *.lnk", L"[ ] C:\\Three | *.exe"}));
    EXPECT_EQ(selectedAfterDelete, 1); // the row that followed the deleted one
    EXPECT_EQ(lastDeleted, (std::vector<std::wstring>{L"[x] C:\\One | *.lnk"}));
    EXPECT_FALSE(Dialog().Visible());
    const SettingsOptionsCatalogPaths& paths = CurrentOptions().catalog.paths;
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_TRUE(paths[1].active);
    EXPECT_EQ(paths[1].path, "C:\\Two");
    EXPECT_FALSE(CurrentOptions().alwaysOnTop);
    EXPECT_EQ(temp_.Read(OptionsFile()), written);
}

TEST_F(SettingsDialogTest, ARowFindsItsPathHoweverTheGridIsSorted) {
    WriteOptions(kThreePaths);
    Start();
    std::vector<std::wstring> sorted;
    std::vector<bool> active;
    ModalScript script({
        Shown(),
        Page(SettingsPage::Catalog),
        // A click on the Path header sorts by it: One, Three, Two.
        Do([&] {
            const LPARAM header = MAKELPARAM(60, 9);
            ::PostMessageW(Grid().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, header);
            ::PostMessageW(Grid().Handle(), WM_LBUTTONUP, 0, header);
        }),
        SelectRow(1),
        Do([&] {
            sorted = GridRows();
            Key(Grid().Handle(), VK_SPACE); // flips the second row's box: C:\Three
        }),
        Do([&] {
            for (const SettingsOptionsCatalogPath& path : Dialog().Model().Options().catalog.paths)
                active.push_back(path.active);
        }),
        Click(id::Cancel),
    });
    OpenFromTray();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(sorted, (std::vector<std::wstring>{L"[x] C:\\One | *.lnk", L"[ ] C:\\Three | *.exe",
                                                 L"[x] C:\\Two | "}));
    EXPECT_EQ(active, (std::vector<bool>{true, true, true}));
}

TEST_F(SettingsDialogTest, PathsAreAddedAndEditedThroughTheEditor) {
    WriteOptions(kThreePaths);
    Start();
    std::vector<std::wstring> afterAdd;
    std::ptrdiff_t selectedAfterAdd = -1;
    std::ptrdiff_t selectedAfterCancel = -1;
    std::wstring editedPath;
    std::vector<std::wstring> menu;
    const auto editorItem = [](int control) {
        return ::GetDlgItem(VisibleWindow(ui::kSettingsPathClass), control);
    };
    ModalScript script({
        Shown(),
        Page(SettingsPage::Catalog),
        PathMenu(PathMenuTag::Add),
        EditorShown(),
        Do([&] {
            ::SetWindowTextW(editorItem(ui::PathEditorId::Path), L"D:\\Data");
            ::PostMessageW(editorItem(ui::PathEditorId::UnlimitedDepth), BM_CLICK, 0, 0);
        }),
        Do([&] { ::SetWindowTextW(editorItem(ui::PathEditorId::Depth), L"3"); }),
        Do([&] { ::PostMessageW(editorItem(ui::PathEditorId::Ok), BM_CLICK, 0, 0); }),
        EditorGone(),
        Do([&] {
            afterAdd = GridRows();
            selectedAfterAdd = Grid().ItemFocusedRow();
        }),
        // Add, then Cancel in the editor: nothing added, the first row selected.
        PathMenu(PathMenuTag::Add),
        EditorShown(),
        Do([&] { ::PostMessageW(editorItem(ui::PathEditorId::Cancel), BM_CLICK, 0, 0); }),
        EditorGone(),
        Do([&] { selectedAfterCancel = Grid().ItemFocusedRow(); }),
        // Enter on a row edits it, as a double-click does.
        SelectRow(2),
        Do([&] { Key(Grid().Handle(), VK_RETURN); }),
        EditorShown(),
        Do([&] {
            editedPath = TextOf(editorItem(ui::PathEditorId::Path));
            ::PostMessageW(editorItem(ui::PathEditorId::Active), BM_CLICK, 0, 0);
        }),
        Do([&] { ::PostMessageW(editorItem(ui::PathEditorId::Ok), BM_CLICK, 0, 0); }),
        EditorGone(),
        PathMenuKey(),
        ReadPathMenu(menu),
        MenuGone(),
        Click(id::Ok),
    });
    OpenFromTray();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(afterAdd, (std::vector<std::wstring>{L"[x] C:\\One | *.lnk", L"[x] C:\\Two | ",
                                                   L"[ ] C:\\Three | *.exe", L"[x] D:\\Data | "}));
    EXPECT_EQ(selectedAfterAdd, 3);
    EXPECT_EQ(selectedAfterCancel, 0);
    EXPECT_EQ(editedPath, L"C:\\Three");
    EXPECT_EQ(menu, (std::vector<std::wstring>{L"Add", L"Delete", L"-", L"Edit"}));
    const SettingsOptionsCatalogPaths& paths = CurrentOptions().catalog.paths;
    ASSERT_EQ(paths.size(), 4u);
    EXPECT_TRUE(paths[2].active);
    EXPECT_EQ(paths[3].path, "D:\\Data");
    EXPECT_EQ(paths[3].depth, 3);
    EXPECT_TRUE(paths[3].includeDirectories);
    EXPECT_TRUE(paths[3].active);
    const std::string ini = IniText(temp_.Read(OptionsFile()));
    EXPECT_NE(ini.find("Path_4=D:\\Data||3|True|True"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Path_3=C:\\Three|*.exe|0|True|True"), std::string::npos);
}

// --- rebuilding -------------------------------------------------------------------------------

class RebuildTest : public SettingsDialogTest {
protected:
    // A tree of `folders` folders with `files` text files each, below one root, and options
    // whose one catalog path is that root; the current catalog holds two old entries.
    void MakeTree(int folders, int files) {
        const std::wstring root = win32::Wide(temp_.Path("tree"));
        ::CreateDirectoryW(root.c_str(), nullptr);
        for (int f = 0; f < folders; ++f) {
            const std::wstring group = root + L"\\" + std::to_wstring(f / 10);
            ::CreateDirectoryW(group.c_str(), nullptr);
            const std::wstring folder = group + L"\\" + std::to_wstring(f);
            ::CreateDirectoryW(folder.c_str(), nullptr);
            for (int i = 0; i < files; ++i) {
                const std::wstring file = folder + L"\\file" + std::to_wstring(i) + L".txt";
                ::CloseHandle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
            }
        }
        WriteOptions("[Form]\r\nAutoHide=False\r\n[Paths]\r\nCount=1\r\nPath_1=" +
                     temp_.Path("tree") + "|*.txt|-1|False|True\r\n");
        WriteCatalog({{"C:\\old\\one.exe", "one", 0}, {"C:\\old\\two.exe", "two", 0}});
    }
    std::wstring Progress() { return TextOf(Ctl(id::Progress)); }
};

TEST_F(RebuildTest, ARebuildShowsItsProgressCannotBeClosedAndIsDroppedByCancel) {
    MakeTree(20, 15);
    Start();
    std::wstring before;
    std::vector<std::wstring> running;
    bool okEnabled = true, cancelEnabled = true, closeBox = true, waiterShown = false;
    std::wstring stopCaption;
    std::wstring after;
    bool okAfter = false, closeBoxAfter = false, waiterAfter = true;
    std::wstring rebuildCaption;
    ModalScript script({
        Shown(),
        Page(SettingsPage::Status),
        Do([&] { before = Progress(); }),
        Click(id::Rescan),
        [&] {
            const std::wstring text = Progress();
            if (!StartsWith(text, L"Rebuilding new catalog."))
                return false;
            running.push_back(text);
            okEnabled = ::IsWindowEnabled(Ctl(id::Ok)) != FALSE;
            cancelEnabled = ::IsWindowEnabled(Ctl(id::Cancel)) != FALSE;
            closeBox = (::GetWindowLongPtrW(Dialog().Handle(), GWL_STYLE) & WS_SYSMENU) != 0;
            stopCaption = TextOf(Ctl(id::Rescan));
            waiterShown =
                ::IsWindowVisible(Dialog().Waiter().Handle()) && Dialog().Waiter().Active();
            // Neither the close box's message nor Esc ends the dialog now.
            ::PostMessageW(Dialog().Handle(), WM_CLOSE, 0, 0);
            Key(Ctl(id::Rescan), VK_ESCAPE);
            return true;
        },
        [&] {
            const std::wstring text = Progress();
            if (StartsWith(text, L"Rebuilding new catalog.")) {
                if (running.back() != text)
                    running.push_back(text);
                return false;
            }
            after = text;
            okAfter = ::IsWindowEnabled(Ctl(id::Ok)) != FALSE;
            closeBoxAfter = (::GetWindowLongPtrW(Dialog().Handle(), GWL_STYLE) & WS_SYSMENU) != 0;
            rebuildCaption = TextOf(Ctl(id::Rescan));
            waiterAfter = ::IsWindowVisible(Dialog().Waiter().Handle()) != FALSE;
            return true;
        },
        Click(id::Cancel),
    });
    OpenFromTray();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(before, L"Catalog has 2 items.\r\n\r\nLast rebuild: -");
    ASSERT_FALSE(running.empty());
    EXPECT_NE(running.front().find(L"\r\n\r\nCatalog items: "), std::wstring::npos);
    EXPECT_NE(running.front().find(L"\r\n\r\nScanning folder: "), std::wstring::npos);
    EXPECT_FALSE(okEnabled);
    EXPECT_FALSE(cancelEnabled);
    EXPECT_FALSE(closeBox);
    EXPECT_TRUE(waiterShown);
    EXPECT_EQ(stopCaption, L"Stop");
    // The new catalog in the copy: every file, and a rebuild time.
    EXPECT_TRUE(StartsWith(after, L"Catalog has 300 items.\r\n\r\nLast rebuild: ")) << after;
    EXPECT_EQ(after.find(L"Last rebuild: -"), std::wstring::npos);
    EXPECT_TRUE(okAfter);
    EXPECT_TRUE(closeBoxAfter);
    EXPECT_FALSE(waiterAfter);
    EXPECT_EQ(rebuildCaption, L"Rebuild");
    // Cancel threw it away.
    EXPECT_EQ(CurrentOptions().catalog.items.size(), 2u);
    EXPECT_EQ(CurrentOptions().catalog.lastRebuild, 0.0);

    // Again, and OK: the new catalog takes effect and is saved.
    ModalScript again({Shown(), Page(SettingsPage::Status), Click(id::Rescan),
                       [&] { return StartsWith(Progress(), L"Catalog has 300 items."); },
                       Click(id::Ok)});
    OpenFromTray();
    EXPECT_TRUE(again.Finished());
    EXPECT_EQ(CurrentOptions().catalog.items.size(), 300u);
    EXPECT_GT(CurrentOptions().catalog.lastRebuild, 0.0);
    SettingsOptions saved = CurrentOptions();
    saved.catalog.items = {};
    EXPECT_TRUE(LoadCatalog(saved, services_.catalog));
    EXPECT_EQ(saved.catalog.items.size(), 300u);
}

TEST_F(RebuildTest, StopEndsTheScanAtOnceAndKeepsTheOldCatalog) {
    MakeTree(100, 5);
    Start();
    std::vector<std::wstring> running;
    std::wstring caption;
    std::wstring status;
    bool scanning = true;
    bool okEnabled = false;
    ModalScript script({
        Shown(),
        Page(SettingsPage::Status),
        Click(id::Rescan),
        // Two readings while it runs, the second after more folders.
        [&] {
            const std::wstring text = Progress();
            if (!StartsWith(text, L"Rebuilding new catalog."))
                return false;
            if (running.empty() || running.back() != text)
                running.push_back(text);
            return running.size() >= 2;
        },
        Click(id::Rescan),
        Do([&] {
            caption = TextOf(Ctl(id::Rescan));
            status = Progress();
            scanning = Dialog().Model().Rebuilding();
            okEnabled = ::IsWindowEnabled(Ctl(id::Ok)) != FALSE;
        }),
        Click(id::Ok),
    });
    OpenFromTray();
    EXPECT_TRUE(script.Finished());
    ASSERT_GE(running.size(), 2u);
    EXPECT_NE(running[0], running[1]);
    EXPECT_EQ(caption, L"Rebuild");
    EXPECT_EQ(status, L"Catalog has 2 items.\r\n\r\nLast rebuild: -");
    EXPECT_FALSE(scanning);
    EXPECT_TRUE(okEnabled);
    // OK after a stopped rebuild keeps the old catalog.
    EXPECT_EQ(CurrentOptions().catalog.items.size(), 2u);
    EXPECT_EQ(CurrentOptions().catalog.lastRebuild, 0.0);
}

TEST_F(RebuildTest, TheQuitMessageDuringARebuildEndsTheScanAndTheDialog) {
    MakeTree(100, 5);
    Start();
    ModalScript script({
        Shown(),
        Page(SettingsPage::Status),
        Click(id::Rescan),
        [&] {
            if (!StartsWith(Progress(), L"Rebuilding new catalog."))
                return false;
            // The installer's stop, or the tray menu's Exit.
            ::PostQuitMessage(0);
            return true;
        },
    });
    OpenFromTray();
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(Dialog().Visible());
    EXPECT_FALSE(Dialog().Model().Rebuilding());
    EXPECT_FALSE(Dialog().Model().IsOpen());
    EXPECT_EQ(CurrentOptions().catalog.items.size(), 2u);
    // The quit message is there again for the program's own loop.
    EXPECT_FALSE(Pump());
}

} // namespace
} // namespace orvan::testing
