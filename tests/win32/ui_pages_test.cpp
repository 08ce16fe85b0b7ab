// The Quick, Notes and Clipboard pages driven in-process: pinning from the run page and
// starting pinned entries through the run page's launch path, the notes file's saving and
// its read-only cases, the clipboard listener with the privacy markers and the kept history.
#include "ui_fixture.h"

#include "core/base/file_result.h"
#include "core/language/language.h"
#include "core/pages/clipboard_history.h"
#include "core/pages/notes.h"
#include "core/ui/search_layout.h"
#include "ui/clipboard.h"

#include <cstring>

namespace orvan::testing {
namespace {

using search_layout::Tab;

class PagesTest : public LauncherTest {
protected:
    void SetUp() override {
        WriteCatalog({{"C:\\nowhere-at-all\\ghost.exe", "Ghost", 0},
                      {"C:\\nowhere-at-all\\alpha.exe", "Alpha", 0},
                      {"C:\\nowhere-at-all\\beta.exe", "", 0}});
        WriteOptions("[Form]\r\nAutoHide=False\r\n");
        Start(StartMode::ShowSearch);
    }

    ui::QuickTab& Quick() { return Search().Quick(); }
    ui::NotesTab& Notes() { return Search().Notes(); }
    ui::ClipboardTab& Clipboard() { return Search().Clipboard(); }
    std::string Ini() const { return IniText(temp_.Read(OptionsFile())); }

    void Pin(const std::wstring& typed) {
        Search().ShowPage(int(Tab::Run));
        SetInput(typed);
        Press(Run().Edit(), 'D', true);
    }
    // The page as the robot's page commands and Ctrl+Tab show it.
    void Show(Tab tab) {
        Search().ShowPage(int(tab));
        Pump();
    }
    // Waits for a file's content to become `expected`.
    bool FileBecomes(const std::string& path, const std::string& expected, int milliseconds) {
        const ULONGLONG end = ::GetTickCount64() + ULONGLONG(milliseconds);
        while (temp_.Read(path) != expected) {
            if (::GetTickCount64() > end)
                return false;
            Pump(50);
        }
        return true;
    }
};

// Every way to a page puts the focus in its main control: the robot's page commands,
// Ctrl+Tab, a click on the tab (TCN_SELCHANGE) and a tab chosen by TCM_SETCURSEL alone.
TEST_F(PagesTest, EachWayToAPageFocusesItsMainControl) {
    const HWND robot = Search().Robot().Edit();
    struct Case {
        const wchar_t* command;
        Tab tab;
        HWND focus;
    };
    const Case cases[] = {
        {L"run sc_Quick", Tab::Quick, Quick().List()},
        {L"run sc_Note", Tab::Notes, Notes().Edit()},
        {L"run sc_Clipboard", Tab::Clipboard, Clipboard().List()},
    };
    for (const Case& c : cases) {
        Show(Tab::Robot);
        ::SetFocus(robot);
        ::SetWindowTextW(robot, c.command);
        Press(robot, VK_RETURN);
        EXPECT_EQ(Search().ActiveTab(), c.tab) << win32::Narrow(c.command);
        EXPECT_EQ(::GetFocus(), c.focus) << win32::Narrow(c.command);
        EXPECT_TRUE(::IsWindowVisible(c.focus));
    }
    Show(Tab::Run);
    Press(Run().Edit(), VK_TAB, true);
    EXPECT_EQ(::GetFocus(), Quick().List());
    Press(Quick().List(), VK_TAB, true);
    EXPECT_EQ(::GetFocus(), Notes().Edit());
    Press(Notes().Edit(), VK_TAB, true);
    EXPECT_EQ(::GetFocus(), Clipboard().List());
    ::SendMessageW(Search().PageControl(), TCM_SETCURSEL, WPARAM(Tab::Notes), 0);
    Pump();
    EXPECT_TRUE(::IsWindowVisible(Notes().Edit()));
    EXPECT_FALSE(::IsWindowVisible(Clipboard().List()));
    EXPECT_EQ(::GetFocus(), Notes().Edit());
}

// --- Quick ------------------------------------------------------------------------------

TEST_F(PagesTest, CtrlDPinsTheRunPagesRowAndThePageListsItFirstSelected) {
    Pin(L"ghost");
    Pin(L"alpha");
    Pin(L"ghost"); // pinned once only
    Pin(L"2+3");   // a calculation starts nothing and is not pinned
    // The window's menu item does what Ctrl+D does.
    SetInput(L"beta");
    const int pinItem = int(::GetMenuItemID(Search().PopupMenu(), 0));
    ::SendMessageW(Search().Handle(), WM_COMMAND, WPARAM(pinItem), 0);
    EXPECT_NE(Ini().find("[Quick]\r\nCount=3\r\nItem_1=C:\\nowhere-at-all\\ghost.exe|Ghost\r\n"
                         "Item_2=C:\\nowhere-at-all\\alpha.exe|Alpha\r\n"
                         "Item_3=C:\\nowhere-at-all\\beta.exe|\r\n"),
              std::string::npos)
        << Ini();
    Show(Tab::Quick);
    EXPECT_EQ(::GetFocus(), Quick().List());
    EXPECT_EQ(Text(Quick().List()), L"Ghost\r\nAlpha\r\nbeta.exe\r\n");
    EXPECT_EQ(::SendMessageW(Quick().List(), LB_GETCURSEL, 0, 0), 0);
    // Its rows are the list box's own strings, for screen readers and other programs.
    wchar_t row[32] = {};
    ::SendMessageW(Quick().List(), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(row));
    EXPECT_STREQ(row, L"Alpha");
}

TEST_F(PagesTest, EnterStartsAPinnedEntryThroughTheRunPagesLaunchPath) {
    Pin(L"ghost");
    Show(Tab::Quick);
    std::wstring shown;
    const UINT_PTR timer = WhenDialogAppears(L"Error", [&](HWND dialog) {
        wchar_t text[256] = {};
        ::GetDlgItemTextW(dialog, 100, text, 256);
        shown = text;
        ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    Press(Quick().List(), VK_RETURN);
    ::KillTimer(nullptr, timer);
    // The shell's failure text, and the path in the run history Ctrl+Down recalls.
    EXPECT_TRUE(shown == L"The specified file was not found." ||
                shown == L"The specified path was not found.")
        << win32::Narrow(shown.c_str());
    EXPECT_EQ(CurrentOptions().runHistory,
              std::vector<std::string>{"C:\\nowhere-at-all\\ghost.exe"});
}

TEST_F(PagesTest, AltAndADigitStartAPinnedEntryFromAnyPage) {
    Pin(L"alpha");
    Pin(L"ghost");
    Show(Tab::Notes);
    const UINT_PTR timer =
        WhenDialogAppears(L"Error", [](HWND dialog) { ::PostMessageW(dialog, WM_CLOSE, 0, 0); });
    Press(Notes().Edit(), '2', false, true);
    Press(Notes().Edit(), '3', false, true); // nothing pinned there
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(CurrentOptions().runHistory,
              std::vector<std::string>{"C:\\nowhere-at-all\\ghost.exe"});
    EXPECT_EQ(Text(Notes().Edit()), L""); // the keys typed nothing
}

TEST_F(PagesTest, DeleteRemovesCtrlArrowsMoveAndTypingFilters) {
    Pin(L"ghost");
    Pin(L"alpha");
    Pin(L"beta");
    Show(Tab::Quick);
    const HWND list = Quick().List();
    EXPECT_EQ(Text(list), L"Ghost\r\nAlpha\r\nbeta.exe\r\n");
    Press(list, VK_DOWN, true);
    EXPECT_EQ(Text(list), L"Alpha\r\nGhost\r\nbeta.exe\r\n");
    EXPECT_EQ(::SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    Press(list, VK_UP, true);
    Press(list, VK_UP, true); // already first
    EXPECT_EQ(Text(list), L"Ghost\r\nAlpha\r\nbeta.exe\r\n");
    // Typing on the list filters by name; Backspace takes the filter back.
    Type(list, L"A");
    EXPECT_EQ(Text(Quick().Filter()), L"A");
    EXPECT_EQ(Text(list), L"Alpha\r\nbeta.exe\r\n");
    Type(list, L"L");
    EXPECT_EQ(Text(list), L"Alpha\r\n");
    Type(list, L"\b\b");
    EXPECT_EQ(Text(list), L"Ghost\r\nAlpha\r\nbeta.exe\r\n");
    ::SendMessageW(list, LB_SETCURSEL, 1, 0);
    Press(list, VK_DELETE);
    EXPECT_EQ(Text(list), L"Ghost\r\nbeta.exe\r\n");
    EXPECT_NE(Ini().find("Count=2\r\nItem_1=C:\\nowhere-at-all\\ghost.exe|Ghost\r\n"
                         "Item_2=C:\\nowhere-at-all\\beta.exe|\r\n"),
              std::string::npos)
        << Ini();
}

// --- Notes ------------------------------------------------------------------------------

TEST_F(PagesTest, TypedNotesAreWrittenAfterAPauseAndNothingUnchangedIsWritten) {
    Show(Tab::Notes);
    EXPECT_EQ(::GetFocus(), Notes().Edit());
    const std::string file = NotesFileName(OptionsFile());
    EXPECT_EQ(Notes().FileName(), file);
    Type(Notes().Edit(), L"first line\r\x20AC");
    ASSERT_TRUE(FileBecomes(file, "first line\r\n\xE2\x82\xAC", 3000));
    // Nothing changed: the file is not written again (removed, it stays away).
    ::DeleteFileW(win32::Wide(file).c_str());
    Pump(1500);
    Search().SavePages();
    EXPECT_EQ(platform::FileStore().ReadWholeFile(file).status, FileContent::Status::Missing);
    // A text set from outside (WM_SETTEXT) counts as typed.
    ::SetWindowTextW(Notes().Edit(), L"set from outside");
    ASSERT_TRUE(FileBecomes(file, "set from outside", 3000));
    ::SetWindowTextW(Notes().Edit(), L"first line\r\n\x20AC");
    ASSERT_TRUE(FileBecomes(file, "first line\r\n\xE2\x82\xAC", 3000));
    // What is typed just before the exit is written at the exit.
    ::SendMessageW(Notes().Edit(), EM_SETSEL, 100, 100);
    Type(Notes().Edit(), L"!");
    Search().SavePages();
    EXPECT_EQ(temp_.Read(file), "first line\r\n\xE2\x82\xAC!");
}

TEST_F(PagesTest, WindowsEndingTheSessionGetsTheNotesWrittenFirst) {
    const std::string file = NotesFileName(OptionsFile());
    Type(Notes().Edit(), L"just typed");
    ::SendMessageW(Main().Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(temp_.Read(file), "just typed"); // no quiet time waited for
}

TEST_F(PagesTest, ANoteThatCannotBeWrittenSaysSoAndIsWrittenOnceItCan) {
    const std::string file = NotesFileName(OptionsFile());
    // A folder in the file's place: every replacement fails.
    ASSERT_TRUE(::CreateDirectoryW(win32::Wide(file).c_str(), nullptr));
    Type(Notes().Edit(), L"waiting");
    const HWND reason = Notes().Reason();
    const ULONGLONG end = ::GetTickCount64() + 5000;
    while (!::IsWindowVisible(reason) && ::GetTickCount64() < end)
        Pump(50);
    EXPECT_EQ(Text(reason), win32::Wide(UnableToWriteText(file)));
    EXPECT_FALSE(::GetWindowLongPtrW(Notes().Edit(), GWL_STYLE) & ES_READONLY);
    // The failed text is written with the next chance, even without a new keystroke.
    ASSERT_TRUE(::RemoveDirectoryW(win32::Wide(file).c_str()));
    Search().SavePages();
    EXPECT_EQ(temp_.Read(file), "waiting");
    Pump(100);
    EXPECT_FALSE(::IsWindowVisible(reason));
}

struct BlockedNotesCase {
    const char* label;
    std::string bytes;
    int reasonId;
};

class BlockedNotes : public LauncherTest, public ::testing::WithParamInterface<BlockedNotesCase> {};

TEST_P(BlockedNotes, AreShownReadOnlyWithTheReasonAndNeverWritten) {
    const std::string file = NotesFileName(OptionsFile());
    temp_.Write(file, GetParam().bytes);
    Start(StartMode::ShowSearch);
    Search().ShowPage(int(Tab::Notes));
    Pump();
    const HWND edit = Search().Notes().Edit();
    EXPECT_TRUE(::GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY) << GetParam().label;
    EXPECT_TRUE(::IsWindowVisible(Search().Notes().Reason()));
    EXPECT_EQ(Text(Search().Notes().Reason()),
              win32::Wide(Languages::TextFmt(GetParam().reasonId, {file})));
    Type(edit, L"typed");
    ::SetWindowTextW(edit, L"set from outside");
    Pump(1500);
    Search().SavePages();
    EXPECT_EQ(temp_.Read(file), GetParam().bytes) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlockedNotes,
    ::testing::Values(BlockedNotesCase{"too large", std::string(kNotesFileLimit + 1, 'n'), 8000104},
                      BlockedNotesCase{"not UTF-8", "caf\xE9 au lait", 8000105}));

// --- Clipboard --------------------------------------------------------------------------

// Puts a text on the clipboard as another program would, with extra formats beside it.
bool PutOnClipboard(const std::wstring& text,
                    const std::vector<std::pair<std::wstring, DWORD>>& extra = {}) {
    if (!::OpenClipboard(nullptr))
        return false;
    ::EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(::GlobalLock(memory), text.c_str(), bytes);
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_UNICODETEXT, memory);
    for (const auto& [format, value] : extra) {
        HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
        std::memcpy(::GlobalLock(data), &value, sizeof(DWORD));
        ::GlobalUnlock(data);
        ::SetClipboardData(::RegisterClipboardFormatW(format.c_str()), data);
    }
    ::CloseClipboard();
    return true;
}

TEST_F(PagesTest, TheListenerRecordsCopiedTextsButNeverPrivateOnes) {
    ASSERT_TRUE(Clipboard().Listening());
    const HWND list = Clipboard().List();
    const std::wstring kExclude = L"ExcludeClipboardContentFromMonitorProcessing";
    const std::wstring kHistory = L"CanIncludeInClipboardHistory";
    struct Case {
        const wchar_t* text;
        std::vector<std::pair<std::wstring, DWORD>> extra;
        const wchar_t* rows; // the page's rows afterwards
    };
    const Case cases[] = {
        {L"first", {}, L"first\r\n"},
        {L"second\r\nline", {}, L"second line\r\nfirst\r\n"},
        {L"secret one", {{kExclude, 0}}, L"second line\r\nfirst\r\n"},
        {L"secret two", {{kHistory, 0}}, L"second line\r\nfirst\r\n"},
        {L"allowed", {{kHistory, 1}}, L"allowed\r\nsecond line\r\nfirst\r\n"},
        {L"first", {}, L"first\r\nallowed\r\nsecond line\r\n"}, // moves to the top
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(PutOnClipboard(c.text, c.extra));
        Pump(300);
        EXPECT_EQ(Text(list), c.rows) << win32::Narrow(c.text);
    }
    // Switching to the page puts the focus in the list, its first row selected.
    Show(Tab::Clipboard);
    EXPECT_EQ(::GetFocus(), list);
    EXPECT_EQ(::SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
}

TEST_F(PagesTest, EnterPutsTheTextBackAndHidesDeleteRemoves) {
    ASSERT_TRUE(PutOnClipboard(L"older"));
    Pump(300);
    ASSERT_TRUE(PutOnClipboard(L"newer"));
    Pump(300);
    Show(Tab::Clipboard);
    const HWND list = Clipboard().List();
    ASSERT_EQ(Text(list), L"newer\r\nolder\r\n");
    Press(list, VK_DOWN);
    Press(list, VK_RETURN);
    EXPECT_FALSE(Search().Visible());
    Pump(300);
    EXPECT_EQ(Text(list), L"older\r\nnewer\r\n"); // back on the clipboard: on top again
    wchar_t text[32] = {};
    ASSERT_TRUE(::OpenClipboard(nullptr));
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        wcsncpy(text, static_cast<const wchar_t*>(::GlobalLock(data)), 31);
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    EXPECT_STREQ(text, L"older");
    Search().ShowSearch();
    Pump();
    ::SendMessageW(list, LB_SETCURSEL, 1, 0);
    ::SetFocus(list);
    Press(list, VK_DELETE);
    EXPECT_EQ(Text(list), L"older\r\n");
}

TEST_F(PagesTest, AKeptHistoryIsWrittenBesideTheOptionsAndTheButtonClearsIt) {
    const std::string file = ClipboardHistoryFileName(OptionsFile());
    ASSERT_TRUE(PutOnClipboard(L"kept"));
    Pump(300);
    // Off by default: nothing on the disk.
    Search().SavePages();
    EXPECT_EQ(platform::FileStore().ReadWholeFile(file).status, FileContent::Status::Missing);
    Show(Tab::Clipboard);
    ::SendMessageW(Clipboard().KeepBox(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_NE(Ini().find("[Clipboard]\r\nKeep=1\r\n"), std::string::npos) << Ini();
    ASSERT_TRUE(FileBecomes(file, "Orvan clipboard history 1\n4 0\nkept\n", 3000));
    ASSERT_TRUE(PutOnClipboard(L"more"));
    ASSERT_TRUE(FileBecomes(file, "Orvan clipboard history 1\n4 0\nmore\n4 0\nkept\n", 3000));
    ::SendMessageW(Clipboard().ClearButton(), BM_CLICK, 0, 0);
    EXPECT_EQ(Text(Clipboard().List()), L"");
    ASSERT_TRUE(FileBecomes(file, "Orvan clipboard history 1\n", 3000));
    // Switched off, the kept file goes.
    ::SendMessageW(Clipboard().KeepBox(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(platform::FileStore().ReadWholeFile(file).status, FileContent::Status::Missing);
}

TEST_F(PagesTest, AKeptHistoryComesBackAtTheNextStart) {
    const std::string file = ClipboardHistoryFileName(OptionsFile());
    app_.reset();
    WriteOptions("[Clipboard]\r\nKeep=1\r\n");
    temp_.Write(file, "Orvan clipboard history 1\n3 0\none\n3 1\ntwo\n");
    Start(StartMode::ShowSearch);
    EXPECT_EQ(Text(Clipboard().List()), L"one\r\ntwo (cut)\r\n");
}

} // namespace
} // namespace orvan::testing
