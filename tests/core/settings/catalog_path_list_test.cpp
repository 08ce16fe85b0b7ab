#include "core/settings/catalog_path_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvan {
namespace {

SettingsOptionsCatalogPath Path(std::string folder, bool active = true) {
    return {std::move(folder), UnlimitedDepth, false, "*.exe", active};
}

SettingsOptionsCatalogPaths ThreePaths() {
    return {Path("C:\\A"), Path("C:\\B", false), Path("C:\\C")};
}

std::vector<std::string> Folders(const SettingsOptionsCatalogPaths& paths) {
    std::vector<std::string> folders;
    for (const SettingsOptionsCatalogPath& path : paths)
        folders.push_back(path.path);
    return folders;
}

TEST(CatalogPathList, RowsShowFlagPathAndMaskWithTheirIndex) {
    SettingsOptionsCatalogPaths paths = ThreePaths();
    paths[1].mask = "";
    paths[1].depth = 3; // not shown
    const CatalogPathList list = FillPathList(paths, 1);
    ASSERT_EQ(list.rows.size(), 3u);
    EXPECT_EQ(list.rows[1].cells, (std::array<std::string, 3>{"", "C:\\B", ""}));
    EXPECT_FALSE(list.rows[1].checked);
    EXPECT_TRUE(list.rows[2].checked);
    for (std::size_t i = 0; i < list.rows.size(); ++i)
        EXPECT_EQ(list.rows[i].index, i);
    EXPECT_EQ(list.selected, 1);
}

TEST(CatalogPathList, WantedRowIsClampedToTheList) {
    struct Case {
        std::size_t paths;
        std::ptrdiff_t wanted;
        std::ptrdiff_t selected;
    };
    const Case cases[] = {
        {3, 0, 0},   {3, 2, 2}, {3, 3, 2},  {3, 99, 2}, {3, -1, 0},
        {3, -99, 0}, {1, 5, 0}, {0, 0, -1}, {0, 3, -1}, {0, -1, -1},
    };
    for (const Case& c : cases) {
        SettingsOptionsCatalogPaths paths = ThreePaths();
        paths.resize(c.paths);
        EXPECT_EQ(FillPathList(paths, c.wanted).selected, c.selected)
            << c.paths << " paths, wanted " << c.wanted;
    }
}

TEST(CatalogPathList, ColumnsAndMenu) {
    const std::array<PathColumn, 3> columns = CatalogPathColumns();
    EXPECT_EQ(columns[0].caption, "*");
    EXPECT_EQ(columns[0].kind, PathColumnKind::CheckBox);
    EXPECT_EQ(columns[0].align, PathColumnAlign::Center);
    EXPECT_EQ(columns[1].caption, "Path");
    EXPECT_EQ(columns[2].caption, "Mask");
    EXPECT_EQ(columns[2].kind, PathColumnKind::Text);
    EXPECT_EQ(columns[0].weight + columns[1].weight + columns[2].weight, 200);
    EXPECT_EQ(columns[1].weight, 140);

    for (bool selected : {false, true}) {
        const std::array<PathMenuItem, 3> menu = PathMenuItems(selected);
        EXPECT_EQ(menu[0].caption, "Add");
        EXPECT_TRUE(menu[0].enabled);
        EXPECT_EQ(menu[1].caption, "Delete");
        EXPECT_EQ(menu[1].tag, PathMenuTag::Delete);
        EXPECT_EQ(menu[1].enabled, selected);
        EXPECT_EQ(menu[2].caption, "Edit");
        EXPECT_EQ(menu[2].enabled, selected);
        EXPECT_TRUE(menu[2].separatorBefore);
    }
    // With no paths nothing is selected, so Delete and Edit are off.
    EXPECT_EQ(FillPathList({}, 0).selected, -1);
}

TEST(CatalogPathCommands, AddAppendsTheEditedPathOrNothing) {
    SettingsOptionsCatalogPaths paths = ThreePaths();
    SettingsOptionsCatalogPath offered;
    const std::ptrdiff_t added = AddCatalogPath(paths, [&](SettingsOptionsCatalogPath& path) {
        offered = path;
        path.path = "D:\\New";
        return true;
    });
    EXPECT_EQ(offered, (SettingsOptionsCatalogPath{"", UnlimitedDepth, true, "", true}));
    EXPECT_EQ(added, 3);
    EXPECT_EQ(Folders(paths), (std::vector<std::string>{"C:\\A", "C:\\B", "C:\\C", "D:\\New"}));

    const std::ptrdiff_t cancelled = AddCatalogPath(paths, [](SettingsOptionsCatalogPath& path) {
        path.path = "typed, then cancelled";
        return false;
    });
    EXPECT_EQ(cancelled, 0); // the first row is selected
    EXPECT_EQ(paths.size(), 4u);
}

TEST(CatalogPathCommands, DeleteSelectsTheFollowingOrTheNewLastRow) {
    struct Case {
        std::size_t paths;
        std::size_t index;
        std::vector<std::string> left;
        std::ptrdiff_t selected;
    };
    const Case cases[] = {
        {3, 0, {"C:\\B", "C:\\C"}, 0},
        {3, 1, {"C:\\A", "C:\\C"}, 1},
        {3, 2, {"C:\\A", "C:\\B"}, 1}, // the last row: the new last one
        {1, 0, {}, -1},                // the only row: nothing left to select
    };
    for (const Case& c : cases) {
        SettingsOptionsCatalogPaths paths = ThreePaths();
        paths.resize(c.paths);
        const std::optional<std::ptrdiff_t> wanted =
            DeleteCatalogPath(paths, c.index, std::ptrdiff_t(c.index));
        ASSERT_TRUE(wanted.has_value());
        EXPECT_EQ(Folders(paths), c.left);
        EXPECT_EQ(FillPathList(paths, *wanted).selected, c.selected) << c.index;
    }
    SettingsOptionsCatalogPaths paths = ThreePaths();
    EXPECT_FALSE(DeleteCatalogPath(paths, 3, 3).has_value());
    EXPECT_EQ(paths.size(), 3u);

    const DeleteQuestion question = DeletePathQuestion();
    EXPECT_EQ(question.title, "Question");
    EXPECT_EQ(question.text, "Are you sure you want to delete this item?");
}

TEST(CatalogPathCommands, EditChangesThePathOnlyWhenConfirmed) {
    SettingsOptionsCatalogPaths paths = ThreePaths();
    const auto edit = [](bool confirm) {
        return [confirm](SettingsOptionsCatalogPath& path) {
            path.path += "\\Sub";
            path.depth = 4;
            return confirm;
        };
    };
    EXPECT_FALSE(EditCatalogPathAt(paths, 1, edit(false)).has_value());
    EXPECT_EQ(paths, ThreePaths());
    EXPECT_EQ(EditCatalogPathAt(paths, 1, edit(true)), std::optional<std::ptrdiff_t>(1));
    EXPECT_EQ(paths[1].path, "C:\\B\\Sub");
    EXPECT_EQ(paths[1].depth, 4);
    EXPECT_EQ(paths[0], ThreePaths()[0]);
    EXPECT_FALSE(EditCatalogPathAt(paths, 7, edit(true)).has_value());
}

TEST(CatalogPathCommands, OnlyTheCheckBoxCellSetsTheFlagOfItsOwnPath) {
    struct Case {
        std::size_t index;
        std::size_t cell;
        bool checked;
        bool changed;
    };
    const Case cases[] = {
        {1, 0, true, true},   // turned on
        {0, 0, false, true},  // turned off
        {0, 0, true, false},  // already so
        {1, 1, true, false},  // a click on the path cell
        {1, 2, true, false},  // or on the mask
        {3, 0, false, false}, // no such path
    };
    for (const Case& c : cases) {
        SettingsOptionsCatalogPaths paths = ThreePaths();
        EXPECT_EQ(CatalogPathCellChanged(paths, c.index, c.cell, c.checked), c.changed);
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const bool expected = c.changed && i == c.index ? c.checked : ThreePaths()[i].active;
            EXPECT_EQ(paths[i].active, expected) << c.index << "/" << c.cell << " row " << i;
        }
    }
}

} // namespace
} // namespace orvan
