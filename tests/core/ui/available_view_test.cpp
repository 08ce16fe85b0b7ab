#include "core/ui/available_view.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

TEST(AvailableView, ARefillKeepsTheRowNumber) {
    EXPECT_EQ(SelectionAfterFill(kNoRow, 0), kNoRow);
    EXPECT_EQ(SelectionAfterFill(kNoRow, 3), 0); // no selection: row 0
    EXPECT_EQ(SelectionAfterFill(2, 3), 2);
    EXPECT_EQ(SelectionAfterFill(5, 3), kNoRow); // beyond the last row: none
    EXPECT_EQ(SelectionAfterFill(3, 3), kNoRow);
    EXPECT_EQ(SelectionAfterFill(70000, 1000000), 70000);
}

TEST(AvailableView, UpAndDownMoveWithinTheRows) {
    struct Case {
        int selection;
        std::size_t rows;
        bool visible, up;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {0, 3, true, true, std::nullopt}, // Up on row 0
        {1, 3, true, true, 0},
        {2, 3, true, false, std::nullopt}, // Down on the last row
        {1, 3, true, false, 2},
        {kNoRow, 3, true, false, 0}, // nothing selected: Down takes row 0
        {kNoRow, 3, true, true, std::nullopt},
        {1, 3, false, true, std::nullopt}, // hidden list: nothing moves
        {kNoRow, 0, false, false, std::nullopt},
        {65535, 100000, true, false, 65536},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MoveSelection(c.selection, c.rows, c.visible, c.up), c.expected)
            << c.selection << " of " << c.rows;
}

TEST(AvailableView, RowColoursIconsAndGeometry) {
    EXPECT_EQ(ChooseRowColors(true, true).background, 13);  // highlight
    EXPECT_EQ(ChooseRowColors(true, true).text, 14);        // highlight text
    EXPECT_EQ(ChooseRowColors(true, false).background, 15); // button face
    EXPECT_EQ(ChooseRowColors(true, false).text, 18);       // button text
    EXPECT_EQ(ChooseRowColors(false, true).background, 5);  // window
    EXPECT_EQ(ChooseRowColors(false, true).text, 8);        // window text

    struct IconCase {
        RunKind kind;
        bool hasFileIcon;
        bool fileIcon;
        int image;
    };
    using enum RunKind;
    const IconCase icons[] = {{Folder, false, false, 1},  {File, true, true, 2},
                              {File, false, false, 2},    {Catalog, true, true, 2},
                              {Catalog, false, false, 2}, {Calculator, false, false, 3},
                              {DateTime, false, false, 6}};
    for (const IconCase& c : icons) {
        const RowIcon icon = ChooseRowIcon(c.kind, c.hasFileIcon);
        EXPECT_EQ(icon.fileIcon, c.fileIcon) << int(c.kind);
        if (!icon.fileIcon) {
            EXPECT_EQ(icon.image, c.image) << int(c.kind);
        }
    }
    EXPECT_TRUE(RowWantsFileIcon(File) && RowWantsFileIcon(Catalog));
    EXPECT_FALSE(RowWantsFileIcon(Folder) || RowWantsFileIcon(Calculator) ||
                 RowWantsFileIcon(DateTime));

    const RowGeometry at96 = PlaceRow({0, 40, 277, 20});
    EXPECT_EQ(at96.icon, (UiRect{3, 42, 16, 16}));
    EXPECT_EQ(at96.text, (UiRect{24, 40, 251, 20}));
    const RowGeometry at192 = PlaceRow({0, 80, 554, 40}, 192);
    EXPECT_EQ(at192.icon, (UiRect{6, 84, 32, 32}));
    EXPECT_EQ(at192.text, (UiRect{48, 80, 502, 40}));
    EXPECT_EQ(PlaceRow({0, 0, 10, 20}).text.width, 0);
}

} // namespace
} // namespace orvan
