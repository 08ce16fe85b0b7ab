#include "ui/pages/page_list.h"

#include "core/ui/available_view.h"
#include "ui/gdi.h"
#include "ui/window.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace orvan::ui {

namespace {

constexpr UINT_PTR kSubclassId = 1;

} // namespace

PageListBox::~PageListBox() {
    if (hwnd_ && ::IsWindow(hwnd_))
        ::RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
}

HWND PageListBox::Create(HWND parent, int id, int rowHeight) {
    hwnd_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_HASSTRINGS |
                                  LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                              ModuleInstance(), nullptr);
    if (!hwnd_)
        return nullptr;
    ::SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, rowHeight);
    ::SetWindowSubclass(hwnd_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    return hwnd_;
}

void PageListBox::SetRowHeight(int height) {
    ::SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, height);
}

void PageListBox::SetRows(const std::vector<std::wstring>& rows, int selected) {
    rows_ = rows;
    ::SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& row : rows_)
        ::SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    if (!rows_.empty() && selected >= 0)
        ::SendMessageW(hwnd_, LB_SETCURSEL, WPARAM(std::min<int>(selected, int(rows_.size()) - 1)),
                       0);
    ::SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

int PageListBox::Count() const {
    return int(::SendMessageW(hwnd_, LB_GETCOUNT, 0, 0));
}

int PageListBox::Selection() const {
    return int(::SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
}

void PageListBox::Select(int row) {
    ::SendMessageW(hwnd_, LB_SETCURSEL, WPARAM(row), 0);
}

void PageListBox::MoveSelection(bool up) {
    const int count = Count();
    if (count == 0)
        return;
    const int row = Selection();
    Select(row < 0 ? 0 : std::clamp(row + (up ? -1 : 1), 0, count - 1));
}

void TypeIntoFilter(HWND filter, wchar_t c) {
    std::wstring text = WindowText(filter);
    if (c == L'\b') {
        if (text.empty())
            return;
        text.pop_back();
    } else {
        text.push_back(c);
    }
    ::SetWindowTextW(filter, text.c_str());
}

std::wstring PageListBox::Text() const {
    std::wstring text;
    for (const std::wstring& row : rows_) {
        text += row;
        text += L"\r\n";
    }
    return text;
}

LRESULT CALLBACK PageListBox::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<PageListBox*>(data);
    switch (message) {
    case WM_GETTEXTLENGTH:
        return LRESULT(self->Text().size());
    case WM_GETTEXT: {
        if (wParam == 0 || lParam == 0)
            return 0;
        const std::wstring text = self->Text();
        const std::size_t count = std::min<std::size_t>(text.size(), std::size_t(wParam) - 1);
        auto* out = reinterpret_cast<wchar_t*>(lParam);
        std::memcpy(out, text.data(), count * sizeof(wchar_t));
        out[count] = L'\0';
        return LRESULT(count);
    }
    case WM_CHAR:
        // Typing filters the page instead of jumping to a row by its first letter.
        if (self->typed_ && (wParam == L'\b' || wParam >= L' ') && wParam != 0x7F) {
            self->typed_(wchar_t(wParam));
            return 0;
        }
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void DrawPageRow(const DRAWITEMSTRUCT& item, HFONT font, HICON icon, int iconSize,
                 const std::wstring& text) {
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const RowColors colors = ChooseRowColors(selected, ::GetFocus() == item.hwndItem);
    TextStateGuard state(dc);
    ::FillRect(dc, &r, ::GetSysColorBrush(colors.background));
    if (item.itemID != UINT(-1)) {
        RECT textRect = r;
        textRect.left += 4;
        if (iconSize > 0) {
            if (icon)
                ::DrawIconEx(dc, r.left + 2, r.top + (r.bottom - r.top - iconSize) / 2, icon,
                             iconSize, iconSize, 0, nullptr, DI_NORMAL);
            textRect.left = r.left + iconSize + 6;
        }
        SelectGuard fontGuard(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(colors.text));
        ::DrawTextW(dc, text.c_str(), int(text.size()), &textRect,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT);
    }
    if (item.itemState & ODS_FOCUS)
        ::DrawFocusRect(dc, &r);
}

} // namespace orvan::ui
