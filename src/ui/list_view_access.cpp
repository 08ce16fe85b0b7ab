// The grid for assistive technology: an accessible table whose children are the rows.
// A row is an object of its own (named by its text cells, selected and focused as the grid
// shows it) whose children are its cells as simple elements: text cells named by their
// text, check-box cells as check buttons reporting checked, unchecked or mixed, whose
// default action flips them as a click does. The table also answers for a row given by
// its child id, for clients that do not ask for the row objects. Row objects are made on
// request and hold no more than a row number, so a grid of any size costs nothing here.
#include "ui/list_view.h"

#include "ui/accessible_base.h"

#include "win32/wide_text.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace orvan::ui {

namespace {

class GridAccessible;

// What the table and its rows both need of the grid.
struct GridLink {
    ListView* grid = nullptr; // nullptr once the window is gone
    HWND window = nullptr;

    bool Alive() const { return grid && ::IsWindow(window); }
    const orvan::ListView& Model() const { return grid->Model(); }
    bool ValidRow(long row) const { return row >= 0 && row < Model().ItemsCount(); }

    // The visible columns in display order; cell k of a row is column VisibleColumns()[k].
    std::vector<int> VisibleColumns() const {
        std::vector<int> columns;
        const auto& all = Model().Columns();
        for (std::size_t i = 0; i < all.size(); ++i)
            if (all[i].visible)
                columns.push_back(int(i));
        return columns;
    }

    long RowState(long row) const {
        const orvan::ListView& model = Model();
        long flags = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
        const auto& item = model.Items()[std::size_t(row)];
        if (item.selected)
            flags |= STATE_SYSTEM_SELECTED;
        if (row == model.ItemFocusedRow() && ::GetFocus() == window)
            flags |= STATE_SYSTEM_FOCUSED;
        const UiRect rect = model.RowRect(int(row));
        const UiRect area = model.RowsArea();
        if (rect.Bottom() <= area.top || rect.top >= area.Bottom())
            flags |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
        // The row's first tick, for clients that read rows only.
        for (const AccessibleCell& cell : model.AccessibleRow(int(row)))
            if (cell.check) {
                if (*cell.check == CheckState::Checked)
                    flags |= STATE_SYSTEM_CHECKED;
                else if (*cell.check == CheckState::Mixed)
                    flags |= STATE_SYSTEM_MIXED;
                break;
            }
        return flags;
    }

    HRESULT Location(const UiRect& rect, long* left, long* top, long* width, long* height) const {
        POINT corner{rect.left, rect.top};
        ::ClientToScreen(window, &corner);
        *left = corner.x;
        *top = corner.y;
        *width = rect.width;
        *height = rect.height;
        return S_OK;
    }
};

// One row: its cells are simple elements with child ids 1 to the visible column count.
class RowAccessible final : public AccessibleBase {
public:
    RowAccessible(GridAccessible* table, const GridLink* link, long row);
    ~RowAccessible() override;

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count)
            return E_POINTER;
        if (!Alive())
            return RPC_E_DISCONNECTED;
        *count = long(link_->VisibleColumns().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
        if (!dispatch)
            return E_POINTER;
        *dispatch = nullptr;
        if (!Alive())
            return RPC_E_DISCONNECTED;
        return Cell(child) >= -1 ? S_FALSE : E_INVALIDARG; // cells are simple elements
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name)
            return E_POINTER;
        *name = nullptr;
        if (!Alive())
            return RPC_E_DISCONNECTED;
        const long cell = Cell(child);
        if (cell < -1)
            return E_INVALIDARG;
        if (cell == -1) {
            *name = MakeBstr(link_->Model().AccessibleRowName(int(row_)));
        } else {
            const AccessibleCell info = CellInfo(cell);
            // A check box is named by its column; its state says the rest.
            *name = MakeBstr(info.check ? info.header : info.text);
        }
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (!value)
            return E_POINTER;
        *value = nullptr;
        return Cell(child) >= -1 ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        if (!text)
            return E_POINTER;
        *text = nullptr;
        if (!Alive())
            return RPC_E_DISCONNECTED;
        const long cell = Cell(child);
        if (cell < -1)
            return E_INVALIDARG;
        if (cell == -1)
            return S_FALSE;
        *text = MakeBstr(CellInfo(cell).header); // the column a cell belongs to
        return *text ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role)
            return E_POINTER;
        ::VariantInit(role);
        if (!Alive())
            return RPC_E_DISCONNECTED;
        const long cell = Cell(child);
        if (cell < -1)
            return E_INVALIDARG;
        role->vt = VT_I4;
        if (cell == -1)
            role->lVal = ROLE_SYSTEM_ROW;
        else
            role->lVal = CellInfo(cell).check ? ROLE_SYSTEM_CHECKBUTTON : ROLE_SYSTEM_CELL;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state)
            return E_POINTER;
        ::VariantInit(state);
        if (!Alive())
            return RPC_E_DISCONNECTED;
        const long cell = Cell(child);
        if (cell < -1)
            return E_INVALIDARG;
        state->vt = VT_I4;
        if (cell == -1) {
            state->lVal = link_->RowState(row_);
            return S_OK;
        }
        const AccessibleCell info = CellInfo(cell);
        long flags = link_->RowState(row_) &
                     (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_SELECTED);
        if (info.check) {
            if (*info.check == CheckState::Checked)
                flags |= STATE_SYSTEM_CHECKED;
            else if (*info.check == CheckState::Mixed)
                flags |= STATE_SYSTEM_MIXED;
        } else {
            flags |= STATE_SYSTEM_READONLY;
        }
        state->lVal = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus)
            return E_POINTER;
        ::VariantInit(focus);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection)
            return E_POINTER;
        ::VariantInit(selection);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!action)
            return E_POINTER;
        *action = nullptr;
        if (!Alive())
            return RPC_E_DISCONNECTED;
        const long cell = Cell(child);
        if (cell < 0)
            return cell == -1 ? S_FALSE : E_INVALIDARG;
        const AccessibleCell info = CellInfo(cell);
        if (!info.check || *info.check == CheckState::Mixed)
            return S_FALSE;
        *action = ::SysAllocString(*info.check == CheckState::Checked ? L"Uncheck" : L"Check");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        if (!Alive())
            return RPC_E_DISCONNECTED;
        if (Cell(child) < -1)
            return E_INVALIDARG;
        if (flags & SELFLAG_TAKEFOCUS)
            ::SetFocus(link_->window);
        if (flags & (SELFLAG_TAKESELECTION | SELFLAG_ADDSELECTION))
            link_->grid->SelectRow(int(row_));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height)
            return E_POINTER;
        if (!Alive())
            return RPC_E_DISCONNECTED;
        const long cell = Cell(child);
        if (cell < -1)
            return E_INVALIDARG;
        const orvan::ListView& model = link_->Model();
        const UiRect rect = cell == -1 ? model.RowRect(int(row_))
                                       : model.CellRect(int(row_), link_->VisibleColumns()[cell]);
        return link_->Location(rect, left, top, width, height);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end)
            return E_POINTER;
        ::VariantInit(end);
        if (!Alive())
            return RPC_E_DISCONNECTED;
        return Navigate(direction, Cell(start), long(link_->VisibleColumns().size()), false, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        if (!child)
            return E_POINTER;
        ::VariantInit(child);
        if (!Alive())
            return RPC_E_DISCONNECTED;
        POINT at{x, y};
        ::ScreenToClient(link_->window, &at);
        const ListViewHit hit = link_->Model().HitTest({at.x, at.y});
        if (hit.area != ListViewArea::Row || hit.row != row_)
            return S_FALSE;
        const std::vector<int> columns = link_->VisibleColumns();
        const auto found = std::find(columns.begin(), columns.end(), hit.column);
        *child =
            ChildVariant(found == columns.end() ? CHILDID_SELF : long(found - columns.begin()) + 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!Alive())
            return RPC_E_DISCONNECTED;
        const long cell = Cell(child);
        if (cell < 0)
            return cell == -1 ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
        if (!CellInfo(cell).check)
            return DISP_E_MEMBERNOTFOUND;
        link_->grid->ToggleCheck(int(row_), link_->VisibleColumns()[cell]);
        return S_OK;
    }

private:
    bool Alive() const { return link_->Alive() && link_->ValidRow(row_); }

    // -1 for the row itself, the cell's index for a child id, -2 for an invalid id.
    long Cell(const VARIANT& child) const {
        if (child.vt != VT_I4)
            return -2;
        if (child.lVal == CHILDID_SELF)
            return -1;
        if (!Alive() || child.lVal < 1 || child.lVal > long(link_->VisibleColumns().size()))
            return -2;
        return child.lVal - 1;
    }

    AccessibleCell CellInfo(long cell) const {
        const std::vector<AccessibleCell> cells = link_->Model().AccessibleRow(int(row_));
        return std::size_t(cell) < cells.size() ? cells[std::size_t(cell)] : AccessibleCell{};
    }

    GridAccessible* table_;
    const GridLink* link_;
    long row_;
};

class GridAccessible final : public AccessibleBase {
public:
    explicit GridAccessible(ListView& grid) { link_ = {&grid, grid.Handle()}; }

    void Disconnect() { link_.grid = nullptr; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        if (!link_.Alive())
            return RPC_E_DISCONNECTED;
        return ::CreateStdAccessibleObject(link_.window, OBJID_WINDOW, IID_IDispatch,
                                           reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count)
            return E_POINTER;
        if (!link_.Alive())
            return RPC_E_DISCONNECTED;
        *count = long(std::min(link_.Model().ItemsCount(), INT_MAX));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
        if (!dispatch)
            return E_POINTER;
        *dispatch = nullptr;
        if (!link_.Alive())
            return RPC_E_DISCONNECTED;
        const long row = Row(child);
        if (row < -1)
            return E_INVALIDARG;
        if (row == -1)
            return S_FALSE;
        *dispatch = new RowAccessible(this, &link_, row);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name)
            return E_POINTER;
        *name = nullptr;
        if (!link_.Alive())
            return RPC_E_DISCONNECTED;
        const long row = Row(child);
        if (row < -1)
            return E_INVALIDARG;
        if (row == -1)
            return S_FALSE; // the grid's name is its label's, which the window object gives
        *name = MakeBstr(link_.Model().AccessibleRowName(int(row)));
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
        if (!link_.Alive())
            return RPC_E_DISCONNECTED;
        const long row = Row(child);
        if (row < -1)
            return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = row == -1 ? ROLE_SYSTEM_TABLE : ROLE_SYSTEM_ROW;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state)
            return E_POINTER;
        ::VariantInit(state);
        if (!link_.Alive())
            return RPC_E_DISCONNECTED;
        const long row = Row(child);
        if (row < -1)
            return E_INVALIDARG;
        state->vt = VT_I4;
        if (row >= 0) {
            state->lVal = link_.RowState(row);
            return S_OK;
        }
        long flags = STATE_SYSTEM_FOCUSABLE;
        if (::GetFocus() == link_.window)
            flags |= STATE_SYSTEM_FOCUSED;
        if (!::IsWindowVisible(link_.window))
            flags |= STATE_SYSTEM_INVISIBLE;
        state->lVal = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus)
            return E_POINTER;
        ::VariantInit(focus);
        if (!link_.Alive())
            return RPC_E_DISCONNECTED;
        if (::GetFocus() != link_.window)
            return S_FALSE;
        const orvan::ListView& model = link_.Model();
        *focus =
            ChildVariant(model.ItemIsSelected() ? long(model.ItemFocusedRow()) + 1 : CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection)
            return E_POINTER;
        ::VariantInit(selection);
        if (!link_.Alive())
            return RPC_E_DISCONNECTED;
        // One row at most is selected, and only the focused one can be.
        const orvan::ListView& model = link_.Model();
        if (!model.ItemIsSelected())
            return S_FALSE;
        *selection = ChildVariant(long(model.ItemFocusedRow()) + 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!action)
            return E_POINTER;
        *action = nullptr;
        return Row(child) >= -1 ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        if (!link_.Alive())
            return RPC_E_DISCONNECTED;
        const long row = Row(child);
        if (row < 0)
            return E_INVALIDARG;
        if (flags & SELFLAG_TAKEFOCUS)
            ::SetFocus(link_.window);
        if (flags & (SELFLAG_TAKESELECTION | SELFLAG_ADDSELECTION))
            link_.grid->SelectRow(int(row));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height)
            return E_POINTER;
        if (!link_.Alive())
            return RPC_E_DISCONNECTED;
        const long row = Row(child);
        if (row < -1)
            return E_INVALIDARG;
        const orvan::ListView& model = link_.Model();
        const UiSize size = model.ClientSize();
        const UiRect rect =
            row == -1 ? UiRect{0, 0, size.width, size.height} : model.RowRect(int(row));
        return link_.Location(rect, left, top, width, height);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end)
            return E_POINTER;
        ::VariantInit(end);
        if (!link_.Alive())
            return RPC_E_DISCONNECTED;
        return Navigate(direction, Row(start), long(link_.Model().ItemsCount()), true, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        if (!child)
            return E_POINTER;
        ::VariantInit(child);
        if (!link_.Alive())
            return RPC_E_DISCONNECTED;
        POINT at{x, y};
        ::ScreenToClient(link_.window, &at);
        const UiSize size = link_.Model().ClientSize();
        if (at.x < 0 || at.y < 0 || at.x >= size.width || at.y >= size.height)
            return S_FALSE;
        const ListViewHit hit = link_.Model().HitTest({at.x, at.y});
        if (hit.area != ListViewArea::Row) {
            *child = ChildVariant(CHILDID_SELF);
            return S_OK;
        }
        child->vt = VT_DISPATCH;
        child->pdispVal = new RowAccessible(this, &link_, hit.row);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!link_.Alive())
            return RPC_E_DISCONNECTED;
        const long row = Row(child);
        if (row < 0)
            return row == -1 ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
        // A row's action is Enter on it.
        link_.grid->SelectRow(int(row));
        ::SendMessageW(link_.window, WM_KEYDOWN, VK_RETURN, 0);
        return S_OK;
    }

private:
    // -1 for the table itself, the row for a child id, -2 for an invalid id.
    long Row(const VARIANT& child) const {
        if (child.vt != VT_I4)
            return -2;
        if (child.lVal == CHILDID_SELF)
            return -1;
        if (!link_.Alive() || !link_.ValidRow(child.lVal - 1))
            return -2;
        return child.lVal - 1;
    }

    GridLink link_;
};

RowAccessible::RowAccessible(GridAccessible* table, const GridLink* link, long row)
    : table_(table), link_(link), row_(row) {
    table_->AddRef(); // the row's link lives in the table
}

RowAccessible::~RowAccessible() {
    table_->Release();
}

HRESULT STDMETHODCALLTYPE RowAccessible::get_accParent(IDispatch** parent) {
    if (!parent)
        return E_POINTER;
    table_->AddRef();
    *parent = table_;
    return S_OK;
}

} // namespace

IAccessible* CreateGridAccessible(ListView& grid) {
    return new GridAccessible(grid);
}

void DisconnectGridAccessible(IAccessible* accessible) {
    if (accessible)
        static_cast<GridAccessible*>(accessible)->Disconnect();
}

} // namespace orvan::ui
