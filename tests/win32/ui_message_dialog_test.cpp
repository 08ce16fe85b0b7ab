// The message and question dialogs, driven by a timer that runs inside their modal loop:
// it measures the dialog, then presses a key or closes it.
#include "ui/message_dialog.h"

#include "win32/wide_text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace orvan::testing {
namespace {

struct Seen {
    bool found = false;
    RECT client{};
    RECT yes{}, no{}, cancel{}, ok{}, label{};
    bool cancelVisible = false;
    bool yesDefault = false;
};

// What the timer does once the dialog is up.
std::function<void(HWND)> onDialog;
std::wstring wantedTitle;
Seen seen;

RECT ChildRect(HWND dialog, int id) {
    RECT rect{};
    const HWND child = ::GetDlgItem(dialog, id);
    if (!child)
        return rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void CALLBACK Poke(HWND, UINT, UINT_PTR id, DWORD) {
    const HWND dialog = ::FindWindowW(L"#32770", wantedTitle.c_str());
    if (!dialog || !::IsWindowVisible(dialog))
        return; // not up yet: the timer fires again
    ::KillTimer(nullptr, id);
    seen.found = true;
    ::GetClientRect(dialog, &seen.client);
    seen.yes = ChildRect(dialog, IDYES);
    seen.no = ChildRect(dialog, IDNO);
    seen.cancel = ChildRect(dialog, IDCANCEL);
    seen.ok = ChildRect(dialog, IDOK);
    seen.label = ChildRect(dialog, 100);
    seen.cancelVisible = ::GetDlgItem(dialog, IDCANCEL) != nullptr &&
                         ::IsWindowVisible(::GetDlgItem(dialog, IDCANCEL));
    seen.yesDefault = LOWORD(::SendMessageW(dialog, DM_GETDEFID, 0, 0)) == IDYES;
    onDialog(dialog);
}

// Shows a dialog with `show` while the timer acts on it with `act`.
template <typename Show>
auto WithDialog(const std::string& title, std::function<void(HWND)> act, Show show) {
    seen = {};
    wantedTitle = win32::Wide(title);
    onDialog = std::move(act);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, Poke);
    auto result = show();
    ::KillTimer(nullptr, timer);
    return result;
}

// A key press as the keyboard gives it: down, then the character.
void Key(HWND dialog, UINT key) {
    const HWND focus = ::GetFocus() ? ::GetFocus() : dialog;
    ::PostMessageW(focus, WM_KEYDOWN, key, 1);
}

// Keys that do nothing leave the dialog up: a second timer then closes it by its box.
void KeyThenClose(HWND dialog, UINT key) {
    Key(dialog, key);
    ::SetTimer(dialog, 99, 200, [](HWND window, UINT, UINT_PTR, DWORD) {
        ::KillTimer(window, 99);
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    });
}

bool At96() {
    return ::GetDpiForSystem() == 96;
}

TEST(QuestionDialog, OneLineLayoutAndTheKeys) {
    struct Case {
        const char* name;
        bool withCancel;
        std::function<void(HWND)> act;
        int expected; // AskYesNoCancel's result, or 6 / 7 for AskYesNo's true / false
    };
    const Case cases[] = {
        {"enter yes", false, [](HWND d) { Key(d, VK_RETURN); }, IDYES},
        {"enter yes 3", true, [](HWND d) { Key(d, VK_RETURN); }, IDYES},
        {"y", false, [](HWND d) { Key(d, 'Y'); }, IDYES},
        {"n", false, [](HWND d) { Key(d, 'N'); }, IDNO},
        {"n 3", true, [](HWND d) { Key(d, 'N'); }, IDNO},
        {"c 3", true, [](HWND d) { Key(d, 'C'); }, IDCANCEL},
        {"esc 3", true, [](HWND d) { Key(d, VK_ESCAPE); }, IDCANCEL},
        // Without Cancel, Esc does nothing; the close box then counts as No.
        {"esc then close", false, [](HWND d) { KeyThenClose(d, VK_ESCAPE); }, IDNO},
        {"close", false, [](HWND d) { ::PostMessageW(d, WM_CLOSE, 0, 0); }, IDNO},
        {"close 3", true, [](HWND d) { ::PostMessageW(d, WM_CLOSE, 0, 0); }, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string title = std::string("Question ") + c.name;
        int result = 0;
        if (c.withCancel) {
            result =
                WithDialog(title, c.act, [&] { return ui::AskYesNoCancel(title, "Delete it?"); });
        } else {
            const bool yes =
                WithDialog(title, c.act, [&] { return ui::AskYesNo(title, "Delete it?"); });
            result = yes ? IDYES : IDNO;
        }
        EXPECT_TRUE(seen.found);
        EXPECT_EQ(result, c.expected);
        EXPECT_TRUE(seen.yesDefault);
        EXPECT_EQ(seen.cancelVisible, c.withCancel);
        if (At96()) {
            EXPECT_EQ(seen.client.right, 346);
            EXPECT_EQ(seen.client.bottom, 156);
            EXPECT_EQ(seen.yes.top, 117);
            EXPECT_EQ(seen.yes.left, c.withCancel ? 93 : 176);
            EXPECT_EQ(seen.no.left, c.withCancel ? 176 : 259);
            EXPECT_EQ(seen.yes.right - seen.yes.left, 77);
            EXPECT_EQ(seen.yes.bottom - seen.yes.top, 29);
            if (c.withCancel) {
                EXPECT_EQ(seen.cancel.left, 259);
            }
        }
    }
}

TEST(QuestionDialog, ManyLinesGrowTheDialogAndALongWordWidensIt) {
    std::string lines;
    for (int i = 0; i < 20; ++i)
        lines += "Line " + std::to_string(i) + "\r";
    WithDialog(
        "Tall", [](HWND d) { Key(d, VK_RETURN); }, [&] { return ui::AskYesNo("Tall", lines); });
    ASSERT_TRUE(seen.found);
    const int labelHeight = seen.label.bottom - seen.label.top;
    EXPECT_EQ(seen.client.bottom, labelHeight + 80);
    EXPECT_EQ(seen.client.bottom - seen.yes.top, 39);

    WithDialog(
        "Wide", [](HWND d) { Key(d, VK_RETURN); },
        [&] { return ui::AskYesNo("Wide", std::string(120, 'W')); });
    ASSERT_TRUE(seen.found);
    EXPECT_GT(seen.client.right, 346);
    EXPECT_EQ(seen.client.right - seen.label.right,
              At96() ? 12 : seen.client.right - seen.label.right);
    EXPECT_EQ(seen.client.right - seen.no.right, At96() ? 10 : seen.client.right - seen.no.right);
}

TEST(MessageDialog, EnterAndEscCloseItAndALongWordWidensIt) {
    for (const UINT key : {UINT(VK_RETURN), UINT(VK_ESCAPE)}) {
        WithDialog(
            "Message", [key](HWND d) { Key(d, key); },
            [] {
                ui::ShowMessageDialog("Message", "The specified file was not found.");
                return 0;
            });
        ASSERT_TRUE(seen.found);
        if (At96()) {
            EXPECT_EQ(seen.client.right, 342);
            EXPECT_EQ(seen.client.bottom, 187);
            EXPECT_EQ(seen.ok.left, 262);
            EXPECT_EQ(seen.ok.top, 150);
            EXPECT_EQ(seen.ok.right - seen.ok.left, 69);
            EXPECT_EQ(seen.ok.bottom - seen.ok.top, 27);
            EXPECT_EQ(seen.label.left, 74);
            EXPECT_EQ(seen.label.right, 342 - 12); // wraps 12 pixels before the edge
        }
    }
    WithDialog(
        "Message wide", [](HWND d) { ::PostMessageW(d, WM_CLOSE, 0, 0); },
        [] {
            ui::ShowMessageDialog("Message wide", std::string(150, 'M'));
            return 0;
        });
    ASSERT_TRUE(seen.found);
    EXPECT_GT(seen.client.right, 342);
    EXPECT_EQ(seen.client.right - seen.label.right,
              At96() ? 12 : seen.client.right - seen.label.right);
    if (At96()) {
        EXPECT_EQ(seen.client.bottom, 187);
        EXPECT_EQ(seen.client.right - seen.ok.right, 11); // anchored to the bottom right
    }
}

} // namespace
} // namespace orvan::testing
