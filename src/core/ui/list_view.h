#pragma once
// The program's grid (catalog paths in the settings dialog, properties in the details
// window) as a model: columns sharing the width by weight, rows of cell values with one
// selected row, sorting by a column, incremental search by typing, check-box cells,
// scrolling and hit tests. The window turns mouse and key messages into calls here and
// draws the plan that PlanPaint hands it; nothing here needs a screen.
//
// All lengths are pixels of the window's DPI: the window passes its client size and the
// metrics scaled with ListViewMetrics::ForDpi.
#include "core/ui/layout.h"
#include "core/ui/virtual_keys.h"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvan {

enum class ColumnAlignment : std::uint8_t { Left = 0, Center = 1, Right = 2 };
enum class ColumnKind : std::uint8_t { Text = 0, CheckBox = 10 };

struct ListViewColumn {
    std::string caption;
    ColumnAlignment alignment = ColumnAlignment::Left;
    double width = 100;      // a weight, or pixels when fixedWidth
    bool fixedWidth = false; // false for every column AddColumn makes
    int pixelWidth = 0;      // kept current by the grid; 0 while hidden
    bool visible = true;     // hidden columns take no space and are skipped everywhere
    ColumnKind kind = ColumnKind::Text;
};

// A cell: empty, a Boolean, a whole number, a number or a text. Check-box cells hold true,
// false or the whole number 2 (the third state, drawn ticked and greyed, never flipped).
struct CellValue {
    std::variant<std::monostate, bool, std::int64_t, double, std::string> value;

    CellValue() = default;
    CellValue(bool b) : value(b) {}
    template <std::integral T>
    requires(!std::same_as<T, bool>) CellValue(T n) : value(static_cast<std::int64_t>(n)) {}
    CellValue(double d) : value(d) {}
    CellValue(std::string text) : value(std::move(text)) {}
    CellValue(std::string_view text) : value(std::string(text)) {}
    CellValue(const char* text) : value(std::string(text)) {}

    bool operator==(const CellValue&) const = default;
};

enum class CheckState : std::uint8_t { Unchecked, Checked, Mixed };

// How a check-box cell shows its value: 2 is the third state, any other number or a
// Boolean is ticked when not zero, and an empty cell or a text is empty.
CheckState CellCheckState(const CellValue& cell);

// The value as a text: whole numbers in decimal, numbers in their shortest exact form,
// Booleans as "True" and "False", an empty cell as "".
std::string CellValueText(const CellValue& cell);

// What a text cell shows: the value's text, or for a multi-line text its first line, then
// "... [", the number of CR characters and "]".
std::string CellDisplayText(const CellValue& cell);

struct ListViewItem {
    std::int32_t id = 0;           // order of adding, from 1; the counter restarts when cleared
    std::vector<CellValue> values; // one per column, index = column index
    std::int32_t data = -1;        // the caller's value
    std::int32_t icon = 0;         // drawn in the first visible column; 0 for none
    bool selected = false;
};

// Mouse buttons and the shift state Windows reports with a button message.
enum class MouseButton : std::uint8_t { Left, Right, Middle };
namespace ShiftState {
constexpr unsigned Shift = 1;
constexpr unsigned Alt = 2;
constexpr unsigned Ctrl = 4;
constexpr unsigned Left = 8;
constexpr unsigned Right = 16;
constexpr unsigned Middle = 32;
constexpr unsigned Double = 64;
} // namespace ShiftState

// Sizes at 96 DPI; ForDpi scales them for a monitor.
struct ListViewMetrics {
    int headerHeight = 19;
    int rowHeight = 17;
    int scrollBarWidth = 18;
    int chooserWidth = 18;       // the column-chooser button at the header's right end
    int widthReserve = 16;       // client width the columns leave free
    int splitTolerance = 2;      // how near a column boundary the header splits
    int headerTextInset = 5;     // header caption from the cell's edges
    int cellTextInset = 2;       // cell text from the cell's edges
    int checkBoxSize = 13;       // the flat check box
    int iconSize = 16;           // a row's icon
    int sortArrowWidth = 8;      // the sort arrow at the sorted header's right end
    int minThumbLength = 8;      // the scroll bar's thumb never gets shorter
    int searchBoxWidth = 150;    // the incremental-search box, before the limits below
    int searchBoxHeight = 18;    //
    int searchBoxMinWidth = 100; //
    int searchBoxMargin = 10;    // from the rows area's bottom-right corner

    static ListViewMetrics ForDpi(int dpi);
};

// A weight moves at a column boundary only while both columns keep a weight above this.
inline constexpr double kMinColumnWeight = 30;

// The scroll bar repeats a held arrow or page step once every millionth of a day.
inline constexpr double kScrollRepeatMs = 86.4;

// The pixel width of each column for a client width (see ComputeColumnWidths in the
// grid); hidden columns get 0. Exposed for the settings dialog's layout and for tests.
std::vector<int> ColumnPixelWidths(const std::vector<ListViewColumn>& columns, int clientWidth,
                                   int widthReserve = 16);

// ---- What the window draws ----

// System colours by their GetSysColor index.
namespace ListViewColor {
constexpr int Window = 5;
constexpr int WindowText = 8;
constexpr int Highlight = 13;
constexpr int HighlightText = 14;
constexpr int BtnFace = 15;
} // namespace ListViewColor

enum class SortArrow : std::uint8_t { None, Ascending, Descending };

struct ListViewHeaderCellPlan {
    int column = 0;
    UiRect rect;
    UiRect textRect; // single line, end ellipsis, aligned as the column
    std::string caption;
    ColumnAlignment alignment = ColumnAlignment::Left;
    bool pressed = false;
    SortArrow arrow = SortArrow::None; // drawn in arrowRect; the header drawn sorted
    UiRect arrowRect;
};

struct ListViewCellPlan {
    int column = 0;
    UiRect rect;
    ColumnKind kind = ColumnKind::Text;
    ColumnAlignment alignment = ColumnAlignment::Left;
    // Text cells: single line, vertically centred, end ellipsis, no "&" prefixes.
    UiRect textRect;
    std::string text;
    // Check-box cells: the box and its state.
    UiRect checkRect;
    CheckState check = CheckState::Unchecked;
    bool shaded = false; // the sort column's background
};

struct ListViewRowPlan {
    int index = 0;
    UiRect rect;
    bool selected = false;
    bool focusRect = false; // the focused row while the grid has the focus
    int background = ListViewColor::Window;
    int textColor = ListViewColor::WindowText;
    std::int32_t icon = 0; // drawn in iconRect when not 0
    UiRect iconRect;
    std::vector<ListViewCellPlan> cells; // visible columns, left to right
};

enum class ScrollBarPart : std::uint8_t { None, UpArrow, PageUp, Thumb, PageDown, DownArrow };

struct ScrollBarGeometry {
    UiRect bar;
    UiRect upArrow;
    UiRect downArrow;
    UiRect track; // between the arrows
    UiRect thumb;
};

struct ListViewScrollBarPlan {
    ScrollBarGeometry geometry;
    ScrollBarPart pressed = ScrollBarPart::None;
};

struct ListViewSearchBoxPlan {
    UiRect rect;
    std::string typed;     // the search text
    std::string foundText; // the focused row's first-column text
};

struct ListViewPaintPlan {
    UiRect client;       // filled with the window colour first
    bool border = false; // a frame around client, drawn last
    UiRect header;       // empty without a header
    std::vector<ListViewHeaderCellPlan> headerCells;
    UiRect chooserButton;
    bool chooserPressed = false;
    UiRect rowsArea; // rows are clipped to it
    std::vector<ListViewRowPlan> rows;
    std::optional<ListViewScrollBarPlan> scrollBar;
    std::optional<ListViewSearchBoxPlan> searchBox;
};

// ---- Hit tests ----

enum class ListViewArea : std::uint8_t {
    Nothing,        // outside the grid, or the header beyond the last column
    HeaderCell,     // column
    HeaderBoundary, // column = the left one, rightColumn = the right one
    ColumnChooser,
    Row,       // row, and column (-1 beyond the last column)
    BelowRows, // the rows area below the last row
    ScrollBar, // scrollBarPart
};

struct ListViewHit {
    ListViewArea area = ListViewArea::Nothing;
    int row = -1;
    int column = -1;
    int rightColumn = -1;
    ScrollBarPart scrollBarPart = ScrollBarPart::None;

    bool operator==(const ListViewHit&) const = default;
};

enum class ListViewCursor : std::uint8_t { Arrow, SizeWE };

// ---- Keys ----

struct ListViewKeyStroke {
    std::uint32_t virtualKey = 0;
    bool ctrl = false;
};

enum class ListViewKeyAction : std::uint8_t {
    None,
    FocusPrevious, // the previous row, or with a search text the previous matching row
    FocusNext,
    FocusPageUp, // by the whole rows that fit; nothing while a search text is set
    FocusPageDown,
    FocusFirst, // the first row, or with a search text the first matching row
    FocusLast,
    ScrollRowUp,
    ScrollRowDown,
    ScrollPageUp,
    ScrollPageDown,
    ScrollTop,
    ScrollBottom,
    Execute,            // OnFileExecute for the selected focused row
    ClickEnterMenuItem, // no selected focused row: the window clicks its menu's Enter item
    FlipCheckBox,       // the first visible check-box column of the selected focused row
    EndSearch,
};

// What a key does. A search text makes Page Up and Page Down do nothing and lets Space
// extend the search (the window's character message) rather than flip a tick behind the
// user's typing.
ListViewKeyAction ClassifyListViewKey(const ListViewKeyStroke& key, bool searchActive,
                                      bool focusedRowSelected);

// What the window must do after an input call, beyond repainting.
enum class ListViewRequest : std::uint8_t {
    None,
    PopupMenu,          // the context menu at the mouse, after the repaint
    ColumnChooser,      // the column menu (ColumnChooserItems) at the mouse
    ClickEnterMenuItem, // the context menu's item whose shortcut is Enter, if any
    StartScrollRepeat,  // call RepeatScroll every kScrollRepeatMs until the button is up
    CaptureMouse,       // a header press or a drag: keep the mouse until the button is up
};

struct ColumnChooserItem {
    std::string caption;
    bool checked = false; // the column is visible
    bool enabled = false; // the first column cannot be hidden
};

// The grid as plain text, for a window's text: the visible captions, then one line per
// row, cells separated by tabs, a check box shown as "[x]", "[ ]" or "[-]" (third state),
// lines ended by CR LF.
class ListView;
std::string ListViewText(const ListView& grid);

// What an accessibility layer reports for one cell.
struct AccessibleCell {
    std::string header;
    std::string text; // the displayed text; "" for a check box
    std::optional<CheckState> check;
};

class ListView {
public:
    ListView();

    // ---- Events (the published ones of the forms) and the repaint request ----
    void SetOnRowChange(std::function<void()> handler) { onRowChange_ = std::move(handler); }
    void SetOnChangeValue(std::function<void(int row, int cell)> handler) {
        onChangeValue_ = std::move(handler);
    }
    void SetOnFileExecute(std::function<void(int index, unsigned shift)> handler) {
        onFileExecute_ = std::move(handler);
    }
    void SetRepaintHandler(std::function<void()> handler) { repaint_ = std::move(handler); }

    // ---- Geometry ----
    void SetClientSize(int width, int height);
    UiSize ClientSize() const { return client_; }
    void SetMetrics(const ListViewMetrics& metrics);
    const ListViewMetrics& Metrics() const { return metrics_; }
    void SetShowBorder(bool show);
    bool ShowBorder() const { return showBorder_; }
    // Whether the window has the keyboard focus: changes the selection colours.
    void SetHasFocus(bool focused);
    bool HasFocus() const { return hasFocus_; }

    UiRect HeaderRect() const;
    UiRect RowsArea() const; // without the scroll bar
    int ContentHeight() const;
    bool ScrollBarVisible() const;
    ScrollBarGeometry ScrollBar() const; // empty rectangles without a scroll bar
    int ScrollOffset() const { return scrollOffset_; }
    void SetScrollOffset(int offset); // clamped to the content
    int MaxScrollOffset() const;
    int RowsPerPage() const; // whole rows that fit, at least 1

    // ---- Columns ----
    void ClearColumns();
    void AddColumn(std::string caption, ColumnAlignment alignment, bool visible, double weight,
                   ColumnKind kind);
    void AddColumn(ListViewColumn column);
    const std::vector<ListViewColumn>& Columns() const { return columns_; }
    std::vector<ColumnChooserItem> ColumnChooserItems() const;
    // The column chooser's command: shows or hides a column; the first stays visible.
    void ToggleColumnVisible(int column);

    // ---- Items ----
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updating_; }
    void ClearItems();
    void AddItem(std::vector<CellValue> values, bool selected, std::int32_t icon,
                 std::int32_t data);
    const std::vector<ListViewItem>& Items() const { return items_; }
    int ItemsCount() const { return static_cast<int>(items_.size()); }
    // A cell's value; changing it repaints unless updating. Out-of-range cells are ignored.
    void SetCellValue(int row, int column, CellValue value);

    int ItemFocusedRow() const { return focusedRow_; }
    // Focuses and selects a row and scrolls it into view; ignored for a row that is not there.
    void FocusRow(int row);
    bool ItemIsSelected() const;
    ListViewItem ItemSelected() const;
    std::int32_t FocusedData() const;

    // ---- Sorting ----
    int SortedColumn() const { return sortedColumn_; }
    bool SortedColumnReverse() const { return sortedReverse_; }
    // Sorts at once (a column out of range makes the grid unsorted).
    void SetSort(int column, bool reverse);
    // The header click: another column ascending, then descending, then unsorted.
    void CycleSort(int column);

    // ---- Incremental search ----
    bool SearchActive() const { return !searchText_.empty(); }
    const std::string& SearchText() const { return searchText_; }
    // A typed character (Backspace is U+0008). True when the search took it.
    bool KeyChar(char32_t character);
    void EndSearch();

    // ---- Input ----
    ListViewHit HitTest(UiPoint point) const;
    ListViewCursor CursorAt(UiPoint point) const;
    ListViewRequest MouseDown(MouseButton button, UiPoint point, unsigned shift);
    void MouseMove(UiPoint point);
    ListViewRequest MouseUp(MouseButton button, UiPoint point);
    void DoubleClick(UiPoint point);
    // One wheel notch: a row up or down, only while the scroll bar shows.
    void MouseWheel(bool up);
    // The timer's step while an arrow or page area is held: steps again only while the
    // mouse is still over the part pressed. True when the grid scrolled.
    bool RepeatScroll(UiPoint mouse);
    // The key after the window's own handling; OnRowChange follows every key.
    ListViewRequest KeyDown(const ListViewKeyStroke& key);

    // ---- Painting and accessibility ----
    ListViewPaintPlan PlanPaint() const;
    std::vector<AccessibleCell> AccessibleRow(int row) const;
    // A row's name for assistive technology: the texts of its visible text cells,
    // separated by tabs.
    std::string AccessibleRowName(int row) const;
    // Where a row lies in the client area (also when scrolled out of the rows area), and a
    // visible column's cell of it; empty for a row or column that is not there.
    UiRect RowRect(int row) const;
    UiRect CellRect(int row, int column) const;
    // What a click on a check-box cell does, for callers that are not the mouse (an
    // accessibility client's default action): flips the tick unless it holds the third
    // state, then raises OnChangeValue. Ignored for other cells.
    void ToggleCheckCell(int row, int column);

private:
    struct Drag {
        enum class Kind { None, Header, Chooser, Resize, Thumb, ScrollRepeat } kind = Kind::None;
        int column = -1;
        int rightColumn = -1;
        int anchor = 0; // mouse x of the last applied resize step; thumb: mouse y at press
        int startOffset = 0;
        ScrollBarPart part = ScrollBarPart::None;
    };

    UiRect Inner() const;
    void RecomputeWidths();
    void Repaint() const;
    void RaiseRowChange() const;
    void ClampScroll();
    void ScrollIntoView(int row);
    void FocusAndSelect(int row);
    void DeselectAll();
    bool ValidRow(int row) const { return row >= 0 && row < ItemsCount(); }
    void SortItems();
    int ColumnAtX(int x) const;
    bool RowMatchesSearch(int row, std::string_view lowerText) const;
    int FindMatch(std::string_view lowerText, int from, int step) const;
    int FirstCheckBoxColumn() const;
    void FlipCell(int row, int column);
    void ScrollBy(int pixels);
    void StepScrollBar(ScrollBarPart part);
    void ApplyKey(ListViewKeyAction action);

    ListViewMetrics metrics_;
    UiSize client_;
    bool showBorder_ = true;
    bool hasFocus_ = false;
    std::vector<ListViewColumn> columns_;
    std::vector<ListViewItem> items_;
    int focusedRow_ = -1;
    bool updating_ = false;
    int sortedColumn_ = -1;
    bool sortedReverse_ = false;
    int scrollOffset_ = 0;
    std::int32_t idCounter_ = 0;
    std::string searchText_;
    Drag drag_;
    unsigned lastShift_ = 0;
    std::function<void()> onRowChange_;
    std::function<void(int, int)> onChangeValue_;
    std::function<void(int, unsigned)> onFileExecute_;
    std::function<void()> repaint_;
};

} // namespace orvan
