// The details window: opened modally by the search window's details button for a real
// file, read through its texts and its grid's accessible table, driven by header clicks,
// typing and ticks, copying to the clipboard (also one that another program holds) and
// saving in both encodings, with a failed save reported in the message dialog.
#include "accessible_client.h"
#include "ui_fixture.h"

#include "core/ui/search_layout.h"
#include "ui/details_window.h"
#include "ui/file_dialogs.h"

#include <commctrl.h>

#include <atomic>
#include <thread>

namespace orvan::testing {
namespace {

std::wstring ClipboardText() {
    std::wstring text;
    if (!::OpenClipboard(nullptr))
        return L"<closed>";
    if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = chars;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

RECT ClientRectIn(HWND control, HWND parent) {
    RECT rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// A details text as the search window makes it for a file, with a line the parser must
// skip and a value that holds a colon of its own.
const char* const kDetailsText = "x.exe\r\r"
                                 "File name: C:\\Programs\\x.exe\r"
                                 "File size: 1.00 kB\r"
                                 "a line without a colon\r"
                                 "Comments:  spaced out  ";

class DetailsWindowTest : public LauncherTest {
protected:
    void SetUp() override {
        WriteOptions("[Global]\r\nAutoHide=0\r\n");
        Start(StartMode::ShowSearch);
    }

    // A details window of its own over the search window, shown without a loop of its own.
    std::unique_ptr<ui::DetailsWindow> Open(const std::string& text) {
        auto window = std::make_unique<ui::DetailsWindow>(services_.textFiles);
        EXPECT_TRUE(window->Create(Search().Handle(), text, Run().IconPicture()));
        window->Show();
        Pump();
        return window;
    }

    static void ClickHeader(ui::DetailsWindow& window, int column) {
        const UiRect cell = window.Grid().Model().CellRect(0, column);
        const LPARAM at = MAKELPARAM(cell.left + cell.width / 2, 8);
        ::SendMessageW(window.Grid().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(window.Grid().Handle(), WM_LBUTTONUP, 0, at);
    }
};

TEST_F(DetailsWindowTest, TheDetailsButtonOpensItModallyForTheSelectedFile) {
    temp_.Write(temp_.Path("report.exe"), "not a program, but a file");
    SetInput(win32::Wide(temp_.Path("report.exe")));
    const std::wstring label = Text(Run().Label());
    ASSERT_NE(label.find(L"File name: " + win32::Wide(temp_.Path("report.exe"))),
              std::wstring::npos);
    const std::wstring objectName = label.substr(0, label.find(L'\r'));
    // The search window hides when the program loses the activation; the details window
    // neither counts as losing it nor leaves it lost when it closes.
    CurrentOptions().autoHide = true;

    bool seen = false;
    const UINT_PTR timer = WhenWindowAppears(L"TStatus", L"Details", [&](HWND window) {
        seen = true;
        // Whatever fails below, the window closes, or the modal loop would wait forever.
        struct CloseAnyway {
            HWND window;
            bool armed = true;
            ~CloseAnyway() {
                if (armed)
                    ::PostMessageW(window, WM_CLOSE, 0, 0);
            }
        } closeAnyway{window};
        ui::DetailsWindow* details = App().Details();
        ASSERT_NE(details, nullptr);
        EXPECT_EQ(details->Handle(), window);
        EXPECT_FALSE(::IsWindowEnabled(Search().Handle())); // modal over the search window
        EXPECT_TRUE(Run().DetailsVisible());                // what the auto-hide asks
        EXPECT_EQ(Text(details->Heading()), objectName + L" details");
        EXPECT_EQ(::GetFocus(), details->Grid().Handle());

        // The grid through assistive technology: one ticked row per pair, the first
        // selected.
        const Accessible table = ClientObject(details->Grid().Handle());
        ASSERT_TRUE(table);
        long count = 0;
        table->get_accChildCount(&count);
        EXPECT_EQ(count, long(details->Content().pairs.size()));
        EXPECT_GE(count, 5);
        EXPECT_EQ(AccName(table.get(), 1), L"File name\t" + win32::Wide(temp_.Path("report.exe")));
        VARIANT state;
        table->get_accState(Child(1), &state);
        EXPECT_TRUE(state.lVal & STATE_SYSTEM_SELECTED);
        EXPECT_TRUE(state.lVal & STATE_SYSTEM_CHECKED);
        const std::wstring gridText = Text(details->Grid().Handle());
        EXPECT_NE(gridText.find(L"[x]\tFile extension\texe\r\n"), std::wstring::npos);

        // Esc closes the window (it is the Close button's key), through the window's own
        // loop once this callback returns.
        ::PostMessageW(details->Grid().Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
        closeAnyway.armed = false;
    });
    ::SendMessageW(Run().Handle(), WM_COMMAND, MAKEWPARAM(ui::RunId::Details, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Run().Button(search_layout::kTagDetails)));
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(seen);
    EXPECT_EQ(App().Details(), nullptr);
    EXPECT_TRUE(::IsWindowEnabled(Search().Handle()));
    EXPECT_FALSE(Run().DetailsVisible());
    Pump(100);
    EXPECT_TRUE(Search().Visible());
    EXPECT_EQ(::GetActiveWindow(), Search().Handle());
}

TEST_F(DetailsWindowTest, ItShowsTheTextAsRowsAndLinesUnderItsCaptions) {
    const auto window = Open(kDetailsText);
    EXPECT_EQ(Text(window->Handle()), L"Details");
    EXPECT_EQ(TabCaption(window->PageControl(), 0), L"Details");
    EXPECT_EQ(TabCaption(window->PageControl(), 1), L"As text");
    EXPECT_EQ(Text(window->Button(ui::DetailsId::ToClipboard)), L"To Clipboard");
    EXPECT_EQ(Text(window->Button(ui::DetailsId::Close)), L"Close");
    EXPECT_EQ(Text(window->Heading()), L"x.exe details");
    EXPECT_EQ(Text(window->Memo()), L"File name=C:\\Programs\\x.exe\r\n"
                                    L"File size=1.00 kB\r\n"
                                    L"Comments=spaced out");
    EXPECT_EQ(Text(window->Grid().Handle()), L"*\tName\tValue\r\n"
                                             L"[x]\tFile name\tC:\\Programs\\x.exe\r\n"
                                             L"[x]\tFile size\t1.00 kB\r\n"
                                             L"[x]\tComments\tspaced out\r\n");
    EXPECT_TRUE(window->Grid().Model().ItemIsSelected());
    EXPECT_EQ(window->Grid().Model().ItemFocusedRow(), 0);

    if (!At96Dpi(window->Handle()))
        GTEST_SKIP() << "the layout is checked at 96 DPI";
    RECT client;
    ::GetClientRect(window->Handle(), &client);
    EXPECT_EQ(client.right, 366);
    EXPECT_EQ(client.bottom, 320);
    // Larger, the buttons keep to the bottom right and the grid grows with the window.
    const RECT gridBefore = ClientRectIn(window->Grid().Handle(), window->Handle());
    RECT frame;
    ::GetWindowRect(window->Handle(), &frame);
    ::SetWindowPos(window->Handle(), nullptr, 0, 0, frame.right - frame.left + 100,
                   frame.bottom - frame.top + 50, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    const RECT close = ClientRectIn(window->Button(ui::DetailsId::Close), window->Handle());
    EXPECT_EQ(close.right, 466 - 8);
    EXPECT_EQ(close.bottom, 370 - 8);
    const RECT gridAfter = ClientRectIn(window->Grid().Handle(), window->Handle());
    EXPECT_EQ(gridAfter.right - gridAfter.left, gridBefore.right - gridBefore.left + 100);
    EXPECT_EQ(gridAfter.bottom - gridAfter.top, gridBefore.bottom - gridBefore.top + 50);
}

TEST_F(DetailsWindowTest, SortingTypingAndTicksDecideWhatIsCopied) {
    const auto window = Open(kDetailsText);
    const HWND grid = window->Grid().Handle();
    ClickHeader(*window, 1); // by name: Comments, File name, File size
    Type(grid, L"file s");
    EXPECT_EQ(window->Grid().Model().ItemFocusedRow(), 2);
    Press(grid, VK_ESCAPE); // ends the search; the window stays
    EXPECT_TRUE(window->Visible());
    Press(grid, VK_SPACE); // unticks File size
    EXPECT_EQ(Text(grid), L"*\tName\tValue\r\n"
                          L"[x]\tComments\tspaced out\r\n"
                          L"[x]\tFile name\tC:\\Programs\\x.exe\r\n"
                          L"[ ]\tFile size\t1.00 kB\r\n");

    ::SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(ui::DetailsId::ToClipboard, BN_CLICKED),
                   reinterpret_cast<LPARAM>(window->Button(ui::DetailsId::ToClipboard)));
    EXPECT_EQ(ClipboardText(), L"Comments=spaced out\r\nFile name=C:\\Programs\\x.exe");
    // The memo keeps every pair.
    EXPECT_NE(Text(window->Memo()).find(L"File size=1.00 kB"), std::wstring::npos);

    Press(grid, VK_DOWN);
    Press(grid, VK_HOME);
    window->Command(DetailsCommand::CopyValue);
    EXPECT_EQ(ClipboardText(), L"spaced out");
}

TEST_F(DetailsWindowTest, ThePopupMenuEnablesWhatTheRowsAllow) {
    const auto window = Open(kDetailsText);
    const HWND grid = window->Grid().Handle();
    const HMENU menu = window->PopupMenu();
    auto menuState = [&](DetailsCommand command) {
        return ::GetMenuState(menu, UINT(ui::kDetailsMenuBase + int(command)), MF_BYCOMMAND);
    };
    auto caption = [&](DetailsCommand command) {
        wchar_t text[64] = {};
        ::GetMenuStringW(menu, UINT(ui::kDetailsMenuBase + int(command)), text, 64, MF_BYCOMMAND);
        return std::wstring(text);
    };
    // A right click below the rows deselects them and opens the menu; a timer closes it.
    auto rightClickAt = [&](int y) {
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
            ::KillTimer(nullptr, id);
            ::EndMenu();
        });
        ::SendMessageW(grid, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(60, y));
        ::SendMessageW(grid, WM_RBUTTONUP, 0, MAKELPARAM(60, y));
        ::KillTimer(nullptr, timer);
    };
    rightClickAt(150);
    EXPECT_EQ(caption(DetailsCommand::CopyValue), L"Copy value to clipboard");
    EXPECT_EQ(caption(DetailsCommand::CopyAllValues), L"Copy all values to the clipboard");
    EXPECT_EQ(caption(DetailsCommand::SaveToFile), L"Save to file...");
    EXPECT_TRUE(menuState(DetailsCommand::CopyValue) & MF_GRAYED);
    EXPECT_FALSE(menuState(DetailsCommand::CopyAllValues) & MF_GRAYED);
    EXPECT_FALSE(menuState(DetailsCommand::SaveToFile) & MF_GRAYED);
    rightClickAt(20 + 8); // on the first row
    EXPECT_FALSE(menuState(DetailsCommand::CopyValue) & MF_GRAYED);

    // A text without a single pair: an empty grid, nothing to copy or save.
    const auto empty = Open("File not found");
    EXPECT_EQ(Text(empty->Heading()), L"File not found details");
    EXPECT_EQ(Text(empty->Memo()), L"");
    for (const DetailsMenuItem& item : PlanDetailsMenu(empty->Grid().Model()))
        EXPECT_FALSE(item.enabled);
}

TEST_F(DetailsWindowTest, AClipboardAnotherProgramHoldsIsReported) {
    const auto window = Open(kDetailsText);
    // Another thread's window holds the clipboard open until told to let go.
    std::atomic<bool> holding{false}, release{false};
    std::thread holder([&] {
        const HWND other = ::CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 1, 1, nullptr,
                                             nullptr, nullptr, nullptr);
        if (::OpenClipboard(other)) {
            holding = true;
            while (!release)
                ::Sleep(5);
            ::CloseClipboard();
        }
        holding = true;
        ::DestroyWindow(other);
    });
    while (!holding)
        ::Sleep(5);
    std::wstring shown;
    const UINT_PTR timer = WhenDialogAppears(L"Error", [&](HWND dialog) {
        wchar_t text[512] = {};
        ::GetDlgItemTextW(dialog, 100, text, 512);
        shown = text;
        ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    window->CopyAllToClipboard();
    ::KillTimer(nullptr, timer);
    release = true;
    holder.join();
    EXPECT_EQ(shown.rfind(L"Application error raised! [", 0), 0u) << win32::Narrow(shown.c_str());
    EXPECT_GT(shown.size(), std::wstring(L"Application error raised! []").size());
    // Once it is free, the copy goes through.
    window->CopyAllToClipboard();
    EXPECT_EQ(ClipboardText().rfind(L"File name=", 0), 0u);
}

TEST_F(DetailsWindowTest, SavingWritesTheAnsiCodePageOrElseUtf8WithAByteOrderMark) {
    const auto window = Open(kDetailsText);
    // Through the save command: the dialog is asked with the proposed name and answered
    // with a file of the test's.
    SaveDialogRequest asked;
    const std::string ansiFile = temp_.Path("ansi.txt");
    window->SetSaveDialog([&](HWND, SaveDialogRequest& request) {
        asked = request;
        request.fileName = ansiFile;
        return true;
    });
    window->Command(DetailsCommand::SaveToFile);
    EXPECT_EQ(asked.fileName, "x.txt");
    EXPECT_EQ(asked.title, "Save as");
    EXPECT_EQ(temp_.Read(ansiFile), "File name=C:\\Programs\\x.exe\r\n"
                                    "File size=1.00 kB\r\n"
                                    "Comments=spaced out\r\n");
    EXPECT_EQ(::GetFocus(), window->Grid().Handle()); // back where the user was

    // A character the ANSI code page cannot hold: UTF-8 with a byte-order mark.
    const auto greek = Open("Greek\rLetter: \xCE\xA9 omega");
    const std::string utf8File = temp_.Path("utf8.txt");
    ASSERT_TRUE(greek->SaveToFile(utf8File));
    EXPECT_EQ(temp_.Read(utf8File), "\xEF\xBB\xBFLetter=\xCE\xA9 omega\r\n");
}

TEST_F(DetailsWindowTest, AFailedSaveIsShownWithTheSystemsWordsAndTheWindowStays) {
    const auto window = Open(kDetailsText);
    std::wstring shown;
    const UINT_PTR timer = WhenDialogAppears(L"Error", [&](HWND dialog) {
        wchar_t text[512] = {};
        ::GetDlgItemTextW(dialog, 100, text, 512);
        shown = text;
        ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_FALSE(window->SaveToFile(temp_.Path("no such folder\\x.txt")));
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(shown.rfind(L"Application error raised! [", 0), 0u) << win32::Narrow(shown.c_str());
    EXPECT_EQ(shown.back(), L']');
    EXPECT_GT(shown.size(), std::wstring(L"Application error raised! []").size());
    EXPECT_TRUE(window->Visible());
}

TEST_F(DetailsWindowTest, TheSaveDialogOffersTextFilesAndAnyFile) {
    const std::string existing = temp_.Path("chosen.txt");
    temp_.Write(existing, "old");
    std::vector<std::wstring> filters;
    const UINT_PTR timer = WhenDialogAppears(L"Save as", [&](HWND dialog) {
        const HWND types = ::GetDlgItem(dialog, 0x470); // the file type box
        const LRESULT count = ::SendMessageW(types, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[128] = {};
            ::SendMessageW(types, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
            filters.push_back(text);
        }
        // The name box is a combo box (0x47C) in newer dialogs and an edit (0x480) in older.
        HWND name = ::GetDlgItem(dialog, 0x47C);
        if (!name)
            name = ::GetDlgItem(dialog, 0x480);
        ::SetWindowTextW(name, win32::Wide(existing).c_str());
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    std::string fileName = "x.txt";
    const SaveDialogRequest request = DetailsSaveRequest("x.exe");
    const bool chosen =
        ui::ExecuteSaveDialog(Search().Handle(), fileName, request.title, request.addAllFiles,
                              request.filter, request.defaultExtension);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(filters, (std::vector<std::wstring>{L"Text file (*.txt)", L"Any file (*.*)"}));
    EXPECT_TRUE(chosen);
    EXPECT_EQ(win32::Wide(fileName), win32::Wide(existing));
}

} // namespace
} // namespace orvan::testing
