#include "ui/path_grid.h"

#include "ui/window.h"
#include "win32/wide_text.h"

#include <commctrl.h>

#include <cmath>

namespace orvan::ui {

namespace {

constexpr int kReservedWidth = 16; // kept free for the vertical scroll bar

} // namespace

HWND PathGrid::Create(HWND parent, int id) {
    list_ = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0,
        0, 0, parent, reinterpret_cast<HMENU>(INT_PTR(id)), ModuleInstance(), nullptr);
    if (list_)
        ::SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                       LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    return list_;
}

void PathGrid::SetFont(HFONT font) {
    ::SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void PathGrid::SetColumns(const std::array<PathColumn, 3>& columns) {
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    while (::SendMessageW(list_, LVM_DELETECOLUMN, 0, 0)) {
    }
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::wstring caption = win32::Wide(columns[i].caption);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = columns[i].align == PathColumnAlign::Center ? LVCFMT_CENTER : LVCFMT_LEFT;
        column.pszText = const_cast<wchar_t*>(caption.c_str());
        column.cx = 10;
        column.iSubItem = int(i);
        ::SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        weights_[i] = columns[i].weight;
    }
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    Resize();
}

void PathGrid::Resize() {
    RECT client;
    ::GetClientRect(list_, &client);
    const int available = std::max(0, int(client.right) - kReservedWidth);
    int sum = 0;
    for (const int weight : weights_)
        sum += weight;
    if (sum <= 0)
        return;
    int given = 0;
    for (std::size_t i = 0; i < weights_.size(); ++i) {
        const int width = i + 1 < weights_.size()
                              ? int(std::lround(double(available) / sum * weights_[i]))
                              : available - given;
        given += width;
        ::SendMessageW(list_, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(std::max(0, width), 0));
    }
}

void PathGrid::Fill(const CatalogPathList& list) {
    filling_ = true;
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < list.rows.size(); ++i) {
        const CatalogPathRow& row = list.rows[i];
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = int(i);
        item.pszText = const_cast<wchar_t*>(L"");
        item.lParam = LPARAM(row.index);
        const int at =
            int(::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        for (int cell = 1; cell < int(row.cells.size()); ++cell) {
            const std::wstring text = win32::Wide(row.cells[std::size_t(cell)]);
            LVITEMW sub{};
            sub.iSubItem = cell;
            sub.pszText = const_cast<wchar_t*>(text.c_str());
            ::SendMessageW(list_, LVM_SETITEMTEXTW, at, reinterpret_cast<LPARAM>(&sub));
        }
        LVITEMW check{};
        check.stateMask = LVIS_STATEIMAGEMASK;
        check.state = INDEXTOSTATEIMAGEMASK(row.checked ? 2 : 1);
        ::SendMessageW(list_, LVM_SETITEMSTATE, at, reinterpret_cast<LPARAM>(&check));
    }
    if (list.selected >= 0) {
        LVITEMW select{};
        select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        select.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageW(list_, LVM_SETITEMSTATE, WPARAM(list.selected),
                       reinterpret_cast<LPARAM>(&select));
        ::SendMessageW(list_, LVM_ENSUREVISIBLE, WPARAM(list.selected), FALSE);
    }
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
    filling_ = false;
}

std::ptrdiff_t PathGrid::ItemsCount() const {
    return std::ptrdiff_t(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::ptrdiff_t PathGrid::ItemFocusedRow() const {
    return std::ptrdiff_t(::SendMessageW(list_, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
}

bool PathGrid::ItemIsSelected() const {
    const std::ptrdiff_t row = ItemFocusedRow();
    return row >= 0 &&
           (::SendMessageW(list_, LVM_GETITEMSTATE, WPARAM(row), LVIS_SELECTED) & LVIS_SELECTED);
}

std::size_t PathGrid::FocusedData() const {
    const std::ptrdiff_t row = ItemFocusedRow();
    return row < 0 ? 0 : Data(row);
}

std::size_t PathGrid::Data(std::ptrdiff_t row) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = int(row);
    ::SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return std::size_t(item.lParam);
}

bool PathGrid::Checked(std::ptrdiff_t row) const {
    const auto state = ::SendMessageW(list_, LVM_GETITEMSTATE, WPARAM(row), LVIS_STATEIMAGEMASK);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

std::wstring PathGrid::CellText(std::ptrdiff_t row, int cell) const {
    wchar_t text[1024] = {};
    LVITEMW item{};
    item.iSubItem = cell;
    item.pszText = text;
    item.cchTextMax = 1024;
    ::SendMessageW(list_, LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

bool PathGrid::HandleNotify(const NMHDR& header) {
    if (header.hwndFrom != list_)
        return false;
    switch (header.code) {
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        const bool checkChanged = (change.uChanged & LVIF_STATE) &&
                                  ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK);
        // The state image of a new row changes from none to its check; that is no flip.
        if (!filling_ && checkChanged && (change.uOldState & LVIS_STATEIMAGEMASK) != 0 &&
            change.iItem >= 0 && changeValue_)
            changeValue_(change.iItem, 0, ((change.uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2);
        return true;
    }
    case NM_DBLCLK: {
        const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
        if (activate.iItem >= 0 && ItemIsSelected() && execute_)
            execute_(ItemFocusedRow());
        return true;
    }
    default:
        return false;
    }
}

bool PathGrid::ExecuteFocused() {
    if (!ItemIsSelected() || !execute_)
        return false;
    execute_(ItemFocusedRow());
    return true;
}

POINT PathGrid::KeyboardMenuPoint() const {
    POINT at{4, 4};
    const std::ptrdiff_t row = ItemFocusedRow();
    RECT item{};
    item.left = LVIR_BOUNDS;
    if (row >= 0 &&
        ::SendMessageW(list_, LVM_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&item)))
        at = {item.left + 4, item.bottom};
    ::ClientToScreen(list_, &at);
    return at;
}

} // namespace orvan::ui
