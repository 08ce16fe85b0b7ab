#include "ui/available_list.h"

#include "core/ui/available_view.h"
#include "core/ui/search_layout.h"
#include "ui/accessible_base.h"
#include "ui/icon_cache.h"
#include "ui/pictures.h"
#include "ui/window.h"
#include "win32/wide_text.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace orvan::ui {

namespace {

constexpr UINT_PTR kSubclassId = 0x4F52; // any number unique to this subclass

// Accessible object of the list's client area. Rows are simple elements (child ids 1 to
// the row count), so no object is made per row; a million rows cost nothing.
class ListAccessible final : public AccessibleBase {
public:
    ListAccessible(HWND list, const AvailableListBox& rows) : list_(list), rows_(&rows) {}

    void Disconnect() { rows_ = nullptr; }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        if (!Alive())
            return RPC_E_DISCONNECTED;
        return ::CreateStdAccessibleObject(list_, OBJID_WINDOW, IID_IDispatch,
                                           reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count)
            return E_POINTER;
        if (!Alive())
            return RPC_E_DISCONNECTED;
        *count = long(std::min<std::size_t>(rows_->RowCount(), LONG_MAX));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
        if (!dispatch)
            return E_POINTER;
        *dispatch = nullptr;
        if (!Alive())
            return RPC_E_DISCONNECTED;
        return Row(child) >= -1 ? S_FALSE : E_INVALIDARG; // rows are simple elements
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name)
            return E_POINTER;
        *name = nullptr;
        if (!Alive())
            return RPC_E_DISCONNECTED;
        const long row = Row(child);
        if (row < -1)
            return E_INVALIDARG;
        if (row == -1)
            return S_FALSE; // the list itself has no name of its own
        *name = MakeBstr(rows_->RowName(std::size_t(row)));
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (!value)
            return E_POINTER;
        *value = nullptr;
        return Row(child) >= -1 ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        if (!text)
            return E_POINTER;
        *text = nullptr;
        return Row(child) >= -1 ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role)
            return E_POINTER;
        ::VariantInit(role);
        if (!Alive())
            return RPC_E_DISCONNECTED;
        const long row = Row(child);
        if (row < -1)
            return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = row == -1 ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state)
            return E_POINTER;
        ::VariantInit(state);
        if (!Alive())
            return RPC_E_DISCONNECTED;
        const long row = Row(child);
        if (row < -1)
            return E_INVALIDARG;
        const bool focused = ::GetFocus() == list_;
        long flags = STATE_SYSTEM_FOCUSABLE;
        if (row == -1) {
            if (focused)
                flags |= STATE_SYSTEM_FOCUSED;
            if (!::IsWindowVisible(list_))
                flags |= STATE_SYSTEM_INVISIBLE;
        } else {
            flags |= STATE_SYSTEM_SELECTABLE;
            const auto selected = ::SendMessageW(list_, LB_GETCURSEL, 0, 0);
            if (selected == row) {
                flags |= STATE_SYSTEM_SELECTED;
                if (focused)
                    flags |= STATE_SYSTEM_FOCUSED;
            }
            RECT item{}, client{};
            ::SendMessageW(list_, LB_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&item));
            ::GetClientRect(list_, &client);
            RECT visible{};
            if (!::IntersectRect(&visible, &item, &client))
                flags |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
        }
        state->vt = VT_I4;
        state->lVal = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus)
            return E_POINTER;
        ::VariantInit(focus);
        if (!Alive())
            return RPC_E_DISCONNECTED;
        if (::GetFocus() != list_)
            return S_FALSE;
        const auto selected = ::SendMessageW(list_, LB_GETCURSEL, 0, 0);
        focus->vt = VT_I4;
        focus->lVal = selected == LB_ERR ? CHILDID_SELF : long(selected + 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection)
            return E_POINTER;
        ::VariantInit(selection);
        if (!Alive())
            return RPC_E_DISCONNECTED;
        const auto selected = ::SendMessageW(list_, LB_GETCURSEL, 0, 0);
        if (selected == LB_ERR)
            return S_FALSE;
        selection->vt = VT_I4;
        selection->lVal = long(selected + 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!action)
            return E_POINTER;
        *action = nullptr;
        if (Row(child) < 0)
            return S_FALSE;
        *action = ::SysAllocString(L"Double Click");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        if (!Alive())
            return RPC_E_DISCONNECTED;
        const long row = Row(child);
        if (row < 0)
            return E_INVALIDARG;
        if (flags & SELFLAG_TAKEFOCUS)
            ::SetFocus(list_);
        if (flags & (SELFLAG_TAKESELECTION | SELFLAG_ADDSELECTION)) {
            ::SendMessageW(list_, LB_SETCURSEL, WPARAM(row), 0);
            NotifyParentOfSelection();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height)
            return E_POINTER;
        if (!Alive())
            return RPC_E_DISCONNECTED;
        const long row = Row(child);
        if (row < -1)
            return E_INVALIDARG;
        RECT rect{};
        if (row == -1)
            ::GetClientRect(list_, &rect);
        else
            ::SendMessageW(list_, LB_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&rect));
        ::MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        *left = rect.left;
        *top = rect.top;
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end)
            return E_POINTER;
        ::VariantInit(end);
        if (!Alive())
            return RPC_E_DISCONNECTED;
        return Navigate(direction, Row(start),
                        long(std::min<std::size_t>(rows_->RowCount(), LONG_MAX)), true, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        if (!child)
            return E_POINTER;
        ::VariantInit(child);
        if (!Alive())
            return RPC_E_DISCONNECTED;
        POINT at{x, y};
        ::ScreenToClient(list_, &at);
        RECT client{};
        ::GetClientRect(list_, &client);
        if (!::PtInRect(&client, at))
            return S_FALSE;
        // Rows have one height, so the row under the point follows from the top row;
        // LB_ITEMFROMPOINT would answer only 16 bits of it.
        const auto top = ::SendMessageW(list_, LB_GETTOPINDEX, 0, 0);
        const auto height = ::SendMessageW(list_, LB_GETITEMHEIGHT, 0, 0);
        const long long row = top == LB_ERR || height <= 0 ? -1 : top + at.y / height;
        child->vt = VT_I4;
        child->lVal =
            row >= 0 && std::size_t(row) < rows_->RowCount() ? long(row + 1) : CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!Alive())
            return RPC_E_DISCONNECTED;
        const long row = Row(child);
        if (row < 0)
            return DISP_E_MEMBERNOTFOUND;
        ::SendMessageW(list_, LB_SETCURSEL, WPARAM(row), 0);
        NotifyParentOfSelection();
        ::SendMessageW(::GetParent(list_), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(list_), LBN_DBLCLK),
                       reinterpret_cast<LPARAM>(list_));
        return S_OK;
    }

private:
    bool Alive() const { return rows_ && ::IsWindow(list_); }

    // -1 for the list itself, the row for a child id, -2 for an invalid id.
    long Row(const VARIANT& child) const {
        if (child.vt != VT_I4)
            return -2;
        if (child.lVal == CHILDID_SELF)
            return -1;
        if (!rows_ || child.lVal < 1 || std::size_t(child.lVal) > rows_->RowCount())
            return -2;
        return child.lVal - 1;
    }

    void NotifyParentOfSelection() const {
        ::SendMessageW(::GetParent(list_), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(list_), LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list_));
    }

    HWND list_;
    const AvailableListBox* rows_;
};

} // namespace

IAccessible* CreateListAccessible(HWND list, const AvailableListBox& rows) {
    return new ListAccessible(list, rows);
}

void DisconnectListAccessible(IAccessible* accessible) {
    if (accessible)
        static_cast<ListAccessible*>(accessible)->Disconnect();
}

AvailableListBox::~AvailableListBox() {
    if (hwnd_) {
        ::RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
        ::DestroyWindow(hwnd_);
    }
    if (accessible_) {
        DisconnectListAccessible(accessible_);
        accessible_->Release();
    }
}

HWND AvailableListBox::Create(HWND parent, int id, const RECT& rect, int rowHeight) {
    hwnd_ =
        ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                          WS_CHILD | WS_TABSTOP | WS_VSCROLL | LBS_NODATA | LBS_OWNERDRAWFIXED |
                              LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                          rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                          parent, reinterpret_cast<HMENU>(INT_PTR(id)), ModuleInstance(), nullptr);
    if (!hwnd_)
        return nullptr;
    ::SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, rowHeight);
    ::SetWindowSubclass(hwnd_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    return hwnd_;
}

std::size_t AvailableListBox::RowCount() const {
    return rows_.size();
}

std::wstring AvailableListBox::RowName(std::size_t row) const {
    return row < rows_.size() ? win32::Wide(rows_[row].name) : std::wstring();
}

void AvailableListBox::SetDpi(int dpi, HFONT font) {
    dpi_ = dpi;
    font_ = font;
    if (hwnd_) {
        ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        ::SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0,
                       ScaleForDpi(search_layout::kAvailableRowHeight, dpi));
    }
}

void AvailableListBox::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const RowColors colors = ChooseRowColors(selected, ::GetFocus() == hwnd_);
    TextStateGuard state(dc);
    ::FillRect(dc, &r, ::GetSysColorBrush(colors.background));
    if (item.itemID != UINT(-1) && item.itemID < rows_.size()) {
        const RunAvailableRow row = rows_[item.itemID];
        const RowGeometry geometry =
            PlaceRow({r.left, r.top, r.right - r.left, r.bottom - r.top}, dpi_);
        // The shell is asked for icons once the window is idle, not while the rows are drawn
        // after a keystroke: until then a row shows the image of a file without an icon.
        HICON fileIcon = nullptr;
        if (RowWantsFileIcon(row.kind) &&
            PeekFileIcon(std::string(row.path), true, &fileIcon) == CachedIcon::Unknown &&
            iconsWanted_)
            iconsWanted_();
        const RowIcon icon = ChooseRowIcon(row.kind, fileIcon != nullptr);
        const HICON picture =
            icon.fileIcon ? fileIcon : ProgramPictures().MainImage(icon.image, geometry.icon.width);
        ::DrawIconEx(dc, geometry.icon.left, geometry.icon.top, picture, geometry.icon.width,
                     geometry.icon.height, 0, nullptr, DI_NORMAL);
        SelectGuard font(dc, font_ ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(colors.text));
        RECT text = ToRect(geometry.text.left, geometry.text.top, geometry.text.width,
                           geometry.text.height);
        const std::wstring name = win32::Wide(row.name);
        ::DrawTextW(dc, name.c_str(), int(name.size()), &text,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT);
    }
    if (item.itemState & ODS_FOCUS) {
        UniquePen pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_WINDOW)));
        SelectGuard penGuard(dc, pen.Get());
        SelectGuard brushGuard(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
        ::DrawFocusRect(dc, &r);
    }
}

void AvailableListBox::Refill() {
    const std::size_t count = rows_.size();
    const bool visible = count > 0;
    if (visible != (::IsWindowVisible(hwnd_) != FALSE))
        ::ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
    if (count == Count()) {
        // The same number of rows: a refill would leave every row at its number, scrolled to
        // the top with row R selected, so only the rows' contents need drawing anew. This
        // spares the list box's scroll bar update, the costly part of a refill.
        const int row = SelectionAfterFill(Selection(), count);
        if (::SendMessageW(hwnd_, LB_GETTOPINDEX, 0, 0) != 0)
            ::SendMessageW(hwnd_, LB_SETTOPINDEX, 0, 0);
        if (row != kNoRow)
            Select(row);
        ::InvalidateRect(hwnd_, nullptr, FALSE);
        return;
    }
    ::SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    const int previous = Selection();
    SetCount(count);
    const int row = SelectionAfterFill(previous, count);
    if (row != kNoRow)
        Select(row);
    ::SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

std::pair<std::size_t, std::size_t> AvailableListBox::RowsOnScreen() const {
    if (!::IsWindowVisible(hwnd_))
        return {0, 0};
    RECT client;
    ::GetClientRect(hwnd_, &client);
    const auto top = ::SendMessageW(hwnd_, LB_GETTOPINDEX, 0, 0);
    const auto height = std::max<LRESULT>(1, ::SendMessageW(hwnd_, LB_GETITEMHEIGHT, 0, 0));
    const std::size_t first = top < 0 ? 0 : std::size_t(top);
    const std::size_t last =
        std::min(rows_.size(), first + std::size_t(client.bottom / height) + 1);
    return {first, std::max(first, last)};
}

void AvailableListBox::SetCount(std::size_t count) {
    ::SendMessageW(hwnd_, LB_SETCOUNT, WPARAM(count), 0);
}

int AvailableListBox::Selection() const {
    const auto selected = ::SendMessageW(hwnd_, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : int(selected);
}

void AvailableListBox::Select(int row) {
    ::SendMessageW(hwnd_, LB_SETCURSEL, WPARAM(row), 0);
}

std::size_t AvailableListBox::Count() const {
    const auto count = ::SendMessageW(hwnd_, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : std::size_t(count);
}

LRESULT CALLBACK AvailableListBox::SubclassProc(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR, DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<AvailableListBox*>(data);
    try {
        if (message == WM_NCDESTROY) {
            ::RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
            self->hwnd_ = nullptr;
            return ::DefSubclassProc(hwnd, message, wParam, lParam);
        }
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
}

LRESULT AvailableListBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETOBJECT:
        if (LONG(lParam) == LONG(OBJID_CLIENT)) {
            if (!accessible_)
                accessible_ = CreateListAccessible(hwnd_, *this);
            const LRESULT result = ::LresultFromObject(IID_IAccessible, wParam, accessible_);
            if (SUCCEEDED(HRESULT(result)))
                return result;
            // Without a registered proxy for IAccessible (Wine has none) the interface cannot
            // be marshalled, but IUnknown can, and clients ask it for IAccessible.
            return ::LresultFromObject(IID_IUnknown, wParam, accessible_);
        }
        break;
    case WM_VSCROLL:
        // The thumb position of the message has 16 bits; the scroll bar itself has 32.
        if (LOWORD(wParam) == SB_THUMBTRACK || LOWORD(wParam) == SB_THUMBPOSITION) {
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_TRACKPOS | SIF_POS;
            if (::GetScrollInfo(hwnd_, SB_VERT, &info)) {
                const int position = LOWORD(wParam) == SB_THUMBTRACK ? info.nTrackPos : info.nPos;
                ::SendMessageW(hwnd_, LB_SETTOPINDEX, WPARAM(std::max(0, position)), 0);
                return 0;
            }
        }
        break;
    case LB_GETTEXTLEN:
        if (wParam < RowCount())
            return LRESULT(RowName(wParam).size());
        return LB_ERR;
    case LB_GETTEXT:
        if (wParam < RowCount() && lParam) {
            const std::wstring name = RowName(wParam);
            std::memcpy(reinterpret_cast<wchar_t*>(lParam), name.c_str(),
                        (name.size() + 1) * sizeof(wchar_t));
            return LRESULT(name.size());
        }
        return LB_ERR;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd_, message, wParam, lParam);
}

} // namespace orvan::ui
