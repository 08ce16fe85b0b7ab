#include "ui/message_dialog.h"

#include "core/language/language.h"
#include "core/ui/dialog_layout.h"
#include "ui/controls.h"
#include "ui/gdi.h"
#include "ui/pictures.h"
#include "ui/window.h"
#include "win32/wide_text.h"

#include <memory>
#include <string>

namespace orvan::ui {

namespace {

using namespace dialog_layout;

enum class DialogKind { Message, YesNo, YesNoCancel };

constexpr int kLabelId = 100;
constexpr int kIconId = 101;

std::wstring WithLineBreaks(const std::string& text) {
    const std::wstring wide = win32::Wide(text);
    std::wstring out;
    out.reserve(wide.size() + 8);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        out += wide[i];
        if (wide[i] == L'\r' && (i + 1 >= wide.size() || wide[i + 1] != L'\n'))
            out += L'\n';
    }
    return out;
}

// The dialog's state, reached through the dialog's user data.
struct DialogState {
    DialogKind kind;
    std::wstring title;
    std::wstring text;
    UniqueFont font;
    ImageBox icon;
};

UiSize MeasureText(HWND dialog, HFONT font, const std::wstring& text, int width) {
    WindowDc dc(dialog);
    SelectGuard guard(dc.Get(), font);
    RECT box{0, 0, width, 0};
    if (text.empty()) {
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc.Get(), &metrics);
        return {0, metrics.tmHeight};
    }
    ::DrawTextW(dc.Get(), text.c_str(), int(text.size()), &box,
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return {box.right - box.left, box.bottom - box.top};
}

// A button's caption from the text table; the question's buttons answer to Alt and their
// first letter.
std::wstring Caption(int textId, bool accelerator = false) {
    return (accelerator ? L"&" : L"") + win32::Wide(Languages::Text(textId));
}

HWND MakeButton(HWND dialog, int id, const wchar_t* caption, const UiRect& rect, HFONT font,
                bool isDefault, int dpi) {
    const UiRect r = ScaleForDpi(rect, dpi);
    const HWND button = ::CreateWindowExW(
        0, L"BUTTON", caption,
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), r.left,
        r.top, r.width, r.height, dialog, reinterpret_cast<HMENU>(INT_PTR(id)), ModuleInstance(),
        nullptr);
    ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return button;
}

void SetClientSize(HWND dialog, UiSize client, int dpi) {
    const UiSize scaled{ScaleForDpi(client.width, dpi), ScaleForDpi(client.height, dpi)};
    RECT frame{0, 0, scaled.width, scaled.height};
    const DWORD style = DWORD(::GetWindowLongPtrW(dialog, GWL_STYLE));
    const DWORD exStyle = DWORD(::GetWindowLongPtrW(dialog, GWL_EXSTYLE));
    ::AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, UINT(dpi));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowPos(dialog, nullptr, 0, 0, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    // Centred on the screen the dialog appears on.
    CenterWindow(dialog, CenterOn::Monitor);
}

void InitDialog(HWND dialog, DialogState& state) {
    const int dpi = WindowDpi(dialog);
    ::SetWindowTextW(dialog, state.title.c_str());
    const bool message = state.kind == DialogKind::Message;
    state.font =
        message ? CreatePointFont(L"MS Sans Serif", 8, dpi) : CreatePointFont(L"Tahoma", 8, dpi);
    const HFONT font = state.font.Get();
    ::SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    const int labelWidth = message ? kMessageLabelWidth : kQuestionLabelWidth;
    const UiSize measured = MeasureText(dialog, font, state.text, ScaleForDpi(labelWidth, dpi));
    // The layout works in designed pixels; the measurement is in the monitor's.
    const UiSize text{::MulDiv(measured.width, kDesignDpi, dpi),
                      ::MulDiv(measured.height, kDesignDpi, dpi)};

    UiRect iconRect, labelRect;
    UiSize client;
    HICON icon = nullptr;
    const int iconSize = ScaleForDpi(48, dpi);
    if (message) {
        const MessageDialogLayout layout = FitMessageDialog(text);
        client = layout.client;
        iconRect = layout.icon;
        labelRect = layout.label;
        icon = ProgramPictures().MessageIcon(iconSize);
        const HWND ok = MakeButton(dialog, IDOK, Caption(1).c_str(), layout.ok, font, true, dpi);
        ::SetFocus(ok);
    } else {
        const QuestionDialogLayout layout =
            FitQuestionDialog(text, state.kind == DialogKind::YesNoCancel);
        client = layout.client;
        iconRect = layout.icon;
        labelRect = layout.label;
        icon = ProgramPictures().QuestionIcon(iconSize);
        const HWND yes =
            MakeButton(dialog, IDYES, Caption(8, true).c_str(), layout.yes, font, true, dpi);
        MakeButton(dialog, IDNO, Caption(9, true).c_str(), layout.no, font, false, dpi);
        if (layout.cancelVisible)
            MakeButton(dialog, IDCANCEL, Caption(2, true).c_str(), layout.cancel, font, false, dpi);
        ::SendMessageW(dialog, DM_SETDEFID, IDYES, 0);
        ::SetFocus(yes);
    }

    const UiRect label = ScaleForDpi(labelRect, dpi);
    const HWND labelWindow = ::CreateWindowExW(
        0, L"STATIC", state.text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, label.left,
        label.top, label.width, label.height, dialog, reinterpret_cast<HMENU>(INT_PTR(kLabelId)),
        ModuleInstance(), nullptr);
    ::SendMessageW(labelWindow, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    const UiRect iconArea = ScaleForDpi(iconRect, dpi);
    state.icon.Create(dialog, kIconId,
                      ToRect(iconArea.left, iconArea.top, iconArea.width, iconArea.height));
    state.icon.SetBackground(::GetSysColor(COLOR_BTNFACE));
    state.icon.SetIcon(icon, iconSize);
    SetClientSize(dialog, client, dpi);
}

bool IsUsable(HWND dialog, int id) {
    const HWND control = ::GetDlgItem(dialog, id);
    return control && ::IsWindowVisible(control) && ::IsWindowEnabled(control);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        auto* state = reinterpret_cast<DialogState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        switch (message) {
        case WM_INITDIALOG:
            ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            InitDialog(dialog, *reinterpret_cast<DialogState*>(lParam));
            return FALSE; // the focus is set
        case WM_COMMAND: {
            if (!state)
                return FALSE;
            const int id = LOWORD(wParam);
            if (state->kind == DialogKind::Message) {
                // OK is both the default and the cancel button.
                if (id == IDOK || id == IDCANCEL)
                    ::EndDialog(dialog, IDOK);
                return TRUE;
            }
            // Enter and Esc answer only while their button is visible and enabled: without
            // Cancel, Esc does nothing.
            if ((id == IDYES || id == IDNO || id == IDCANCEL) && IsUsable(dialog, id))
                ::EndDialog(dialog, id);
            return TRUE;
        }
        case WM_CLOSE:
            ::EndDialog(dialog, state && state->kind == DialogKind::Message ? IDOK : IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    } catch (...) {
        ReportCurrentException();
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
}

int RunDialog(DialogKind kind, const std::string& title, const std::string& text) {
    WaitCursor wait; // while the dialog is prepared; the dialog shows the normal cursor
    DialogState state{kind, win32::Wide(title), WithLineBreaks(text), {}, {}};
    struct alignas(DWORD) Template {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } dialogTemplate{};
    dialogTemplate.dialog.style =
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND;
    dialogTemplate.dialog.dwExtendedStyle = WS_EX_DLGMODALFRAME;
    dialogTemplate.dialog.cx = 200;
    dialogTemplate.dialog.cy = 100;
    HWND owner = ::GetActiveWindow();
    const INT_PTR result =
        ::DialogBoxIndirectParamW(ModuleInstance(), &dialogTemplate.dialog, owner, DialogProc,
                                  reinterpret_cast<LPARAM>(&state));
    return result <= 0 ? IDCANCEL : int(result);
}

} // namespace

void ShowMessageDialog(const std::string& title, const std::string& text) {
    RunDialog(DialogKind::Message, title, text);
}

bool AskYesNo(const std::string& title, const std::string& text) {
    return RunDialog(DialogKind::YesNo, title, text) == IDYES;
}

int AskYesNoCancel(const std::string& title, const std::string& text) {
    return RunDialog(DialogKind::YesNoCancel, title, text);
}

void Win32MessageDialogs::ShowMessageDialog(const std::string& title, const std::string& text) {
    ui::ShowMessageDialog(title, text);
}

} // namespace orvan::ui
