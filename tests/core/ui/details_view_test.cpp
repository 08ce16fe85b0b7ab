#include "core/ui/details_view.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

TEST(DetailsText, ParsesIntoPairsAndAnObjectName) {
    struct Case {
        const char* text;
        std::string objectName;
        std::vector<DetailsPair> pairs;
    };
    const Case cases[] = {
        // A file: the display name first, and only the first colon splits.
        {"Notepad\r\rFile name: C:\\Programs\\x.exe\rSize: 1.2 kB\rTime: 12:30:05",
         "Notepad",
         {{"File name", "C:\\Programs\\x.exe"}, {"Size", "1.2 kB"}, {"Time", "12:30:05"}}},
        // A folder: its path has a drive colon, so there is no object name.
        {"C:\\Programs\\\r\rLabel: System", "", {{"C", "\\Programs\\"}, {"Label", "System"}}},
        // No colon anywhere: the first line names the object, later ones are ignored.
        {"File not found", "File not found", {}},
        {"First\rSecond\rA: b", "First", {{"A", "b"}}},
        // Spaces and control characters go from both ends of lines, names and values.
        {" \t Name \x01:  value \x02 \r  \r", "", {{"Name", "value"}}},
        {":only value\rname:", "", {{"", "only value"}, {"name", ""}}},
        {"", "", {}},
        {"\r\r\r", "", {}},
    };
    for (const Case& c : cases) {
        const DetailsContent content = ParseDetailsText(c.text);
        EXPECT_EQ(content.objectName, c.objectName) << c.text;
        EXPECT_EQ(content.pairs, c.pairs) << c.text;
    }
}

TEST(DetailsText, HeadingAndMemoLines) {
    EXPECT_EQ(DetailsHeading("Notepad"), "Notepad details");
    EXPECT_EQ(DetailsHeading(""), " details");
    const DetailsContent content = ParseDetailsText("x\ra: 1\rb :2");
    EXPECT_EQ(DetailsMemoLines(content), (std::vector<std::string>{"a=1", "b=2"}));
}

class DetailsGrid : public ::testing::Test {
protected:
    void SetUp() override {
        grid.SetClientSize(366, 250);
        FillDetailsGrid(grid, ParseDetailsText("Notepad\rname1: value1\rname2: value2\rname3: v3"));
    }
    ListView grid;
};

TEST_F(DetailsGrid, ThreeColumnsEveryRowTickedTheFirstSelected) {
    ASSERT_EQ(grid.Columns().size(), 3u);
    EXPECT_EQ(grid.Columns()[0].caption, "*");
    EXPECT_EQ(grid.Columns()[0].kind, ColumnKind::CheckBox);
    EXPECT_EQ(grid.Columns()[1].caption, "Name");
    EXPECT_EQ(grid.Columns()[2].caption, "Value");
    EXPECT_DOUBLE_EQ(grid.Columns()[2].width, 200);
    ASSERT_EQ(grid.ItemsCount(), 3);
    for (const ListViewItem& item : grid.Items())
        EXPECT_EQ(CellCheckState(item.values[0]), CheckState::Checked);
    EXPECT_EQ(grid.ItemFocusedRow(), 0);
    EXPECT_TRUE(grid.ItemIsSelected());
    EXPECT_EQ(DetailsSelectedValue(grid), "value1");

    // A fresh fill replaces everything, a sort included.
    grid.SetSort(1, true);
    FillDetailsGrid(grid, ParseDetailsText("Other\rz: 1\ra: 2"));
    EXPECT_EQ(grid.SortedColumn(), -1);
    ASSERT_EQ(grid.ItemsCount(), 2);
    EXPECT_EQ(grid.Items()[0].values[1], CellValue("z"));
    EXPECT_EQ(grid.Items()[0].id, 1);
}

TEST_F(DetailsGrid, ExportTextTakesTheTickedRowsInListOrder) {
    // The file and the clipboard alike separate lines with CR LF.
    EXPECT_EQ(DetailsExportText(grid), "name1=value1\r\nname2=value2\r\nname3=v3");
    EXPECT_EQ(DetailsClipboardText(grid), "name1=value1\r\nname2=value2\r\nname3=v3");
    // Clearing a tick by a click on it leaves the row out.
    const int tickX = grid.PlanPaint().rows.at(1).cells.at(0).rect.left + 2;
    grid.MouseDown(MouseButton::Left, {tickX, grid.RowsArea().top + 17 + 8}, ShiftState::Left);
    EXPECT_EQ(DetailsExportText(grid), "name1=value1\r\nname3=v3");
    EXPECT_EQ(DetailsSelectedValue(grid), "value2");
    grid.SetSort(1, true);
    EXPECT_EQ(DetailsClipboardText(grid), "name3=v3\r\nname1=value1");
    // The third state counts as not ticked.
    grid.SetCellValue(0, 0, 2);
    EXPECT_EQ(DetailsExportText(grid), "name1=value1");
}

TEST_F(DetailsGrid, TheMenuNeedsASelectionToCopyOneValueAndRowsForTheRest) {
    std::vector<DetailsMenuItem> menu = PlanDetailsMenu(grid);
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].caption, "Copy value to clipboard");
    EXPECT_EQ(menu[1].caption, "Copy all values to the clipboard");
    EXPECT_EQ(menu[2].caption, "Save to file...");
    EXPECT_EQ(menu[2].command, DetailsCommand::SaveToFile);
    for (const DetailsMenuItem& item : menu)
        EXPECT_TRUE(item.enabled);

    // A click below the rows deselects: only copying one value goes.
    grid.MouseDown(MouseButton::Left, {100, grid.RowsArea().Bottom() - 2}, ShiftState::Left);
    menu = PlanDetailsMenu(grid);
    EXPECT_FALSE(menu[0].enabled);
    EXPECT_TRUE(menu[1].enabled);
    EXPECT_EQ(DetailsSelectedValue(grid), "");

    FillDetailsGrid(grid, ParseDetailsText("File not found"));
    menu = PlanDetailsMenu(grid);
    for (const DetailsMenuItem& item : menu)
        EXPECT_FALSE(item.enabled);
    EXPECT_EQ(DetailsExportText(grid), "");
}

TEST(DetailsSave, TheDialogRequestAndItsFilter) {
    struct Case {
        const char* objectName;
        const char* fileName;
    };
    const Case cases[] = {
        {"Notepad", "Notepad.txt"},
        {"x.exe", "x.txt"},
        {"C:\\Programs\\archive.tar.gz", "archive.tar.txt"},
        {"C:\\dir.d\\plain", "plain.txt"},
        {"", ".txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DetailsSaveRequest(c.objectName).fileName, c.fileName) << c.objectName;

    const SaveDialogRequest request = DetailsSaveRequest("Notepad");
    EXPECT_EQ(request.title, "Save as");
    EXPECT_EQ(request.defaultExtension, "txt");
    EXPECT_TRUE(request.addAllFiles);
    EXPECT_EQ(SaveDialogFilter(request.filter, request.addAllFiles),
              "Text file (*.txt)|*.txt|Any file (*.*)|*.*");
    EXPECT_EQ(SaveDialogFilter("", true), "Any file (*.*)|*.*");
    EXPECT_EQ(SaveDialogFilter("A|*.a", false), "A|*.a");
    EXPECT_EQ(DialogFilterString("A|*.a|B|*.b"), std::string("A\0*.a\0B\0*.b\0", 12));
}

TEST(DetailsSave, FailureMessageAndWindowTexts) {
    const DetailsMessage message = DetailsFailureMessage("Error writing file #5!");
    EXPECT_EQ(message.title, "Error");
    EXPECT_EQ(message.text, "Application error raised! [Error writing file #5!]");
    const DetailsWindowTexts texts = MakeDetailsWindowTexts();
    EXPECT_EQ(texts.caption, "Details");
    EXPECT_EQ(texts.memoTab, "As text");
    EXPECT_EQ(texts.toClipboard, "To Clipboard");
    EXPECT_EQ(texts.close, "Close");
}

} // namespace
} // namespace orvan
