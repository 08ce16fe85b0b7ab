#include "core/ui/list_view.h"

#include "core/base/utf.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numeric>

namespace orvan {

namespace {

// Pixel widths round half to even, as the widths were always rounded; the default
// floating-point environment does exactly that.
int RoundPixels(double value) {
    return static_cast<int>(std::nearbyint(value));
}

UiRect Inset(const UiRect& rect, int dx, int dy) {
    UiRect r{rect.left + dx, rect.top + dy, rect.width - 2 * dx, rect.height - 2 * dy};
    r.width = std::max(r.width, 0);
    r.height = std::max(r.height, 0);
    return r;
}

bool Contains(const UiRect& rect, UiPoint p) {
    return p.x >= rect.left && p.x < rect.Right() && p.y >= rect.top && p.y < rect.Bottom();
}

// Where a box of the given width goes inside rect for an alignment.
int AlignLeft(const UiRect& rect, int width, ColumnAlignment alignment) {
    switch (alignment) {
    case ColumnAlignment::Center:
        return rect.left + (rect.width - width) / 2;
    case ColumnAlignment::Right:
        return rect.Right() - width;
    default:
        return rect.left;
    }
}

const CellValue& EmptyCell() {
    static const CellValue empty;
    return empty;
}

const CellValue& CellOf(const ListViewItem& item, int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= item.values.size())
        return EmptyCell();
    return item.values[static_cast<std::size_t>(column)];
}

// The part of a cell the sort compares: nothing, a number or a lower-case text. Empty
// cells come first, then numbers, then texts. Sixteen trivially copyable bytes, so that
// the sort moves small records; a text lies in one buffer that holds every key of a sort.
struct SortKey {
    enum Rank : std::uint8_t { Empty = 0, Number = 1, Text = 3 };
    Rank rank = Empty;
    // UTF-8 byte order is UTF-16 order unless a character from U+E000 up takes part
    // (lead bytes EE to F4); only such texts need the careful comparison.
    bool wide = false;
    bool whole = true; // a whole number, held exactly
    std::uint32_t length = 0;
    union {
        std::int64_t integer = 0;
        double number;
        std::size_t offset; // of the text in the buffer while it may still grow
        const char* text;
    };
};

SortKey MakeSortKey(const CellValue& cell, std::string& textBuffer) {
    SortKey key;
    if (const auto* b = std::get_if<bool>(&cell.value)) {
        key.rank = SortKey::Number;
        key.integer = *b ? 1 : 0;
    } else if (const auto* n = std::get_if<std::int64_t>(&cell.value)) {
        key.rank = SortKey::Number;
        key.integer = *n;
    } else if (const auto* d = std::get_if<double>(&cell.value)) {
        key.rank = SortKey::Number;
        key.whole = false;
        key.number = *d;
    } else if (const auto* s = std::get_if<std::string>(&cell.value)) {
        key.rank = SortKey::Text;
        key.offset = textBuffer.size();
        // Most texts are ASCII, which is lowered here byte by byte; the rest goes through
        // the full case mapping.
        const bool ascii = std::all_of(s->begin(), s->end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (ascii) {
            textBuffer.resize(key.offset + s->size());
            char* out = textBuffer.data() + key.offset;
            for (const char c : *s)
                *out++ = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        } else {
            const std::string lower = Lower(*s);
            key.wide = std::any_of(lower.begin(), lower.end(),
                                   [](char c) { return static_cast<unsigned char>(c) >= 0xEE; });
            textBuffer += lower;
        }
        key.length = static_cast<std::uint32_t>(textBuffer.size() - key.offset);
    }
    return key;
}

int CompareKeys(const SortKey& a, const SortKey& b) {
    if (a.rank != b.rank)
        return a.rank < b.rank ? -1 : 1;
    if (a.rank == SortKey::Number) {
        if (a.whole && b.whole)
            return a.integer < b.integer ? -1 : (a.integer > b.integer ? 1 : 0);
        const double x = a.whole ? static_cast<double>(a.integer) : a.number;
        const double y = b.whole ? static_cast<double>(b.integer) : b.number;
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.rank != SortKey::Text)
        return 0;
    const std::string_view x(a.text, a.length);
    const std::string_view y(b.text, b.length);
    if (a.wide || b.wide)
        return CompareUtf16(x, y);
    const int c = std::memcmp(x.data(), y.data(), std::min(x.size(), y.size()));
    if (c != 0)
        return c < 0 ? -1 : 1;
    return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}

// The column typing searches: the first visible text column. A tick box shows no text to
// match, and both grids of the program start with one.
int SearchColumn(const std::vector<ListViewColumn>& columns) {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].visible && columns[i].kind == ColumnKind::Text)
            return static_cast<int>(i);
    return -1;
}

void RemoveLastCharacter(std::string& text) {
    std::size_t cut = text.size();
    while (cut > 0) {
        --cut;
        if ((static_cast<unsigned char>(text[cut]) & 0xC0) != 0x80)
            break;
    }
    text.resize(cut);
}

} // namespace

// ---- Cells ----

CheckState CellCheckState(const CellValue& cell) {
    if (const auto* b = std::get_if<bool>(&cell.value))
        return *b ? CheckState::Checked : CheckState::Unchecked;
    if (const auto* n = std::get_if<std::int64_t>(&cell.value))
        return *n == 2 ? CheckState::Mixed
                       : (*n != 0 ? CheckState::Checked : CheckState::Unchecked);
    if (const auto* d = std::get_if<double>(&cell.value))
        return *d == 2 ? CheckState::Mixed
                       : (*d != 0 ? CheckState::Checked : CheckState::Unchecked);
    return CheckState::Unchecked;
}

std::string CellValueText(const CellValue& cell) {
    if (const auto* s = std::get_if<std::string>(&cell.value))
        return *s;
    if (const auto* b = std::get_if<bool>(&cell.value))
        return *b ? "True" : "False";
    if (const auto* n = std::get_if<std::int64_t>(&cell.value))
        return std::to_string(*n);
    if (const auto* d = std::get_if<double>(&cell.value)) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.15g", *d);
        return buffer;
    }
    return {};
}

std::string CellDisplayText(const CellValue& cell) {
    std::string text = CellValueText(cell);
    const auto breaks = std::count(text.begin(), text.end(), '\r');
    if (breaks == 0)
        return text;
    text.resize(text.find('\r'));
    return text + "... [" + std::to_string(breaks) + "]";
}

// ---- Widths ----

ListViewMetrics ListViewMetrics::ForDpi(int dpi) {
    ListViewMetrics m;
    for (int* value :
         {&m.headerHeight, &m.rowHeight, &m.scrollBarWidth, &m.chooserWidth, &m.widthReserve,
          &m.splitTolerance, &m.headerTextInset, &m.cellTextInset, &m.checkBoxSize, &m.iconSize,
          &m.sortArrowWidth, &m.minThumbLength, &m.searchBoxWidth, &m.searchBoxHeight,
          &m.searchBoxMinWidth, &m.searchBoxMargin})
        *value = ScaleForDpi(*value, dpi);
    return m;
}

std::vector<int> ColumnPixelWidths(const std::vector<ListViewColumn>& columns, int clientWidth,
                                   int widthReserve) {
    std::vector<int> widths(columns.size(), 0);
    const int available = clientWidth - widthReserve;
    int given = 0;
    double weights = 0;
    int lastProportional = -1;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ListViewColumn& column = columns[i];
        if (!column.visible)
            continue;
        if (column.fixedWidth) {
            widths[i] = std::max(RoundPixels(column.width), 0);
            given += widths[i];
        } else {
            weights += column.width;
            lastProportional = static_cast<int>(i);
        }
    }
    // The proportional columns share what the fixed ones leave.
    const double share = available - given;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ListViewColumn& column = columns[i];
        if (!column.visible || column.fixedWidth || static_cast<int>(i) == lastProportional)
            continue;
        widths[i] = weights > 0 ? std::max(RoundPixels(share / weights * column.width), 0) : 0;
        given += widths[i];
    }
    // The last proportional column takes the rest, so rounding never leaves a gap.
    if (lastProportional >= 0)
        widths[static_cast<std::size_t>(lastProportional)] = std::max(available - given, 0);
    return widths;
}

// ---- Keys ----

ListViewKeyAction ClassifyListViewKey(const ListViewKeyStroke& key, bool searchActive,
                                      bool focusedRowSelected) {
    using A = ListViewKeyAction;
    switch (key.virtualKey) {
    case VirtualKey::Up:
        return key.ctrl ? A::ScrollRowUp : A::FocusPrevious;
    case VirtualKey::Down:
        return key.ctrl ? A::ScrollRowDown : A::FocusNext;
    case VirtualKey::PageUp:
        if (key.ctrl)
            return A::ScrollPageUp;
        return searchActive ? A::None : A::FocusPageUp;
    case VirtualKey::PageDown:
        if (key.ctrl)
            return A::ScrollPageDown;
        return searchActive ? A::None : A::FocusPageDown;
    case VirtualKey::Home:
        return key.ctrl ? A::ScrollTop : A::FocusFirst;
    case VirtualKey::End:
        return key.ctrl ? A::ScrollBottom : A::FocusLast;
    case VirtualKey::Return:
        return focusedRowSelected ? A::Execute : A::ClickEnterMenuItem;
    case VirtualKey::Space:
        return focusedRowSelected && !searchActive ? A::FlipCheckBox : A::None;
    case VirtualKey::Escape:
        return A::EndSearch;
    default:
        return A::None;
    }
}

// ---- The grid ----

ListView::ListView() = default;

void ListView::Repaint() const {
    if (!updating_ && repaint_)
        repaint_();
}

void ListView::RaiseRowChange() const {
    if (onRowChange_)
        onRowChange_();
}

void ListView::SetClientSize(int width, int height) {
    client_ = {std::max(width, 0), std::max(height, 0)};
    RecomputeWidths();
    ClampScroll();
    Repaint();
}

void ListView::SetMetrics(const ListViewMetrics& metrics) {
    metrics_ = metrics;
    metrics_.rowHeight = std::max(metrics_.rowHeight, 1);
    RecomputeWidths();
    ClampScroll();
    Repaint();
}

void ListView::SetShowBorder(bool show) {
    showBorder_ = show;
    RecomputeWidths();
    ClampScroll();
    Repaint();
}

void ListView::SetHasFocus(bool focused) {
    if (hasFocus_ == focused)
        return;
    hasFocus_ = focused;
    Repaint();
}

UiRect ListView::Inner() const {
    UiRect inner{0, 0, client_.width, client_.height};
    return showBorder_ ? Inset(inner, 1, 1) : inner;
}

UiRect ListView::HeaderRect() const {
    const UiRect inner = Inner();
    return {inner.left, inner.top, inner.width, std::min(metrics_.headerHeight, inner.height)};
}

UiRect ListView::RowsArea() const {
    const UiRect inner = Inner();
    const int top = HeaderRect().Bottom();
    UiRect area{inner.left, top, inner.width, std::max(inner.Bottom() - top, 0)};
    if (ContentHeight() > area.height)
        area.width = std::max(area.width - metrics_.scrollBarWidth, 0);
    return area;
}

int ListView::ContentHeight() const {
    const std::int64_t height = std::int64_t(items_.size()) * metrics_.rowHeight;
    return static_cast<int>(std::min<std::int64_t>(height, 0x7FFFFFFF));
}

bool ListView::ScrollBarVisible() const {
    const UiRect inner = Inner();
    return ContentHeight() > std::max(inner.Bottom() - HeaderRect().Bottom(), 0);
}

int ListView::MaxScrollOffset() const {
    return std::max(ContentHeight() - RowsArea().height, 0);
}

int ListView::RowsPerPage() const {
    return std::max(RowsArea().height / metrics_.rowHeight, 1);
}

ScrollBarGeometry ListView::ScrollBar() const {
    ScrollBarGeometry g;
    if (!ScrollBarVisible())
        return g;
    const UiRect inner = Inner();
    const UiRect rows = RowsArea();
    const int width = std::min(metrics_.scrollBarWidth, inner.width);
    g.bar = {inner.Right() - width, rows.top, width, rows.height};
    const int arrow = std::min(width, rows.height / 2);
    g.upArrow = {g.bar.left, g.bar.top, width, arrow};
    g.downArrow = {g.bar.left, g.bar.Bottom() - arrow, width, arrow};
    g.track = {g.bar.left, g.upArrow.Bottom(), width,
               std::max(g.downArrow.top - g.upArrow.Bottom(), 0)};
    const std::int64_t content = ContentHeight();
    int length = static_cast<int>(std::int64_t(g.track.height) * rows.height / content);
    length = std::min(std::max(length, metrics_.minThumbLength), g.track.height);
    const int free = g.track.height - length;
    const int maxOffset = MaxScrollOffset();
    const int position =
        maxOffset > 0
            ? static_cast<int>((std::int64_t(free) * scrollOffset_ + maxOffset / 2) / maxOffset)
            : 0;
    g.thumb = {g.bar.left, g.track.top + position, width, length};
    return g;
}

void ListView::SetScrollOffset(int offset) {
    const int clamped = std::clamp(offset, 0, MaxScrollOffset());
    if (clamped == scrollOffset_)
        return;
    scrollOffset_ = clamped;
    Repaint();
}

void ListView::ClampScroll() {
    scrollOffset_ = std::clamp(scrollOffset_, 0, MaxScrollOffset());
}

void ListView::ScrollBy(int pixels) {
    SetScrollOffset(scrollOffset_ + pixels);
}

void ListView::ScrollIntoView(int row) {
    if (!ValidRow(row))
        return;
    const int height = metrics_.rowHeight;
    const int top = row * height;
    const int band = RowsArea().height;
    int offset = scrollOffset_;
    if (row == 0 || top < offset)
        offset = top;
    else if (top + height > offset + band)
        offset = top + height - band;
    SetScrollOffset(offset);
}

// ---- Columns ----

void ListView::RecomputeWidths() {
    const std::vector<int> widths =
        ColumnPixelWidths(columns_, client_.width, metrics_.widthReserve);
    for (std::size_t i = 0; i < columns_.size(); ++i)
        columns_[i].pixelWidth = widths[i];
}

void ListView::ClearColumns() {
    columns_.clear();
    sortedColumn_ = -1;
    sortedReverse_ = false;
    Repaint();
}

void ListView::AddColumn(std::string caption, ColumnAlignment alignment, bool visible,
                         double weight, ColumnKind kind) {
    ListViewColumn column;
    column.caption = std::move(caption);
    column.alignment = alignment;
    column.visible = visible;
    column.width = weight;
    column.kind = kind;
    AddColumn(std::move(column));
}

void ListView::AddColumn(ListViewColumn column) {
    columns_.push_back(std::move(column));
    RecomputeWidths();
    Repaint();
}

std::vector<ColumnChooserItem> ListView::ColumnChooserItems() const {
    std::vector<ColumnChooserItem> menu;
    for (std::size_t i = 0; i < columns_.size(); ++i)
        menu.push_back({columns_[i].caption, columns_[i].visible, i != 0});
    return menu;
}

void ListView::ToggleColumnVisible(int column) {
    if (column <= 0 || column >= static_cast<int>(columns_.size()))
        return;
    columns_[static_cast<std::size_t>(column)].visible =
        !columns_[static_cast<std::size_t>(column)].visible;
    RecomputeWidths();
    Repaint();
}

int ListView::ColumnAtX(int x) const {
    int left = Inner().left;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (!columns_[i].visible)
            continue;
        if (x >= left && x < left + columns_[i].pixelWidth)
            return static_cast<int>(i);
        left += columns_[i].pixelWidth;
    }
    return -1;
}

int ListView::FirstCheckBoxColumn() const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].visible && columns_[i].kind == ColumnKind::CheckBox)
            return static_cast<int>(i);
    return -1;
}

// ---- Items ----

void ListView::BeginUpdate() {
    updating_ = true;
}

void ListView::EndUpdate() {
    updating_ = false;
    SortItems();
    ClampScroll();
    Repaint();
    ScrollIntoView(focusedRow_);
}

void ListView::ClearItems() {
    items_.clear();
    focusedRow_ = 0;
    idCounter_ = 0;
    scrollOffset_ = 0;
    searchText_.clear();
    Repaint();
    RaiseRowChange();
}

void ListView::AddItem(std::vector<CellValue> values, bool selected, std::int32_t icon,
                       std::int32_t data) {
    ListViewItem item;
    item.id = ++idCounter_;
    values.resize(columns_.size());
    item.values = std::move(values);
    item.icon = icon;
    item.data = data;
    items_.push_back(std::move(item));
    if (selected) {
        DeselectAll();
        items_.back().selected = true;
        focusedRow_ = ItemsCount() - 1;
    }
    if (!updating_) {
        SortItems();
        Repaint();
    }
    RaiseRowChange();
}

void ListView::SetCellValue(int row, int column, CellValue value) {
    if (!ValidRow(row) || column < 0 || column >= static_cast<int>(columns_.size()))
        return;
    std::vector<CellValue>& values = items_[static_cast<std::size_t>(row)].values;
    if (values.size() <= static_cast<std::size_t>(column))
        values.resize(static_cast<std::size_t>(column) + 1);
    values[static_cast<std::size_t>(column)] = std::move(value);
    Repaint();
}

void ListView::DeselectAll() {
    for (ListViewItem& item : items_)
        item.selected = false;
}

void ListView::FocusAndSelect(int row) {
    if (!ValidRow(row))
        return;
    DeselectAll();
    items_[static_cast<std::size_t>(row)].selected = true;
    focusedRow_ = row;
    ScrollIntoView(row);
    Repaint();
}

void ListView::FocusRow(int row) {
    FocusAndSelect(row);
}

bool ListView::ItemIsSelected() const {
    return ValidRow(focusedRow_) && items_[static_cast<std::size_t>(focusedRow_)].selected;
}

ListViewItem ListView::ItemSelected() const {
    if (ItemIsSelected())
        return items_[static_cast<std::size_t>(focusedRow_)];
    ListViewItem none;
    none.data = -1;
    return none;
}

std::int32_t ListView::FocusedData() const {
    return ValidRow(focusedRow_) ? items_[static_cast<std::size_t>(focusedRow_)].data : 0;
}

// ---- Sorting ----

void ListView::SortItems() {
    if (items_.size() < 2)
        return;
    const std::int32_t focusedId =
        ValidRow(focusedRow_) ? items_[static_cast<std::size_t>(focusedRow_)].id : 0;
    const bool byColumn = sortedColumn_ >= 0 && sortedColumn_ < static_cast<int>(columns_.size());
    // Keys, IDs and places side by side, so that the comparisons stay in one array rather
    // than jumping between the items.
    struct Entry {
        SortKey key;
        std::int32_t id;
        std::uint32_t index;
    };
    std::vector<Entry> entries(items_.size());
    std::string texts;
    if (byColumn) {
        std::size_t textBytes = 0;
        for (const ListViewItem& item : items_)
            if (const auto* s = std::get_if<std::string>(&CellOf(item, sortedColumn_).value))
                textBytes += s->size();
        texts.reserve(textBytes);
    }
    for (std::size_t i = 0; i < items_.size(); ++i)
        entries[i] = {byColumn ? MakeSortKey(CellOf(items_[i], sortedColumn_), texts) : SortKey{},
                      items_[i].id, static_cast<std::uint32_t>(i)};
    for (Entry& entry : entries)
        if (entry.key.rank == SortKey::Text)
            entry.key.text = texts.data() + entry.key.offset;
    const bool reverse = sortedReverse_;
    // Equal values fall back to the order of adding, so the order is total and the same
    // every time; the reverse flag turns the whole comparison round.
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        int c = byColumn ? CompareKeys(a.key, b.key) : 0;
        if (c == 0)
            c = a.id < b.id ? -1 : (a.id > b.id ? 1 : 0);
        return reverse ? c > 0 : c < 0;
    });
    // Row k takes the item from entries[k].index: follow each cycle of that permutation
    // in place, marking each place done by pointing it at itself.
    for (std::size_t start = 0; start < entries.size(); ++start) {
        if (entries[start].index == start)
            continue;
        ListViewItem carried = std::move(items_[start]);
        std::size_t at = start;
        for (;;) {
            const std::size_t from = entries[at].index;
            entries[at].index = static_cast<std::uint32_t>(at);
            if (from == start) {
                items_[at] = std::move(carried);
                break;
            }
            items_[at] = std::move(items_[from]);
            at = from;
        }
    }
    if (focusedId != 0)
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i].id == focusedId)
                focusedRow_ = static_cast<int>(i);
}

void ListView::SetSort(int column, bool reverse) {
    sortedColumn_ = column >= 0 && column < static_cast<int>(columns_.size()) ? column : -1;
    sortedReverse_ = reverse;
    SortItems();
    Repaint();
}

void ListView::CycleSort(int column) {
    if (column < 0 || column >= static_cast<int>(columns_.size()))
        return;
    if (sortedColumn_ != column)
        SetSort(column, false);
    else if (!sortedReverse_)
        SetSort(column, true);
    else
        SetSort(-1, false);
}

// ---- Incremental search ----

bool ListView::RowMatchesSearch(int row, std::string_view lowerText) const {
    const int column = SearchColumn(columns_);
    if (column < 0 || !ValidRow(row))
        return false;
    const CellValue& cell = CellOf(items_[static_cast<std::size_t>(row)], column);
    // A text is compared where it lies while both sides are ASCII, without lowering a copy
    // of it: a search that finds nothing visits every row. Up to its first CR a text reads
    // as it is displayed.
    if (const auto* text = std::get_if<std::string>(&cell.value)) {
        std::size_t i = 0;
        for (; i < lowerText.size(); ++i) {
            if (i >= text->size())
                return false;
            const auto c = static_cast<unsigned char>((*text)[i]);
            const auto wanted = static_cast<unsigned char>(lowerText[i]);
            if (c >= 0x80 || wanted >= 0x80 || c == '\r')
                break; // the full case mapping and the displayed form decide from here
            if ((c >= 'A' && c <= 'Z' ? c + 32 : c) != wanted)
                return false;
        }
        if (i == lowerText.size())
            return true;
    }
    return Lower(CellDisplayText(cell)).starts_with(lowerText);
}

// The first matching row from `from` on in the direction of step (+1 or -1), or -1.
int ListView::FindMatch(std::string_view lowerText, int from, int step) const {
    for (int row = from; ValidRow(row); row += step)
        if (RowMatchesSearch(row, lowerText))
            return row;
    return -1;
}

bool ListView::KeyChar(char32_t character) {
    std::string candidate = searchText_;
    if (character == U'\b') {
        if (!SearchActive())
            return false;
        RemoveLastCharacter(candidate);
    } else {
        if (character <= 27 || character == 0x7F)
            return false;
        AppendUtf8(candidate, character);
    }
    if (candidate.empty()) {
        EndSearch();
        return true;
    }
    const std::string lower = Lower(candidate);
    const int start = ValidRow(focusedRow_) ? focusedRow_ : 0;
    int found = FindMatch(lower, start, 1);
    for (int row = 0; found < 0 && row < start; ++row)
        if (RowMatchesSearch(row, lower))
            found = row;
    if (found < 0)
        return false;
    searchText_ = std::move(candidate);
    const int before = focusedRow_;
    FocusAndSelect(found);
    if (before != focusedRow_)
        RaiseRowChange();
    return true;
}

void ListView::EndSearch() {
    searchText_.clear();
    Repaint();
}

// ---- Mouse ----

ListViewHit ListView::HitTest(UiPoint point) const {
    ListViewHit hit;
    const UiRect inner = Inner();
    if (!Contains(inner, point))
        return hit;
    if (ScrollBarVisible()) {
        const ScrollBarGeometry bar = ScrollBar();
        if (Contains(bar.bar, point)) {
            hit.area = ListViewArea::ScrollBar;
            if (Contains(bar.upArrow, point))
                hit.scrollBarPart = ScrollBarPart::UpArrow;
            else if (Contains(bar.downArrow, point))
                hit.scrollBarPart = ScrollBarPart::DownArrow;
            else if (point.y < bar.thumb.top)
                hit.scrollBarPart = ScrollBarPart::PageUp;
            else if (point.y >= bar.thumb.Bottom())
                hit.scrollBarPart = ScrollBarPart::PageDown;
            else
                hit.scrollBarPart = ScrollBarPart::Thumb;
            return hit;
        }
    }
    const UiRect header = HeaderRect();
    if (Contains(header, point)) {
        if (point.x >= inner.Right() - metrics_.chooserWidth) {
            hit.area = ListViewArea::ColumnChooser;
            return hit;
        }
        int left = inner.left;
        int previous = -1;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            if (!columns_[i].visible)
                continue;
            if (previous >= 0 && std::abs(point.x - left) <= metrics_.splitTolerance) {
                hit.area = ListViewArea::HeaderBoundary;
                hit.column = previous;
                hit.rightColumn = static_cast<int>(i);
                return hit;
            }
            previous = static_cast<int>(i);
            left += columns_[i].pixelWidth;
        }
        hit.column = ColumnAtX(point.x);
        if (hit.column >= 0)
            hit.area = ListViewArea::HeaderCell;
        return hit;
    }
    const UiRect rows = RowsArea();
    if (!Contains(rows, point))
        return hit;
    const std::int64_t row =
        (std::int64_t(point.y) - rows.top + scrollOffset_) / metrics_.rowHeight;
    if (row < ItemsCount()) {
        hit.area = ListViewArea::Row;
        hit.row = static_cast<int>(row);
        hit.column = ColumnAtX(point.x);
    } else {
        hit.area = ListViewArea::BelowRows;
    }
    return hit;
}

ListViewCursor ListView::CursorAt(UiPoint point) const {
    if (drag_.kind == Drag::Kind::Resize || HitTest(point).area == ListViewArea::HeaderBoundary)
        return ListViewCursor::SizeWE;
    return ListViewCursor::Arrow;
}

void ListView::FlipCell(int row, int column) {
    if (!ValidRow(row) || column < 0 || column >= static_cast<int>(columns_.size()))
        return;
    const CheckState state = CellCheckState(CellOf(items_[static_cast<std::size_t>(row)], column));
    if (state == CheckState::Mixed)
        return;
    SetCellValue(row, column, CellValue(state != CheckState::Checked));
}

void ListView::StepScrollBar(ScrollBarPart part) {
    const int row = metrics_.rowHeight;
    const int page = RowsPerPage() * row;
    switch (part) {
    case ScrollBarPart::UpArrow:
        ScrollBy(-row);
        break;
    case ScrollBarPart::DownArrow:
        ScrollBy(row);
        break;
    case ScrollBarPart::PageUp:
        ScrollBy(-page);
        break;
    case ScrollBarPart::PageDown:
        ScrollBy(page);
        break;
    default:
        break;
    }
}

ListViewRequest ListView::MouseDown(MouseButton button, UiPoint point, unsigned shift) {
    lastShift_ = shift;
    hasFocus_ = true; // the window gives the grid the keyboard focus
    drag_ = {};
    ListViewRequest request = ListViewRequest::None;
    const ListViewHit hit = HitTest(point);
    const bool left = button == MouseButton::Left;
    switch (hit.area) {
    case ListViewArea::Row: {
        FocusAndSelect(hit.row);
        if (SearchActive() && !RowMatchesSearch(hit.row, Lower(searchText_)))
            EndSearch();
        if (left && hit.column >= 0) {
            if (columns_[static_cast<std::size_t>(hit.column)].kind == ColumnKind::CheckBox)
                FlipCell(hit.row, hit.column);
            if (onChangeValue_)
                onChangeValue_(hit.row, hit.column);
        }
        if (button == MouseButton::Right)
            request = ListViewRequest::PopupMenu;
        break;
    }
    case ListViewArea::BelowRows:
        DeselectAll();
        if (button == MouseButton::Right)
            request = ListViewRequest::PopupMenu;
        break;
    case ListViewArea::HeaderCell:
        if (left) {
            drag_.kind = Drag::Kind::Header;
            drag_.column = hit.column;
            request = ListViewRequest::CaptureMouse;
        }
        break;
    case ListViewArea::HeaderBoundary:
        if (left) {
            drag_.kind = Drag::Kind::Resize;
            drag_.column = hit.column;
            drag_.rightColumn = hit.rightColumn;
            drag_.anchor = point.x;
            request = ListViewRequest::CaptureMouse;
        }
        break;
    case ListViewArea::ColumnChooser:
        if (left) {
            drag_.kind = Drag::Kind::Chooser;
            request = ListViewRequest::CaptureMouse;
        }
        break;
    case ListViewArea::ScrollBar:
        if (!left)
            break;
        if (hit.scrollBarPart == ScrollBarPart::Thumb) {
            drag_.kind = Drag::Kind::Thumb;
            drag_.anchor = point.y;
            const ScrollBarGeometry bar = ScrollBar();
            drag_.startOffset = bar.thumb.top - bar.track.top;
            request = ListViewRequest::CaptureMouse;
        } else {
            StepScrollBar(hit.scrollBarPart);
            drag_.kind = Drag::Kind::ScrollRepeat;
            drag_.part = hit.scrollBarPart;
            request = ListViewRequest::StartScrollRepeat;
        }
        break;
    case ListViewArea::Nothing:
        break;
    }
    Repaint();
    RaiseRowChange();
    return request;
}

void ListView::MouseMove(UiPoint point) {
    if (drag_.kind == Drag::Kind::Resize) {
        const int moved = point.x - drag_.anchor;
        const auto l = static_cast<std::size_t>(drag_.column);
        const auto r = static_cast<std::size_t>(drag_.rightColumn);
        if (moved == 0 || l >= columns_.size() || r >= columns_.size() ||
            columns_[l].pixelWidth <= 0)
            return;
        const double delta = moved * columns_[l].width / columns_[l].pixelWidth;
        const double newLeft = columns_[l].width + delta;
        const double newRight = columns_[r].width - delta;
        if (newLeft <= kMinColumnWeight || newRight <= kMinColumnWeight)
            return;
        columns_[l].width = newLeft;
        columns_[r].width = newRight;
        drag_.anchor = point.x;
        RecomputeWidths();
        Repaint();
    } else if (drag_.kind == Drag::Kind::Thumb) {
        const ScrollBarGeometry bar = ScrollBar();
        const int free = bar.track.height - bar.thumb.height;
        if (free <= 0)
            return;
        const int position = std::clamp(drag_.startOffset + point.y - drag_.anchor, 0, free);
        SetScrollOffset(
            static_cast<int>((std::int64_t(position) * MaxScrollOffset() + free / 2) / free));
    }
}

ListViewRequest ListView::MouseUp(MouseButton button, UiPoint point) {
    const Drag drag = drag_;
    if (button != MouseButton::Left)
        return ListViewRequest::None;
    drag_ = {};
    const ListViewHit hit = HitTest(point);
    if (drag.kind == Drag::Kind::Header && hit.area == ListViewArea::HeaderCell &&
        hit.column == drag.column) {
        CycleSort(hit.column);
        return ListViewRequest::None;
    }
    if (drag.kind != Drag::Kind::None)
        Repaint(); // the pressed look goes
    if (drag.kind == Drag::Kind::Chooser && hit.area == ListViewArea::ColumnChooser)
        return ListViewRequest::ColumnChooser;
    return ListViewRequest::None;
}

void ListView::DoubleClick(UiPoint point) {
    const ListViewArea area = HitTest(point).area;
    // Only a row the click selected is run: a double-click below the rows deselected it.
    if ((area == ListViewArea::Row || area == ListViewArea::BelowRows) && ItemIsSelected() &&
        onFileExecute_)
        onFileExecute_(focusedRow_, lastShift_);
}

void ListView::MouseWheel(bool up) {
    if (ScrollBarVisible())
        ScrollBy(up ? -metrics_.rowHeight : metrics_.rowHeight);
}

bool ListView::RepeatScroll(UiPoint mouse) {
    if (drag_.kind != Drag::Kind::ScrollRepeat)
        return false;
    const ListViewHit hit = HitTest(mouse);
    if (hit.area != ListViewArea::ScrollBar || hit.scrollBarPart != drag_.part)
        return false;
    const int before = scrollOffset_;
    StepScrollBar(drag_.part);
    return scrollOffset_ != before;
}

// ---- Keys ----

void ListView::ApplyKey(ListViewKeyAction action) {
    using A = ListViewKeyAction;
    const int count = ItemsCount();
    const bool focused = ValidRow(focusedRow_);
    const std::string lower = SearchActive() ? Lower(searchText_) : std::string();
    switch (action) {
    case A::FocusPrevious:
        if (SearchActive())
            FocusAndSelect(FindMatch(lower, focused ? focusedRow_ - 1 : count - 1, -1));
        else if (count > 0)
            FocusAndSelect(focused ? std::max(focusedRow_ - 1, 0) : 0);
        break;
    case A::FocusNext:
        if (SearchActive())
            FocusAndSelect(FindMatch(lower, focused ? focusedRow_ + 1 : 0, 1));
        else if (count > 0)
            FocusAndSelect(focused ? std::min(focusedRow_ + 1, count - 1) : 0);
        break;
    case A::FocusPageUp:
        if (count > 0)
            FocusAndSelect(focused ? std::max(focusedRow_ - RowsPerPage(), 0) : 0);
        break;
    case A::FocusPageDown:
        if (count > 0)
            FocusAndSelect(focused ? std::min(focusedRow_ + RowsPerPage(), count - 1) : 0);
        break;
    case A::FocusFirst:
        FocusAndSelect(SearchActive() ? FindMatch(lower, 0, 1) : 0);
        break;
    case A::FocusLast:
        FocusAndSelect(SearchActive() ? FindMatch(lower, count - 1, -1) : count - 1);
        break;
    case A::ScrollRowUp:
        ScrollBy(-metrics_.rowHeight);
        break;
    case A::ScrollRowDown:
        ScrollBy(metrics_.rowHeight);
        break;
    case A::ScrollPageUp:
        ScrollBy(-RowsPerPage() * metrics_.rowHeight);
        break;
    case A::ScrollPageDown:
        ScrollBy(RowsPerPage() * metrics_.rowHeight);
        break;
    case A::ScrollTop:
        SetScrollOffset(0);
        break;
    case A::ScrollBottom:
        SetScrollOffset(MaxScrollOffset());
        break;
    case A::Execute:
        if (onFileExecute_)
            onFileExecute_(focusedRow_, 0);
        break;
    case A::FlipCheckBox: {
        const int column = FirstCheckBoxColumn();
        const int row = focusedRow_;
        if (column < 0 || !ValidRow(row) ||
            CellCheckState(CellOf(items_[static_cast<std::size_t>(row)], column)) ==
                CheckState::Mixed)
            break;
        FlipCell(row, column);
        if (onChangeValue_)
            onChangeValue_(row, column);
        break;
    }
    case A::EndSearch:
        EndSearch();
        break;
    case A::ClickEnterMenuItem:
    case A::None:
        break;
    }
}

ListViewRequest ListView::KeyDown(const ListViewKeyStroke& key) {
    const ListViewKeyAction action = ClassifyListViewKey(key, SearchActive(), ItemIsSelected());
    ApplyKey(action);
    RaiseRowChange();
    return action == ListViewKeyAction::ClickEnterMenuItem ? ListViewRequest::ClickEnterMenuItem
                                                           : ListViewRequest::None;
}

// ---- Painting ----

ListViewPaintPlan ListView::PlanPaint() const {
    ListViewPaintPlan plan;
    plan.client = {0, 0, client_.width, client_.height};
    plan.border = showBorder_;
    const UiRect inner = Inner();
    plan.header = HeaderRect();

    // Column edges once per paint, not per row.
    struct Span {
        int column;
        int left;
        int width;
    };
    std::vector<Span> spans;
    int x = inner.left;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (!columns_[i].visible)
            continue;
        spans.push_back({static_cast<int>(i), x, columns_[i].pixelWidth});
        x += columns_[i].pixelWidth;
    }

    for (const Span& span : spans) {
        const ListViewColumn& column = columns_[static_cast<std::size_t>(span.column)];
        ListViewHeaderCellPlan cell;
        cell.column = span.column;
        cell.rect = {span.left, plan.header.top, span.width, plan.header.height};
        cell.textRect = Inset(cell.rect, metrics_.headerTextInset, 0);
        cell.caption = column.caption;
        cell.alignment = column.alignment;
        cell.pressed = drag_.kind == Drag::Kind::Header && drag_.column == span.column;
        if (span.column == sortedColumn_) {
            cell.arrow = sortedReverse_ ? SortArrow::Descending : SortArrow::Ascending;
            const int w = metrics_.sortArrowWidth;
            const int h = w / 2 + 1;
            cell.arrowRect = {cell.rect.Right() - metrics_.headerTextInset - w,
                              cell.rect.top + (cell.rect.height - h) / 2, w, h};
            cell.textRect.width = std::max(cell.textRect.width - w - 2, 0);
        }
        plan.headerCells.push_back(std::move(cell));
    }
    const int chooser = std::min(metrics_.chooserWidth, inner.width);
    plan.chooserButton = {inner.Right() - chooser, plan.header.top, chooser, plan.header.height};
    plan.chooserPressed = drag_.kind == Drag::Kind::Chooser;

    plan.rowsArea = RowsArea();
    const int height = metrics_.rowHeight;
    if (!items_.empty() && plan.rowsArea.height > 0) {
        const int first = scrollOffset_ / height;
        const int last =
            std::min(ItemsCount() - 1, (scrollOffset_ + plan.rowsArea.height - 1) / height);
        plan.rows.reserve(static_cast<std::size_t>(std::max(last - first + 1, 0)));
        for (int index = first; index <= last; ++index) {
            const ListViewItem& item = items_[static_cast<std::size_t>(index)];
            ListViewRowPlan row;
            row.index = index;
            row.rect = {plan.rowsArea.left, plan.rowsArea.top + index * height - scrollOffset_,
                        plan.rowsArea.width, height};
            row.selected = item.selected;
            if (item.selected && hasFocus_) {
                row.background = ListViewColor::Highlight;
                row.textColor = ListViewColor::HighlightText;
            } else if (item.selected) {
                row.background = ListViewColor::BtnFace;
            }
            row.focusRect = hasFocus_ && index == focusedRow_;
            row.icon = item.icon;
            for (const Span& span : spans) {
                const ListViewColumn& column = columns_[static_cast<std::size_t>(span.column)];
                ListViewCellPlan cell;
                cell.column = span.column;
                cell.rect = {span.left, row.rect.top, span.width, height};
                cell.kind = column.kind;
                cell.alignment = column.alignment;
                cell.textRect = Inset(cell.rect, metrics_.cellTextInset, 0);
                cell.shaded = span.column == sortedColumn_ && !item.selected;
                if (item.icon != 0 && &span == &spans.front()) {
                    const int size = std::min(metrics_.iconSize, height);
                    row.iconRect = {cell.textRect.left, cell.rect.top + (height - size) / 2, size,
                                    size};
                    cell.textRect.left += size + metrics_.cellTextInset;
                    cell.textRect.width =
                        std::max(cell.textRect.width - size - metrics_.cellTextInset, 0);
                }
                const CellValue& value = CellOf(item, span.column);
                if (column.kind == ColumnKind::CheckBox) {
                    const int size = std::min(metrics_.checkBoxSize, height);
                    cell.check = CellCheckState(value);
                    cell.checkRect = {AlignLeft(cell.textRect, size, column.alignment),
                                      cell.rect.top + (height - size) / 2, size, size};
                } else {
                    cell.text = CellDisplayText(value);
                }
                row.cells.push_back(std::move(cell));
            }
            plan.rows.push_back(std::move(row));
        }
    }

    if (ScrollBarVisible()) {
        ListViewScrollBarPlan bar;
        bar.geometry = ScrollBar();
        if (drag_.kind == Drag::Kind::Thumb)
            bar.pressed = ScrollBarPart::Thumb;
        else if (drag_.kind == Drag::Kind::ScrollRepeat)
            bar.pressed = drag_.part;
        plan.scrollBar = bar;
    }

    if (SearchActive()) {
        const UiRect& area = plan.rowsArea;
        ListViewSearchBoxPlan box;
        const int width =
            std::min(std::max(metrics_.searchBoxWidth, metrics_.searchBoxMinWidth), area.width);
        const int boxHeight = metrics_.searchBoxHeight;
        box.rect = {std::max(area.Right() - metrics_.searchBoxMargin - width, area.left),
                    std::max(area.Bottom() - metrics_.searchBoxMargin - boxHeight, area.top), width,
                    boxHeight};
        box.typed = searchText_;
        const int column = SearchColumn(columns_);
        if (ValidRow(focusedRow_) && column >= 0)
            box.foundText =
                CellDisplayText(CellOf(items_[static_cast<std::size_t>(focusedRow_)], column));
        plan.searchBox = box;
    }
    return plan;
}

std::vector<AccessibleCell> ListView::AccessibleRow(int row) const {
    std::vector<AccessibleCell> cells;
    if (!ValidRow(row))
        return cells;
    const ListViewItem& item = items_[static_cast<std::size_t>(row)];
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const ListViewColumn& column = columns_[i];
        if (!column.visible)
            continue;
        AccessibleCell cell;
        cell.header = column.caption;
        const CellValue& value = CellOf(item, static_cast<int>(i));
        if (column.kind == ColumnKind::CheckBox)
            cell.check = CellCheckState(value);
        else
            cell.text = CellDisplayText(value);
        cells.push_back(std::move(cell));
    }
    return cells;
}

std::string ListView::AccessibleRowName(int row) const {
    std::string name;
    bool first = true;
    for (const AccessibleCell& cell : AccessibleRow(row)) {
        if (cell.check)
            continue;
        if (!first)
            name += '\t';
        name += cell.text;
        first = false;
    }
    return name;
}

UiRect ListView::RowRect(int row) const {
    if (!ValidRow(row))
        return {};
    const UiRect rows = RowsArea();
    const std::int64_t top =
        std::int64_t(rows.top) + std::int64_t(row) * metrics_.rowHeight - scrollOffset_;
    // Rows far outside the area are clamped rather than wrapped round.
    const auto clamped = static_cast<int>(std::clamp<std::int64_t>(top, -0x3FFFFFFF, 0x3FFFFFFF));
    return {rows.left, clamped, rows.width, metrics_.rowHeight};
}

UiRect ListView::CellRect(int row, int column) const {
    const UiRect rowRect = RowRect(row);
    if (rowRect.height == 0 || column < 0 || column >= static_cast<int>(columns_.size()) ||
        !columns_[static_cast<std::size_t>(column)].visible)
        return {};
    int left = Inner().left;
    for (int i = 0; i < column; ++i)
        if (columns_[static_cast<std::size_t>(i)].visible)
            left += columns_[static_cast<std::size_t>(i)].pixelWidth;
    return {left, rowRect.top, columns_[static_cast<std::size_t>(column)].pixelWidth,
            rowRect.height};
}

void ListView::ToggleCheckCell(int row, int column) {
    if (!ValidRow(row) || column < 0 || column >= static_cast<int>(columns_.size()) ||
        columns_[static_cast<std::size_t>(column)].kind != ColumnKind::CheckBox)
        return;
    FlipCell(row, column);
    if (onChangeValue_)
        onChangeValue_(row, column);
}

std::string ListViewText(const ListView& grid) {
    std::string text;
    bool first = true;
    for (const ListViewColumn& column : grid.Columns()) {
        if (!column.visible)
            continue;
        if (!first)
            text += '\t';
        text += column.caption;
        first = false;
    }
    text += "\r\n";
    for (int row = 0; row < grid.ItemsCount(); ++row) {
        first = true;
        for (const AccessibleCell& cell : grid.AccessibleRow(row)) {
            if (!first)
                text += '\t';
            if (cell.check)
                text += *cell.check == CheckState::Checked
                            ? "[x]"
                            : (*cell.check == CheckState::Mixed ? "[-]" : "[ ]");
            else
                text += cell.text;
            first = false;
        }
        text += "\r\n";
    }
    return text;
}

} // namespace orvan
