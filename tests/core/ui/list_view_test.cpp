#include "core/ui/list_view.h"

#include "core/base/utf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace orvan {
namespace {

namespace VK = VirtualKey;

// The settings dialog's grid: a centred tick column and two text columns with the weights
// 10 : 140 : 50. A client of 216 by 106 has a border, a 19-pixel header from y 1 and five
// rows of 17 pixels from y 20; the columns span x 1-10, 11-150 and 151-200, and the
// column chooser x 197-214.
constexpr int kWidth = 216;
constexpr int kHeight = 2 + 19 + 5 * 17;
constexpr int kRowsTop = 20;

UiPoint RowPoint(int row, int x = 60) {
    return {x, kRowsTop + row * 17 + 8};
}
constexpr UiPoint kCheckX{5, 0};

struct Recorder {
    int rowChanges = 0;
    int repaints = 0;
    std::vector<std::pair<int, int>> changes;
    std::vector<std::pair<int, unsigned>> executes;
};

class ListViewGrid : public ::testing::Test {
protected:
    void SetUp() override {
        grid.SetClientSize(kWidth, kHeight);
        grid.AddColumn("*", ColumnAlignment::Center, true, 10, ColumnKind::CheckBox);
        grid.AddColumn("Path", ColumnAlignment::Left, true, 140, ColumnKind::Text);
        grid.AddColumn("Mask", ColumnAlignment::Left, true, 50, ColumnKind::Text);
        grid.SetOnRowChange([this] { ++log.rowChanges; });
        grid.SetRepaintHandler([this] { ++log.repaints; });
        grid.SetOnChangeValue([this](int row, int cell) { log.changes.emplace_back(row, cell); });
        grid.SetOnFileExecute(
            [this](int index, unsigned shift) { log.executes.emplace_back(index, shift); });
    }

    // Rows with the given texts in the path column, ticked, none selected, data = index.
    void Fill(std::initializer_list<const char*> paths) {
        grid.BeginUpdate();
        grid.ClearItems();
        int i = 0;
        for (const char* path : paths) {
            grid.AddItem({true, path, "*.*"}, false, 0, i);
            ++i;
        }
        grid.EndUpdate();
    }

    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const ListViewItem& item : grid.Items())
            paths.push_back(std::get<std::string>(item.values[1].value));
        return paths;
    }

    int SelectedCount() const {
        return static_cast<int>(std::count_if(grid.Items().begin(), grid.Items().end(),
                                              [](const ListViewItem& i) { return i.selected; }));
    }

    void Key(std::uint32_t key, bool ctrl = false) { grid.KeyDown({key, ctrl}); }
    void Type(std::string_view text) {
        for (char c : text)
            grid.KeyChar(static_cast<unsigned char>(c));
    }

    ListView grid;
    Recorder log;
};

// ---- Cells and widths ----

TEST(ListViewCells, DisplayTextAndCheckState) {
    struct Case {
        CellValue value;
        std::string text;
        CheckState check;
    };
    const Case cases[] = {
        {CellValue(), "", CheckState::Unchecked},
        {true, "True", CheckState::Checked},
        {false, "False", CheckState::Unchecked},
        {2, "2", CheckState::Mixed},
        {1, "1", CheckState::Checked},
        {0, "0", CheckState::Unchecked},
        {1.5, "1.5", CheckState::Checked},
        {"plain", "plain", CheckState::Unchecked},
        // A multi-line text shows its first line and the number of line breaks.
        {"first\rsecond\rthird", "first... [2]", CheckState::Unchecked},
        {"one\r", "one... [1]", CheckState::Unchecked},
        {"\rtail", "... [1]", CheckState::Unchecked},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CellDisplayText(c.value), c.text) << c.text;
        EXPECT_EQ(CellCheckState(c.value), c.check) << c.text;
    }
    EXPECT_EQ(CellValueText(CellValue("a\rb")), "a\rb");
}

TEST(ListViewWidths, WeightsShareTheClientWidthLessTheReserve) {
    auto column = [](double width, bool visible = true, bool fixed = false) {
        ListViewColumn c;
        c.width = width;
        c.visible = visible;
        c.fixedWidth = fixed;
        return c;
    };
    struct Case {
        std::vector<ListViewColumn> columns;
        int clientWidth;
        std::vector<int> widths;
    };
    const Case cases[] = {
        {{column(10), column(140), column(50)}, 216, {10, 140, 50}},
        // The details window's 20 : 100 : 200; the last column takes what rounding left.
        {{column(20), column(100), column(200)}, 350, {21, 104, 209}},
        {{column(1), column(1), column(1)}, 116, {33, 33, 34}},
        // Halves round to even, as the widths always have.
        {{column(1), column(1), column(2)}, 26, {2, 2, 6}},
        {{column(1), column(1), column(2)}, 30, {4, 4, 6}},
        // Hidden columns take nothing; the last visible proportional column takes the rest.
        {{column(10), column(140), column(50, false)}, 216, {13, 187, 0}},
        // Fixed columns keep their pixels; the weights share what is left.
        {{column(30.4, true, true), column(1), column(1)}, 116, {30, 35, 35}},
        {{column(1), column(1), column(30, true, true)}, 116, {35, 35, 30}},
        // Too narrow a client gives no negative width.
        {{column(1), column(1)}, 10, {0, 0}},
        {{}, 216, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColumnPixelWidths(c.columns, c.clientWidth), c.widths) << c.clientWidth;
}

TEST(ListViewMetricsTest, ScaleWithTheDpi) {
    const ListViewMetrics m = ListViewMetrics::ForDpi(192);
    EXPECT_EQ(m.headerHeight, 38);
    EXPECT_EQ(m.rowHeight, 34);
    EXPECT_EQ(m.scrollBarWidth, 36);
    EXPECT_EQ(m.splitTolerance, 4);
    const ListViewMetrics same = ListViewMetrics::ForDpi(96);
    EXPECT_EQ(same.rowHeight, 17);
    EXPECT_EQ(same.widthReserve, 16);
}

// ---- Items, selection and focus ----

TEST_F(ListViewGrid, ASelectedItemAddedInsideAnUpdateIsFocusedAfterwards) {
    grid.BeginUpdate();
    grid.AddItem({true, "a"}, false, 0, 10);
    grid.AddItem({true, "b"}, true, 0, 11);
    grid.AddItem({true, "c"}, false, 0, 12);
    EXPECT_EQ(log.repaints, 0);
    grid.EndUpdate();
    EXPECT_EQ(grid.ItemFocusedRow(), 1);
    EXPECT_TRUE(grid.ItemIsSelected());
    EXPECT_EQ(SelectedCount(), 1);
    EXPECT_EQ(grid.FocusedData(), 11);
    EXPECT_EQ(grid.ItemSelected().id, 2);
    EXPECT_EQ(log.rowChanges, 3); // AddItem raises it even while updating
    EXPECT_GT(log.repaints, 0);
}

TEST_F(ListViewGrid, ASecondSelectedItemTakesTheSelectionOver) {
    grid.AddItem({true, "a"}, true, 0, 0);
    grid.AddItem({true, "b"}, true, 0, 1);
    EXPECT_EQ(grid.ItemFocusedRow(), 1);
    EXPECT_EQ(SelectedCount(), 1);
}

TEST_F(ListViewGrid, AnEmptyGridHasNoSelectedItem) {
    EXPECT_EQ(grid.ItemFocusedRow(), -1);
    EXPECT_FALSE(grid.ItemIsSelected());
    const ListViewItem none = grid.ItemSelected();
    EXPECT_EQ(none.data, -1);
    EXPECT_EQ(none.id, 0);
    EXPECT_EQ(none.icon, 0);
    EXPECT_TRUE(none.values.empty());
    EXPECT_EQ(grid.FocusedData(), 0);

    grid.ClearItems();
    EXPECT_EQ(grid.ItemFocusedRow(), 0);
    EXPECT_FALSE(grid.ItemIsSelected());
    EXPECT_EQ(grid.ItemSelected().data, -1);
    EXPECT_EQ(grid.FocusedData(), 0);
}

TEST_F(ListViewGrid, UnselectedRowsAfterAClearLeaveTheFocusOnTheFirstRowUnselected) {
    grid.ClearItems();
    grid.AddItem({true, "a"}, false, 0, 7);
    EXPECT_EQ(grid.ItemFocusedRow(), 0);
    EXPECT_FALSE(grid.ItemIsSelected());
    EXPECT_EQ(grid.ItemSelected().data, -1);
    EXPECT_EQ(grid.FocusedData(), 7);
}

TEST_F(ListViewGrid, IdsCountFromOneAndRestartAfterAClear) {
    Fill({"a", "b"});
    EXPECT_EQ(grid.Items()[0].id, 1);
    EXPECT_EQ(grid.Items()[1].id, 2);
    grid.ClearItems();
    grid.AddItem({true, "c"}, false, 0, 0);
    EXPECT_EQ(grid.Items()[0].id, 1);
}

TEST_F(ListViewGrid, ValuesArePaddedOrCutToTheColumns) {
    grid.AddItem({true}, false, 0, 0);
    grid.AddItem({true, "a", "b", "surplus"}, false, 0, 1);
    ASSERT_EQ(grid.Items()[0].values.size(), 3u);
    EXPECT_EQ(grid.Items()[0].values[2], CellValue());
    EXPECT_EQ(grid.Items()[1].values.size(), 3u);
}

TEST_F(ListViewGrid, ClearingRaisesTheRowChangeAndForgetsTheSearch) {
    Fill({"alpha", "beta"});
    Type("b");
    ASSERT_TRUE(grid.SearchActive());
    const int before = log.rowChanges;
    grid.ClearItems();
    EXPECT_EQ(log.rowChanges, before + 1);
    EXPECT_FALSE(grid.SearchActive());
    EXPECT_EQ(grid.ItemsCount(), 0);
}

// ---- Sorting ----

TEST_F(ListViewGrid, HeaderClicksCycleAscendingDescendingUnsorted) {
    Fill({"b", "a", "c"});
    const UiPoint header{60, 10};
    auto click = [&] {
        grid.MouseDown(MouseButton::Left, header, ShiftState::Left);
        grid.MouseUp(MouseButton::Left, header);
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(Paths(), (V{"b", "a", "c"}));
    click();
    EXPECT_EQ(grid.SortedColumn(), 1);
    EXPECT_EQ(Paths(), (V{"a", "b", "c"}));
    click();
    EXPECT_TRUE(grid.SortedColumnReverse());
    EXPECT_EQ(Paths(), (V{"c", "b", "a"}));
    click();
    EXPECT_EQ(grid.SortedColumn(), -1);
    EXPECT_EQ(Paths(), (V{"b", "a", "c"}));
}

TEST_F(ListViewGrid, AHeaderReleasedElsewhereDoesNotSort) {
    Fill({"b", "a"});
    grid.MouseDown(MouseButton::Left, {60, 10}, ShiftState::Left);
    grid.MouseUp(MouseButton::Left, {170, 10}); // the Mask header
    EXPECT_EQ(grid.SortedColumn(), -1);
    grid.MouseDown(MouseButton::Left, {170, 10}, ShiftState::Left);
    grid.MouseUp(MouseButton::Left, {60, 50}); // a row
    EXPECT_EQ(grid.SortedColumn(), -1);
}

TEST_F(ListViewGrid, TheFocusedItemStaysFocusedThroughASort) {
    Fill({"b", "a", "c"});
    grid.FocusRow(0); // "b"
    grid.CycleSort(1);
    EXPECT_EQ(grid.ItemFocusedRow(), 1);
    EXPECT_EQ(std::get<std::string>(grid.ItemSelected().values[1].value), "b");
    grid.CycleSort(1);
    EXPECT_EQ(grid.ItemFocusedRow(), 1);
    // Adding outside an update sorts at once, and the focus follows its item.
    grid.AddItem({true, "d"}, false, 0, 9);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"d", "c", "b", "a"}));
    EXPECT_EQ(grid.ItemFocusedRow(), 2);
}

TEST_F(ListViewGrid, NumbersSortNumericallyTextsIgnoreCaseAndTiesKeepTheOrderOfAdding) {
    grid.BeginUpdate();
    grid.AddItem({true, "x", 10}, false, 0, 0);
    grid.AddItem({true, "Beta", 2}, false, 0, 1);
    grid.AddItem({true, "alpha", 2.5}, false, 0, 2);
    grid.AddItem({false, "beta", CellValue()}, false, 0, 3);
    grid.AddItem({true, "ALPHA", "text"}, false, 0, 4);
    grid.EndUpdate();
    auto datas = [&] {
        std::vector<int> d;
        for (const ListViewItem& item : grid.Items())
            d.push_back(item.data);
        return d;
    };
    grid.SetSort(1, false);
    EXPECT_EQ(datas(), (std::vector<int>{2, 4, 1, 3, 0}));
    grid.SetSort(1, true); // the reverse turns the tie order round too
    EXPECT_EQ(datas(), (std::vector<int>{0, 3, 1, 4, 2}));
    // Empty first, numbers by value (2 < 2.5 < 10), texts last.
    grid.SetSort(2, false);
    EXPECT_EQ(datas(), (std::vector<int>{3, 1, 2, 0, 4}));
    // Booleans: false before true.
    grid.SetSort(0, false);
    EXPECT_EQ(datas(), (std::vector<int>{3, 0, 1, 2, 4}));
}

TEST(ListViewSort, MatchesAStableReferenceSortOnRandomRows) {
    std::mt19937 random(1234);
    // Beside plain letters: a fullwidth letter (U+FF21, lower case U+FF41) and a character
    // beyond the BMP, which UTF-16 orders before it although its code point is higher.
    const char* words[] = {"a",
                           "A",
                           "b",
                           "ab",
                           "Ab",
                           "B",
                           "é",
                           "É",
                           "z",
                           "",
                           "10",
                           "9",
                           "\xEF\xBC\xA1",
                           "\xF0\x9F\x98\x80",
                           "a\xF0\x9F\x98\x80",
                           "a\xEF\xBD\x81",
                           "c:\\program files\\x",
                           "C:\\Program Files\\Y"};
    for (int round = 0; round < 50; ++round) {
        ListView grid;
        grid.SetClientSize(300, 300);
        grid.AddColumn("Name", ColumnAlignment::Left, true, 1, ColumnKind::Text);
        std::vector<CellValue> cells;
        grid.BeginUpdate();
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) {
            CellValue cell;
            switch (random() % 4) {
            case 0:
                cell = CellValue(words[random() % std::size(words)]);
                break;
            case 1:
                cell = CellValue(static_cast<int>(random() % 5));
                break;
            case 2:
                cell = CellValue(static_cast<double>(random() % 10) / 2);
                break;
            default:
                break;
            }
            cells.push_back(cell);
            grid.AddItem({cell}, false, 0, i);
        }
        grid.EndUpdate();
        const bool reverse = random() % 2 == 0;
        grid.SetSort(0, reverse);

        // The reference: rank empty < number < text, numbers by value, texts by their
        // lower-case form, ties in the order of adding; reversed as a whole.
        auto rank = [](const CellValue& c) {
            if (std::holds_alternative<std::monostate>(c.value))
                return 0;
            return std::holds_alternative<std::string>(c.value) ? 2 : 1;
        };
        auto number = [](const CellValue& c) {
            if (const auto* n = std::get_if<std::int64_t>(&c.value))
                return static_cast<double>(*n);
            if (const auto* d = std::get_if<double>(&c.value))
                return *d;
            return 0.0;
        };
        std::vector<int> expected(cells.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            expected[i] = static_cast<int>(i);
        std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
            const CellValue& x = cells[static_cast<std::size_t>(a)];
            const CellValue& y = cells[static_cast<std::size_t>(b)];
            if (rank(x) != rank(y))
                return rank(x) < rank(y);
            if (rank(x) == 1)
                return number(x) < number(y);
            if (rank(x) == 2)
                return Utf8ToUtf16(Lower(std::get<std::string>(x.value))) <
                       Utf8ToUtf16(Lower(std::get<std::string>(y.value)));
            return false;
        });
        if (reverse)
            std::reverse(expected.begin(), expected.end());
        std::vector<int> actual;
        for (const ListViewItem& item : grid.Items())
            actual.push_back(item.data);
        EXPECT_EQ(actual, expected) << "round " << round;
    }
}

// ---- Keys ----

TEST(ListViewKeys, TheKeyTable) {
    using A = ListViewKeyAction;
    struct Case {
        std::uint32_t key;
        bool ctrl, searching, selected;
        A action;
    };
    const Case cases[] = {
        {VK::Up, false, false, true, A::FocusPrevious},
        {VK::Up, false, true, true, A::FocusPrevious},
        {VK::Up, true, false, true, A::ScrollRowUp},
        {VK::Down, false, false, false, A::FocusNext},
        {VK::Down, true, true, true, A::ScrollRowDown},
        // Paging moves the focus only without a search text.
        {VK::PageUp, false, false, true, A::FocusPageUp},
        {VK::PageUp, false, true, true, A::None},
        {VK::PageUp, true, true, true, A::ScrollPageUp},
        {VK::PageDown, false, false, true, A::FocusPageDown},
        {VK::PageDown, false, true, true, A::None},
        {VK::PageDown, true, false, true, A::ScrollPageDown},
        {VK::Home, false, true, true, A::FocusFirst},
        {VK::Home, true, false, true, A::ScrollTop},
        {VK::End, false, false, false, A::FocusLast},
        {VK::End, true, false, false, A::ScrollBottom},
        // Enter runs a selected row, else the context menu's Enter item; Ctrl changes nothing.
        {VK::Return, false, false, true, A::Execute},
        {VK::Return, true, false, true, A::Execute},
        {VK::Return, false, false, false, A::ClickEnterMenuItem},
        // Space flips the tick of a selected row, but not while typing a search text.
        {VK::Space, false, false, true, A::FlipCheckBox},
        {VK::Space, true, false, true, A::FlipCheckBox},
        {VK::Space, false, false, false, A::None},
        {VK::Space, false, true, true, A::None},
        {VK::Escape, false, false, false, A::EndSearch},
        {VK::Escape, false, true, true, A::EndSearch},
        {VK::Tab, false, false, true, A::None},
        {'A', false, false, true, A::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyListViewKey({c.key, c.ctrl}, c.searching, c.selected), c.action)
            << "key " << c.key << " ctrl " << c.ctrl << " searching " << c.searching;
}

TEST_F(ListViewGrid, ArrowsPagesHomeAndEndMoveTheFocusAndScrollItIntoView) {
    Fill({"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9"});
    ASSERT_TRUE(grid.ScrollBarVisible());
    ASSERT_EQ(grid.RowsPerPage(), 5);
    Key(VK::Down); // from the unselected focused row 0
    EXPECT_EQ(grid.ItemFocusedRow(), 1);
    EXPECT_TRUE(grid.ItemIsSelected());
    Key(VK::PageDown);
    EXPECT_EQ(grid.ItemFocusedRow(), 6);
    EXPECT_EQ(grid.ScrollOffset(), 2 * 17); // the band ends at row 6
    Key(VK::PageDown);
    EXPECT_EQ(grid.ItemFocusedRow(), 9);
    EXPECT_EQ(grid.ScrollOffset(), grid.MaxScrollOffset());
    Key(VK::Down);
    EXPECT_EQ(grid.ItemFocusedRow(), 9);
    Key(VK::PageUp);
    EXPECT_EQ(grid.ItemFocusedRow(), 4);
    EXPECT_EQ(grid.ScrollOffset(), 4 * 17); // the band starts at row 4
    Key(VK::Up);
    EXPECT_EQ(grid.ItemFocusedRow(), 3);
    EXPECT_EQ(grid.ScrollOffset(), 3 * 17);
    Key(VK::End);
    EXPECT_EQ(grid.ItemFocusedRow(), 9);
    Key(VK::Home);
    EXPECT_EQ(grid.ItemFocusedRow(), 0);
    EXPECT_EQ(grid.ScrollOffset(), 0);
    EXPECT_EQ(SelectedCount(), 1);
    EXPECT_EQ(log.rowChanges, 1 + 10 + 8); // the fill, then one per key
}

TEST_F(ListViewGrid, CtrlKeysScrollWithoutMovingTheFocus) {
    Fill({"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9", "r10", "r11"});
    grid.FocusRow(2);
    Key(VK::Down, true);
    EXPECT_EQ(grid.ScrollOffset(), 17);
    Key(VK::PageDown, true);
    EXPECT_EQ(grid.ScrollOffset(), 17 + 5 * 17);
    Key(VK::PageDown, true); // clamped at the bottom
    EXPECT_EQ(grid.ScrollOffset(), 12 * 17 - 5 * 17);
    Key(VK::Home, true);
    EXPECT_EQ(grid.ScrollOffset(), 0);
    Key(VK::End, true);
    EXPECT_EQ(grid.ScrollOffset(), grid.MaxScrollOffset());
    Key(VK::Up, true);
    EXPECT_EQ(grid.ScrollOffset(), grid.MaxScrollOffset() - 17);
    EXPECT_EQ(grid.ItemFocusedRow(), 2);
}

TEST_F(ListViewGrid, KeysOnAnEmptyGridChangeNothing) {
    for (std::uint32_t key :
         {VK::Up, VK::Down, VK::PageUp, VK::PageDown, VK::Home, VK::End, VK::Space, VK::Return})
        Key(key);
    EXPECT_EQ(grid.ItemFocusedRow(), -1);
    EXPECT_TRUE(log.changes.empty());
    EXPECT_TRUE(log.executes.empty());
}

TEST_F(ListViewGrid, EnterExecutesTheSelectedRowOrAsksForTheMenuItem) {
    Fill({"a", "b"});
    EXPECT_EQ(grid.KeyDown({VK::Return, false}), ListViewRequest::ClickEnterMenuItem);
    EXPECT_TRUE(log.executes.empty());
    grid.FocusRow(1);
    EXPECT_EQ(grid.KeyDown({VK::Return, false}), ListViewRequest::None);
    ASSERT_EQ(log.executes.size(), 1u);
    EXPECT_EQ(log.executes[0], (std::pair<int, unsigned>{1, 0}));
}

TEST_F(ListViewGrid, SpaceFlipsTheFirstVisibleTickUnlessItHoldsTheThirdState) {
    grid.BeginUpdate();
    grid.AddItem({true, "a"}, true, 0, 0);
    grid.AddItem({2, "b"}, false, 0, 1);
    grid.EndUpdate();
    Key(VK::Space);
    EXPECT_EQ(grid.Items()[0].values[0], CellValue(false));
    Key(VK::Space);
    EXPECT_EQ(grid.Items()[0].values[0], CellValue(true));
    EXPECT_EQ(log.changes, (std::vector<std::pair<int, int>>{{0, 0}, {0, 0}}));
    grid.FocusRow(1);
    Key(VK::Space);
    EXPECT_EQ(grid.Items()[1].values[0], CellValue(2));
    EXPECT_EQ(log.changes.size(), 2u);
}

TEST_F(ListViewGrid, SpaceUsesTheFirstVisibleCheckBoxColumn) {
    grid.ClearColumns();
    grid.AddColumn("Name", ColumnAlignment::Left, true, 100, ColumnKind::Text);
    grid.AddColumn("A", ColumnAlignment::Left, false, 20, ColumnKind::CheckBox);
    grid.AddColumn("B", ColumnAlignment::Left, true, 20, ColumnKind::CheckBox);
    grid.AddItem({"x", false, false}, true, 0, 0);
    Key(VK::Space);
    EXPECT_EQ(grid.Items()[0].values[1], CellValue(false));
    EXPECT_EQ(grid.Items()[0].values[2], CellValue(true));
    EXPECT_EQ(log.changes, (std::vector<std::pair<int, int>>{{0, 2}}));
}

// ---- Incremental search ----

TEST_F(ListViewGrid, TypingFindsRowsByPrefixIgnoringCaseAndWrapsAround) {
    Fill({"Alpha", "beta", "Gamma", "alder", "Bravo"});
    grid.FocusRow(2);
    Type("a");
    EXPECT_EQ(grid.ItemFocusedRow(), 3); // from the focused row on, "alder"
    EXPECT_EQ(grid.SearchText(), "a");
    Type("L");
    EXPECT_EQ(grid.ItemFocusedRow(), 3);
    Type("p"); // "alp": wraps round to "Alpha"
    EXPECT_EQ(grid.ItemFocusedRow(), 0);
    EXPECT_EQ(grid.SearchText(), "aLp");
    Type("x"); // nothing starts with "alpx": ignored
    EXPECT_EQ(grid.SearchText(), "aLp");
    EXPECT_EQ(grid.ItemFocusedRow(), 0);
    EXPECT_EQ(SelectedCount(), 1);
}

TEST_F(ListViewGrid, BackspaceShortensTheSearchAndAnEmptyTextEndsIt) {
    Fill({"beta", "bravo"});
    EXPECT_FALSE(grid.KeyChar(U'\b')); // no search yet: not the grid's
    Type("br");
    EXPECT_EQ(grid.ItemFocusedRow(), 1);
    EXPECT_TRUE(grid.KeyChar(U'\b'));
    EXPECT_EQ(grid.SearchText(), "b");
    EXPECT_EQ(grid.ItemFocusedRow(), 1); // "bravo" still starts with "b"
    EXPECT_TRUE(grid.KeyChar(U'\b'));
    EXPECT_FALSE(grid.SearchActive());
    EXPECT_FALSE(grid.PlanPaint().searchBox.has_value());
}

TEST_F(ListViewGrid, SearchTakesWholeCharactersAndNoControlCodes) {
    Fill({"Ärger", "Öl"});
    EXPECT_FALSE(grid.KeyChar(U'\x1b'));
    EXPECT_FALSE(grid.KeyChar(U'\r'));
    EXPECT_TRUE(grid.KeyChar(U'ö'));
    EXPECT_EQ(grid.ItemFocusedRow(), 1);
    EXPECT_TRUE(grid.KeyChar(U'\b'));
    EXPECT_FALSE(grid.SearchActive()); // the two bytes of "ö" went as one character
}

TEST_F(ListViewGrid, SearchComparesAsTheLowerCaseDisplayTextWhateverTheLetters) {
    struct Case {
        const char* typed;
        int found; // the row that takes the focus, -1 when the text is refused
    };
    // Row 0 is focused; the search starts there.
    const Case cases[] = {
        {"STRA", 1},         // ASCII on both sides
        {"stra\303\237", 1}, // ASCII, then a letter beyond it
        {"\303\244b", 2},    // "äb" finds "ÄBC"
        {"\303\204B", 2},    // "ÄB" too
        {"lin", 3},          // a multi-line text is matched as displayed...
        {"line... [1", 3},   // ... up to its line count
        {"line\r", -1},      {"zz", -1}, {"strasse", -1}, // no folding of ß
    };
    for (const Case& c : cases) {
        Fill({"first", "Stra\303\237e", "\303\204BC", "line\rmore"}); // "Straße", "ÄBC"
        grid.FocusRow(0);
        grid.EndSearch();
        // Every character must be taken; the letters go in whole, as the window sends them.
        bool taken = true;
        const std::string_view typed(c.typed);
        for (std::size_t pos = 0; pos < typed.size();)
            taken = grid.KeyChar(DecodeUtf8(typed, pos)) && taken;
        EXPECT_EQ(taken ? grid.ItemFocusedRow() : -1, c.found) << c.typed;
    }
}

TEST_F(ListViewGrid, EscapeEndsTheSearch) {
    Fill({"beta"});
    Type("b");
    Key(VK::Escape);
    EXPECT_FALSE(grid.SearchActive());
}

TEST_F(ListViewGrid, WithASearchTextArrowsHomeAndEndVisitMatchingRowsOnly) {
    Fill({"b1", "x", "b2", "y", "b3", "z"});
    Type("b");
    ASSERT_EQ(grid.ItemFocusedRow(), 0);
    Key(VK::Down);
    EXPECT_EQ(grid.ItemFocusedRow(), 2);
    Key(VK::End);
    EXPECT_EQ(grid.ItemFocusedRow(), 4);
    Key(VK::Down); // no later match: stays
    EXPECT_EQ(grid.ItemFocusedRow(), 4);
    Key(VK::Up);
    EXPECT_EQ(grid.ItemFocusedRow(), 2);
    Key(VK::Home);
    EXPECT_EQ(grid.ItemFocusedRow(), 0);
    Key(VK::PageDown); // paging does nothing while searching
    EXPECT_EQ(grid.ItemFocusedRow(), 0);
}

TEST_F(ListViewGrid, AClickOnARowThatDoesNotMatchEndsTheSearch) {
    Fill({"beta", "bravo", "x"});
    Type("b");
    grid.MouseDown(MouseButton::Left, RowPoint(1), ShiftState::Left);
    EXPECT_TRUE(grid.SearchActive());
    grid.MouseDown(MouseButton::Left, RowPoint(2), ShiftState::Left);
    EXPECT_FALSE(grid.SearchActive());
}

TEST_F(ListViewGrid, TheSearchBoxSitsAtTheRowsAreasBottomRight) {
    Fill({"beta", "bravo"});
    Type("br");
    const ListViewPaintPlan plan = grid.PlanPaint();
    ASSERT_TRUE(plan.searchBox.has_value());
    EXPECT_EQ(plan.searchBox->typed, "br");
    EXPECT_EQ(plan.searchBox->foundText, "bravo");
    // Rows area x 1-214, y 20-104: 150 wide, 18 high, 10 pixels in from its corner.
    EXPECT_EQ(plan.searchBox->rect, (UiRect{215 - 10 - 150, 105 - 10 - 18, 150, 18}));

    grid.SetClientSize(90, kHeight); // narrower than the box: the area's width
    const UiRect narrow = grid.PlanPaint().searchBox->rect;
    EXPECT_EQ(narrow.left, 1);
    EXPECT_EQ(narrow.width, 88);
}

// ---- Mouse ----

TEST_F(ListViewGrid, AClickFocusesTheRowAndReportsTheCellFlippingTicks) {
    grid.BeginUpdate();
    grid.AddItem({true, "a"}, false, 0, 0);
    grid.AddItem({2, "b"}, false, 0, 1);
    grid.EndUpdate();
    const int rowChanges = log.rowChanges;
    grid.MouseDown(MouseButton::Left, RowPoint(0, kCheckX.x), ShiftState::Left);
    EXPECT_EQ(grid.ItemFocusedRow(), 0);
    EXPECT_TRUE(grid.ItemIsSelected());
    EXPECT_EQ(grid.Items()[0].values[0], CellValue(false));
    // A text cell and a third-state tick report the click but keep their value.
    grid.MouseDown(MouseButton::Left, RowPoint(0, 100), ShiftState::Left);
    grid.MouseDown(MouseButton::Left, RowPoint(1, kCheckX.x), ShiftState::Left);
    EXPECT_EQ(grid.Items()[1].values[0], CellValue(2));
    EXPECT_EQ(log.changes, (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {1, 0}}));
    EXPECT_EQ(log.rowChanges, rowChanges + 3);
    EXPECT_TRUE(grid.HasFocus());
    // Right of the last column: the row is focused, no cell is reported.
    grid.MouseDown(MouseButton::Left, RowPoint(0, 205), ShiftState::Left);
    EXPECT_EQ(grid.ItemFocusedRow(), 0);
    EXPECT_EQ(log.changes.size(), 3u);
}

TEST_F(ListViewGrid, TheRightButtonSelectsAndAsksForTheMenu) {
    Fill({"a", "b"});
    EXPECT_EQ(grid.MouseDown(MouseButton::Right, RowPoint(1), ShiftState::Right),
              ListViewRequest::PopupMenu);
    EXPECT_EQ(grid.ItemFocusedRow(), 1);
    EXPECT_TRUE(log.changes.empty()); // only the left button reports cells
    EXPECT_EQ(grid.MouseDown(MouseButton::Right, RowPoint(4), ShiftState::Right),
              ListViewRequest::PopupMenu);
}

TEST_F(ListViewGrid, AClickBelowTheRowsDeselectsAndKeepsTheFocus) {
    Fill({"a", "b"});
    grid.FocusRow(1);
    grid.MouseDown(MouseButton::Left, RowPoint(3), ShiftState::Left);
    EXPECT_EQ(grid.ItemFocusedRow(), 1);
    EXPECT_EQ(SelectedCount(), 0);
    EXPECT_FALSE(grid.ItemIsSelected());
    EXPECT_EQ(grid.FocusedData(), 1);
}

TEST_F(ListViewGrid, ADoubleClickExecutesTheClickedRowWithTheShiftOfItsButtonDown) {
    Fill({"a", "b"});
    const unsigned shift = ShiftState::Left | ShiftState::Ctrl | ShiftState::Double;
    grid.MouseDown(MouseButton::Left, RowPoint(1), shift);
    grid.DoubleClick(RowPoint(1));
    EXPECT_EQ(log.executes, (std::vector<std::pair<int, unsigned>>{{1, shift}}));
    // Below the rows the click deselected the row: nothing runs.
    grid.MouseDown(MouseButton::Left, RowPoint(3), ShiftState::Left);
    grid.DoubleClick(RowPoint(3));
    // In the header nothing runs either.
    grid.FocusRow(0);
    grid.DoubleClick({60, 10});
    EXPECT_EQ(log.executes.size(), 1u);
}

TEST_F(ListViewGrid, HitTests) {
    Fill({"a", "b"});
    using Area = ListViewArea;
    struct Case {
        UiPoint point;
        ListViewHit hit;
    };
    const Case cases[] = {
        {{0, 50}, {}}, // the border
        {{60, 10}, {Area::HeaderCell, -1, 1}},
        {{5, 10}, {Area::HeaderCell, -1, 0}},
        // Boundaries: 2 pixels either side, never before the first column.
        {{11, 10}, {Area::HeaderBoundary, -1, 0, 1}},
        {{9, 10}, {Area::HeaderBoundary, -1, 0, 1}},
        {{13, 10}, {Area::HeaderBoundary, -1, 0, 1}},
        {{14, 10}, {Area::HeaderCell, -1, 1}},
        {{149, 10}, {Area::HeaderBoundary, -1, 1, 2}},
        {{1, 10}, {Area::HeaderCell, -1, 0}},
        // The chooser takes the header's right-most 18 pixels, over the last column.
        {{197, 10}, {Area::ColumnChooser}},
        {{214, 19}, {Area::ColumnChooser}},
        {{196, 10}, {Area::HeaderCell, -1, 2}},
        {{60, 20}, {Area::Row, 0, 1}},
        {{60, 37}, {Area::Row, 1, 1}},
        {{205, 37}, {Area::Row, 1, -1}},
        {{60, 54}, {Area::BelowRows}},
        {{60, 104}, {Area::BelowRows}},
        {{60, 105}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid.HitTest(c.point), c.hit) << c.point.x << "," << c.point.y;
    EXPECT_EQ(grid.CursorAt({12, 10}), ListViewCursor::SizeWE);
    EXPECT_EQ(grid.CursorAt({60, 10}), ListViewCursor::Arrow);
    EXPECT_EQ(grid.CursorAt({11, 40}), ListViewCursor::Arrow);
}

TEST_F(ListViewGrid, HiddenColumnsAreSkippedByHitTestsAndBoundaries) {
    grid.ToggleColumnVisible(1);
    // Now "*" and "Mask" share 200 pixels 10 : 50: x 1-33 and 34-200.
    EXPECT_EQ(grid.HitTest({34, 10}).area, ListViewArea::HeaderBoundary);
    EXPECT_EQ(grid.HitTest({34, 10}).rightColumn, 2);
    EXPECT_EQ(grid.HitTest({60, 10}).column, 2);
}

TEST_F(ListViewGrid, DraggingABoundaryMovesWeightWhileBothStayAboveThirty) {
    grid.ClearColumns();
    grid.AddColumn("A", ColumnAlignment::Left, true, 100, ColumnKind::Text);
    grid.AddColumn("B", ColumnAlignment::Left, true, 100, ColumnKind::Text);
    // Widths 100 and 100: the boundary at x 101.
    EXPECT_EQ(grid.MouseDown(MouseButton::Left, {101, 10}, ShiftState::Left),
              ListViewRequest::CaptureMouse);
    grid.MouseMove({121, 10});
    EXPECT_DOUBLE_EQ(grid.Columns()[0].width, 120);
    EXPECT_DOUBLE_EQ(grid.Columns()[1].width, 80);
    EXPECT_EQ(grid.Columns()[0].pixelWidth, 120);
    EXPECT_EQ(grid.CursorAt({150, 50}), ListViewCursor::SizeWE); // while dragging
    grid.MouseMove({175, 10}); // the right column would end at 26: refused
    EXPECT_DOUBLE_EQ(grid.Columns()[1].width, 80);
    grid.MouseMove({160, 10}); // 39 on from the last step taken: the right at 41
    EXPECT_DOUBLE_EQ(grid.Columns()[0].width, 159);
    EXPECT_DOUBLE_EQ(grid.Columns()[1].width, 41);
    grid.MouseUp(MouseButton::Left, {160, 10});
    grid.MouseMove({10, 10});
    EXPECT_DOUBLE_EQ(grid.Columns()[0].width, 159);
    EXPECT_EQ(grid.SortedColumn(), -1); // a boundary drag is no header click
}

TEST_F(ListViewGrid, TheColumnChooserShowsAndHidesColumnsButNeverTheFirst) {
    EXPECT_EQ(grid.MouseDown(MouseButton::Left, {205, 10}, ShiftState::Left),
              ListViewRequest::CaptureMouse);
    EXPECT_TRUE(grid.PlanPaint().chooserPressed);
    EXPECT_EQ(grid.MouseUp(MouseButton::Left, {205, 10}), ListViewRequest::ColumnChooser);
    grid.MouseDown(MouseButton::Left, {205, 10}, ShiftState::Left);
    EXPECT_EQ(grid.MouseUp(MouseButton::Left, {100, 50}), ListViewRequest::None);

    const std::vector<ColumnChooserItem> items = grid.ColumnChooserItems();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].caption, "*");
    EXPECT_FALSE(items[0].enabled);
    EXPECT_TRUE(items[1].enabled);
    EXPECT_TRUE(items[2].checked);

    grid.ToggleColumnVisible(2);
    EXPECT_FALSE(grid.ColumnChooserItems()[2].checked);
    EXPECT_EQ(grid.Columns()[2].pixelWidth, 0);
    EXPECT_EQ(grid.Columns()[1].pixelWidth, 187); // the rest of 200 after "*"
    grid.ToggleColumnVisible(0);
    grid.ToggleColumnVisible(7);
    EXPECT_TRUE(grid.Columns()[0].visible);
}

// ---- Scrolling ----

TEST_F(ListViewGrid, TheScrollBarShowsOnlyWhenTheRowsDoNotFit) {
    Fill({"1", "2", "3", "4", "5"});
    EXPECT_FALSE(grid.ScrollBarVisible());
    EXPECT_EQ(grid.RowsArea().width, 214);
    grid.MouseWheel(false);
    EXPECT_EQ(grid.ScrollOffset(), 0);
    grid.AddItem({true, "6"}, false, 0, 5);
    EXPECT_TRUE(grid.ScrollBarVisible());
    EXPECT_EQ(grid.RowsArea().width, 214 - 18);
    grid.MouseWheel(false);
    EXPECT_EQ(grid.ScrollOffset(), 17);
    grid.MouseWheel(false); // one row more than fits: clamped
    EXPECT_EQ(grid.ScrollOffset(), 17);
    grid.MouseWheel(true);
    EXPECT_EQ(grid.ScrollOffset(), 0);
}

TEST_F(ListViewGrid, ScrollBarGeometryAndParts) {
    std::initializer_list<const char*> twenty = {"0",  "1",  "2",  "3",  "4",  "5",  "6",
                                                 "7",  "8",  "9",  "10", "11", "12", "13",
                                                 "14", "15", "16", "17", "18", "19"};
    Fill(twenty);
    // Bar x 197-214, y 20-104; arrows 18 high; track 49 pixels; the thumb a quarter.
    const ScrollBarGeometry bar = grid.ScrollBar();
    EXPECT_EQ(bar.bar, (UiRect{197, 20, 18, 85}));
    EXPECT_EQ(bar.upArrow, (UiRect{197, 20, 18, 18}));
    EXPECT_EQ(bar.downArrow, (UiRect{197, 87, 18, 18}));
    EXPECT_EQ(bar.track, (UiRect{197, 38, 18, 49}));
    EXPECT_EQ(bar.thumb, (UiRect{197, 38, 18, 12}));
    EXPECT_EQ(grid.HitTest({200, 25}).scrollBarPart, ScrollBarPart::UpArrow);
    EXPECT_EQ(grid.HitTest({200, 40}).scrollBarPart, ScrollBarPart::Thumb);
    EXPECT_EQ(grid.HitTest({200, 60}).scrollBarPart, ScrollBarPart::PageDown);
    EXPECT_EQ(grid.HitTest({200, 100}).scrollBarPart, ScrollBarPart::DownArrow);
    EXPECT_EQ(grid.HitTest({200, 10}).area, ListViewArea::ColumnChooser);

    grid.SetScrollOffset(grid.MaxScrollOffset());
    EXPECT_EQ(grid.ScrollBar().thumb.Bottom(), 87);
    EXPECT_EQ(grid.HitTest({200, 40}).scrollBarPart, ScrollBarPart::PageUp);
}

TEST_F(ListViewGrid, HeldScrollBarPartsRepeatWhileTheMouseStaysOnThem) {
    Fill({"0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",
          "10", "11", "12", "13", "14", "15", "16", "17", "18", "19"});
    EXPECT_FALSE(grid.RepeatScroll({200, 100})); // nothing held
    EXPECT_EQ(grid.MouseDown(MouseButton::Left, {200, 100}, ShiftState::Left),
              ListViewRequest::StartScrollRepeat);
    EXPECT_EQ(grid.ScrollOffset(), 17);
    EXPECT_EQ(grid.PlanPaint().scrollBar->pressed, ScrollBarPart::DownArrow);
    EXPECT_TRUE(grid.RepeatScroll({200, 100}));
    EXPECT_EQ(grid.ScrollOffset(), 34);
    EXPECT_FALSE(grid.RepeatScroll({100, 50})); // the mouse left the arrow
    grid.MouseUp(MouseButton::Left, {200, 100});
    EXPECT_FALSE(grid.RepeatScroll({200, 100}));

    // A page step below the thumb, repeated until the thumb reaches the mouse.
    grid.SetScrollOffset(0);
    grid.MouseDown(MouseButton::Left, {200, 80}, ShiftState::Left);
    EXPECT_EQ(grid.ScrollOffset(), 5 * 17);
    int steps = 0;
    while (grid.RepeatScroll({200, 80}))
        ++steps;
    EXPECT_LE(grid.ScrollBar().thumb.top, 80);
    EXPECT_GE(grid.ScrollBar().thumb.Bottom(), 80);
    EXPECT_LT(steps, 5);
    grid.MouseUp(MouseButton::Left, {200, 80});
}

TEST_F(ListViewGrid, DraggingTheThumbScrollsInProportion) {
    Fill({"0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",
          "10", "11", "12", "13", "14", "15", "16", "17", "18", "19"});
    EXPECT_EQ(grid.MouseDown(MouseButton::Left, {200, 40}, ShiftState::Left),
              ListViewRequest::CaptureMouse);
    grid.MouseMove({0, 40 + 37}); // the whole free track (49 - 12)
    EXPECT_EQ(grid.ScrollOffset(), grid.MaxScrollOffset());
    grid.MouseMove({0, 40 + 18});
    EXPECT_NEAR(grid.ScrollOffset(), grid.MaxScrollOffset() / 2, 5);
    grid.MouseMove({0, -500});
    EXPECT_EQ(grid.ScrollOffset(), 0);
    grid.MouseUp(MouseButton::Left, {0, 0});
}

TEST_F(ListViewGrid, ResizingAndClearingKeepTheOffsetWithinTheContent) {
    Fill({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    grid.SetScrollOffset(1000);
    EXPECT_EQ(grid.ScrollOffset(), 5 * 17);
    grid.SetClientSize(kWidth, kHeight + 3 * 17);
    EXPECT_EQ(grid.ScrollOffset(), 2 * 17);
    grid.ClearItems();
    EXPECT_EQ(grid.ScrollOffset(), 0);
}

// ---- Painting ----

TEST_F(ListViewGrid, ThePlanHoldsOnlyTheVisibleRows) {
    grid.BeginUpdate();
    const CellValue ticks[] = {true, false, 2};
    for (int i = 0; i < 1000; ++i)
        grid.AddItem({ticks[i % 3], "row " + std::to_string(i), "a\rb\rc"}, false, 0, i);
    grid.EndUpdate();
    grid.SetScrollOffset(17 * 500 + 8); // row 500 half scrolled out
    const ListViewPaintPlan plan = grid.PlanPaint();
    ASSERT_EQ(plan.rows.size(), 6u);
    EXPECT_EQ(plan.rows.front().index, 500);
    EXPECT_EQ(plan.rows.front().rect, (UiRect{1, 20 - 8, 196, 17}));
    EXPECT_EQ(plan.rows.back().index, 505);
    const ListViewRowPlan& row = plan.rows[1]; // row 501
    ASSERT_EQ(row.cells.size(), 3u);
    EXPECT_EQ(row.cells[0].kind, ColumnKind::CheckBox);
    EXPECT_EQ(plan.rows[0].cells[0].check, CheckState::Mixed);
    EXPECT_EQ(row.cells[0].check, CheckState::Checked);
    EXPECT_EQ(plan.rows[2].cells[0].check, CheckState::Unchecked);
    // The centred 13-pixel box in the 10-pixel column's inner 6 pixels.
    EXPECT_EQ(row.cells[0].checkRect, (UiRect{3 + (6 - 13) / 2, row.rect.top + 2, 13, 13}));
    EXPECT_EQ(row.cells[1].text, "row 501");
    EXPECT_EQ(row.cells[1].textRect, (UiRect{13, row.rect.top, 136, 17}));
    EXPECT_EQ(row.cells[2].text, "a... [2]");
    ASSERT_TRUE(plan.scrollBar.has_value());
    EXPECT_EQ(plan.rowsArea, (UiRect{1, 20, 196, 85}));
}

TEST_F(ListViewGrid, SelectionColoursFollowTheFocus) {
    Fill({"a", "b"});
    grid.FocusRow(1);
    ListViewPaintPlan plan = grid.PlanPaint();
    EXPECT_EQ(plan.rows[1].background, ListViewColor::BtnFace);
    EXPECT_EQ(plan.rows[1].textColor, ListViewColor::WindowText);
    EXPECT_FALSE(plan.rows[1].focusRect);
    EXPECT_EQ(plan.rows[0].background, ListViewColor::Window);
    grid.SetHasFocus(true);
    plan = grid.PlanPaint();
    EXPECT_EQ(plan.rows[1].background, ListViewColor::Highlight);
    EXPECT_EQ(plan.rows[1].textColor, ListViewColor::HighlightText);
    EXPECT_TRUE(plan.rows[1].focusRect);
    EXPECT_FALSE(plan.rows[0].focusRect);
}

TEST_F(ListViewGrid, TheSortColumnShowsAnArrowAndAShadedColumn) {
    Fill({"b", "a"});
    grid.FocusRow(0);
    grid.SetSort(1, true);
    const ListViewPaintPlan plan = grid.PlanPaint();
    ASSERT_EQ(plan.headerCells.size(), 3u);
    EXPECT_EQ(plan.headerCells[1].arrow, SortArrow::Descending);
    EXPECT_EQ(plan.headerCells[0].arrow, SortArrow::None);
    EXPECT_EQ(plan.headerCells[1].rect, (UiRect{11, 1, 140, 19}));
    EXPECT_EQ(plan.headerCells[1].arrowRect.Right(), 151 - 5);
    EXPECT_LE(plan.headerCells[1].textRect.Right(), plan.headerCells[1].arrowRect.left);
    EXPECT_EQ(plan.headerCells[2].textRect, (UiRect{156, 1, 40, 19}));
    EXPECT_EQ(plan.chooserButton, (UiRect{197, 1, 18, 19}));
    // The selected row is filled across; the other row's sort cell is shaded.
    for (const ListViewRowPlan& row : plan.rows)
        EXPECT_EQ(row.cells[1].shaded, !row.selected);
    EXPECT_FALSE(plan.rows[0].cells[2].shaded);
}

TEST_F(ListViewGrid, AnIconTakesTheFirstColumnsLeft) {
    grid.ClearColumns();
    grid.AddColumn("Name", ColumnAlignment::Left, true, 100, ColumnKind::Text);
    grid.AddItem({"x"}, false, 42, 0);
    const ListViewRowPlan row = grid.PlanPaint().rows.at(0);
    EXPECT_EQ(row.icon, 42);
    EXPECT_EQ(row.iconRect, (UiRect{3, 20, 16, 16}));
    EXPECT_EQ(row.cells[0].textRect.left, 3 + 16 + 2);
}

TEST_F(ListViewGrid, RepaintsWaitForTheEndOfAnUpdate) {
    grid.BeginUpdate();
    grid.ClearItems();
    grid.AddItem({true, "a"}, true, 0, 0);
    grid.SetCellValue(0, 1, "b");
    grid.ClearColumns();
    EXPECT_EQ(log.repaints, 0);
    grid.EndUpdate();
    EXPECT_EQ(log.repaints, 1);
}

// ---- Accessibility ----

TEST_F(ListViewGrid, AccessibleRowsGiveTextsAndTickStates) {
    grid.ToggleColumnVisible(2);
    grid.BeginUpdate();
    grid.AddItem({2, "line\rmore", "hidden"}, false, 0, 0);
    grid.EndUpdate();
    const std::vector<AccessibleCell> cells = grid.AccessibleRow(0);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].header, "*");
    EXPECT_EQ(cells[0].check, CheckState::Mixed);
    EXPECT_EQ(cells[0].text, "");
    EXPECT_EQ(cells[1].header, "Path");
    EXPECT_EQ(cells[1].text, "line... [1]");
    EXPECT_FALSE(cells[1].check.has_value());
    EXPECT_TRUE(grid.AccessibleRow(1).empty());
    EXPECT_TRUE(grid.AccessibleRow(-1).empty());
}

TEST_F(ListViewGrid, RowAndCellRectanglesFollowTheScrollAndSkipHiddenColumns) {
    Fill({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    grid.SetScrollOffset(2 * 17 + 5);
    // Rows above the band lie above the rows area, as the painter would have put them.
    EXPECT_EQ(grid.RowRect(0), (UiRect{1, 20 - 39, 196, 17}));
    EXPECT_EQ(grid.RowRect(3), (UiRect{1, 20 + 17 - 5, 196, 17}));
    EXPECT_EQ(grid.CellRect(3, 2), (UiRect{151, 32, 50, 17}));
    grid.ToggleColumnVisible(1);
    EXPECT_EQ(grid.CellRect(3, 1), UiRect{});
    EXPECT_EQ(grid.CellRect(3, 2).left, 1 + 33); // 10 : 50 share the 200 pixels now
    EXPECT_EQ(grid.RowRect(10), UiRect{});
    EXPECT_EQ(grid.RowRect(-1), UiRect{});
}

TEST_F(ListViewGrid, ToggleCheckCellActsLikeAClickOnTheBox) {
    grid.BeginUpdate();
    grid.AddItem({true, "a"}, false, 0, 0);
    grid.AddItem({2, "b"}, false, 0, 1);
    grid.EndUpdate();
    grid.ToggleCheckCell(0, 0);
    EXPECT_EQ(grid.Items()[0].values[0], CellValue(false));
    grid.ToggleCheckCell(1, 0); // the third state never flips, but is reported
    EXPECT_EQ(grid.Items()[1].values[0], CellValue(2));
    grid.ToggleCheckCell(0, 1); // a text cell is no box
    grid.ToggleCheckCell(5, 0);
    EXPECT_EQ(log.changes, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}}));
    EXPECT_EQ(grid.Items()[0].values[1], CellValue("a"));
}

TEST_F(ListViewGrid, TheGridAsTextAndTheRowsNames) {
    grid.BeginUpdate();
    grid.AddItem({true, "C:\\a", "*.exe"}, false, 0, 0);
    grid.AddItem({false, "two\rlines", ""}, false, 0, 1);
    grid.AddItem({2, "x"}, false, 0, 2);
    grid.EndUpdate();
    EXPECT_EQ(ListViewText(grid), "*\tPath\tMask\r\n"
                                  "[x]\tC:\\a\t*.exe\r\n"
                                  "[ ]\ttwo... [1]\t\r\n"
                                  "[-]\tx\t\r\n");
    EXPECT_EQ(grid.AccessibleRowName(0), "C:\\a\t*.exe");
    grid.ToggleColumnVisible(2);
    EXPECT_EQ(ListViewText(grid), "*\tPath\r\n[x]\tC:\\a\r\n[ ]\ttwo... [1]\r\n[-]\tx\r\n");
    EXPECT_EQ(grid.AccessibleRowName(1), "two... [1]");
    EXPECT_EQ(grid.AccessibleRowName(3), "");
    grid.ClearItems();
    EXPECT_EQ(ListViewText(grid), "*\tPath\r\n");
}

} // namespace
} // namespace orvan
