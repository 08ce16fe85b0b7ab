#include "core/settings/path_editor_model.h"

#include "core/base/utf.h"
#include "core/config/options.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

TEST(PathEditorTexts, CaptionsWithTheirColons) {
    const PathEditorTexts texts = CatalogPathEditorTexts();
    EXPECT_EQ(texts.caption, "Catalog path");
    EXPECT_EQ(texts.pathLabel, "Path:");
    EXPECT_EQ(texts.maskLabel, "Mask:");
    EXPECT_EQ(texts.depthLabel, "Depth:");
    EXPECT_EQ(texts.unlimitedDepth, "Unlimited depth:");
    EXPECT_EQ(texts.includeDirectories, "Include subdirectories:");
    EXPECT_EQ(texts.active, "Path is enabled");
    EXPECT_EQ(texts.ok, "Ok");
    EXPECT_EQ(texts.cancel, "Cancel");
}

TEST(PathEditorControls, UnlimitedDepthShowsZeroDisabledAndStaysUnlimited) {
    const SettingsOptionsCatalogPath path{"%STARTMENU%", UnlimitedDepth, false, "*.*", true};
    PathEditorControls controls = PathToControls(path);
    EXPECT_EQ(controls.depth, "0");
    EXPECT_TRUE(controls.unlimitedDepth);
    EXPECT_FALSE(PathEditorStateOf(controls).depthEnabled);

    SettingsOptionsCatalogPath stored = path;
    ControlsToPath(controls, stored);
    EXPECT_EQ(stored, path);

    // Clearing Unlimited depth enables the edit and stores what it shows.
    controls.unlimitedDepth = false;
    EXPECT_TRUE(PathEditorStateOf(controls).depthEnabled);
    ControlsToPath(controls, stored);
    EXPECT_EQ(stored.depth, 0);
}

TEST(PathEditorControls, EveryFieldGoesBothWays) {
    const SettingsOptionsCatalogPath path{"%APPDATA%\\Tools", 7, true, "*.exe;*.lnk", false};
    const PathEditorControls controls = PathToControls(path);
    EXPECT_EQ(controls.path, "%APPDATA%\\Tools"); // variables stay as typed
    EXPECT_EQ(controls.mask, "*.exe;*.lnk");
    EXPECT_EQ(controls.depth, "7");
    EXPECT_FALSE(controls.unlimitedDepth);
    EXPECT_TRUE(controls.includeDirectories);
    EXPECT_FALSE(controls.active);
    SettingsOptionsCatalogPath stored;
    ControlsToPath(controls, stored);
    EXPECT_EQ(stored, path);

    // A depth below -1 from a hand-edited file shows 0 and is not unlimited.
    EXPECT_EQ(PathToControls({"C:\\", -5, false, "", true}).depth, "0");
    EXPECT_FALSE(PathToControls({"C:\\", -5, false, "", true}).unlimitedDepth);
}

TEST(PathEditorState, OkNeedsAPathAndBlanksCount) {
    struct Case {
        const char* path;
        bool ok;
    };
    const Case cases[] = {{"", false}, {" ", true}, {"C", true}, {"%WINDIR%", true}};
    for (const Case& c : cases) {
        PathEditorControls controls;
        controls.path = c.path;
        EXPECT_EQ(PathEditorStateOf(controls).okEnabled, c.ok) << '"' << c.path << '"';
    }
}

TEST(PathEditorDepth, ReadingRule) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"0", 0},
        {"12", 12},
        {"999999", 999999},
        {"1000000", 999999},
        {"99999999999999999999999", 999999}, // far beyond 32 bits, still just too many
        {"12abc", 12},                       // trailing non-digits are dropped
        {"12 ", 12},
        {"  34", 34},
        {"+5", 5},
        {"-1", 0}, // never shown as unlimited
        {"-250", 0},
        {"", 0},
        {"abc", 0},
        {"1a2", 0}, // still not a number once the tail is gone
        {"1|2", 0},
        {"3.4", 3},
        {"3.5", 4},
        {"999999.9", 999999},
        {"٣", 0}, // a digit of another script is no digit here
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadDepthText(c.text), c.value) << '"' << c.text << '"';
}

TEST(PathEditorDepth, ShownTextsAndSpinSteps) {
    struct Case {
        std::int32_t value;
        const char* shown;
    };
    const Case shown[] = {{0, "0"},
                          {-1, "0"},
                          {42, "42"},
                          {999999, "999999"},
                          {1000000, "999999"},
                          {INT32_MIN, "0"},
                          {INT32_MAX, "999999"}};
    for (const Case& c : shown)
        EXPECT_EQ(DepthText(c.value), c.shown) << c.value;

    struct Step {
        const char* text;
        int step;
        const char* result;
    };
    const Step steps[] = {{"5", 1, "6"},           {"5", -1, "4"},   {"0", -1, "0"},
                          {"999999", 1, "999999"}, {"junk", 1, "1"}, {"", -1, "0"}};
    for (const Step& s : steps)
        EXPECT_EQ(StepDepthText(s.text, s.step), s.result) << s.text << " " << s.step;
}

TEST(PathEditorFieldSeparator, RefusedWhenTypedRemovedWhenPastedOrStored) {
    EXPECT_TRUE(IsRefusedPathCharacter(U'|'));
    for (char32_t allowed : {U'a', U'\\', U'%', U';', U'*', U'?', U' ', U'¦', U'｜'})
        EXPECT_FALSE(IsRefusedPathCharacter(allowed)) << std::uint32_t(allowed);
    EXPECT_EQ(RemoveRefusedPathCharacters("C:\\a|b||c|"), "C:\\abc");
    EXPECT_EQ(RemoveRefusedPathCharacters("Ünïcødé｜¦"), "Ünïcødé｜¦");

    // Whatever reaches OK, the stored path line still reads back as the same path.
    PathEditorControls controls;
    controls.path = "C:\\x|*.*|-1|False|True";
    controls.mask = "*.exe|*.com";
    controls.depth = "2";
    controls.active = true;
    SettingsOptionsCatalogPath stored;
    ControlsToPath(controls, stored);
    EXPECT_EQ(stored.path, "C:\\x*.*-1FalseTrue");
    EXPECT_EQ(stored.mask, "*.exe*.com");
    const std::optional<SettingsOptionsCatalogPath> reread =
        ParseCatalogPathLine(FormatCatalogPathLine(stored));
    ASSERT_TRUE(reread.has_value());
    EXPECT_EQ(*reread, stored);
}

TEST(PathEditorSpecialFolders, EighteenVariablesInMenuOrder) {
    const char* const expected[] = {
        "APPDATA",  "APPDATA_LOCAL",   "PROGRAMFILES", "PROGRAMFILES_COMMON",
        "PROGRAMS", "PROGRAMS_COMMON", "STARTMENU",    "STARTMENU_COMMON",
        "WINDIR",   "USERPROFILE",     "ADMINTOOLS",   "CONTROLS",
        "DESKTOP",  "FAVORITES",       "HISTORY",      "MYDOCUMENTS",
        "PERSONAL", "PRINTERS"};
    const std::array<SpecialFolderMenuItem, 18> menu = SpecialFolderMenu();
    for (std::size_t i = 0; i < menu.size(); ++i) {
        EXPECT_EQ(menu[i].caption, expected[i]);
        EXPECT_EQ(menu[i].inserted, "%" + std::string(expected[i]) + "%");
    }
}

TEST(PathEditorSpecialFolders, InsertionReplacesTheSelectionAndSelectsTheInsertedText) {
    struct Case {
        const char* text;
        EditSelection selection;
        const char* result;
        EditSelection selected;
    };
    const Case cases[] = {
        {"C:\\", {3, 3}, "C:\\%PROGRAMFILES%", {3, 17}}, // caret at the end
        {"C:\\Apps", {0, 7}, "%PROGRAMFILES%", {0, 14}}, // all selected
        {"", {0, 0}, "%PROGRAMFILES%", {0, 14}},
        {"ab\\cd", {2, 2}, "ab%PROGRAMFILES%\\cd", {2, 16}}, // caret inside
        {"xAPPSy", {5, 1}, "x%PROGRAMFILES%y", {1, 15}},     // selected backwards
        {"ab", {9, 40}, "ab%PROGRAMFILES%", {2, 16}},        // beyond the end
        // Positions count UTF-16 code units: "é" is one, "😀" two.
        {"é\\😀\\x", {4, 5}, "é\\😀%PROGRAMFILES%x", {4, 18}},
        {"😀", {1, 1}, "%PROGRAMFILES%😀", {0, 14}}, // never between a surrogate pair
    };
    for (const Case& c : cases) {
        const EditedText edited = ReplaceSelection(c.text, c.selection, "%PROGRAMFILES%");
        EXPECT_EQ(edited.text, c.result) << c.text;
        EXPECT_EQ(edited.selection, c.selected) << c.text;
        // The selection covers exactly the inserted text.
        const std::u16string units = Utf8ToUtf16(edited.text);
        EXPECT_EQ(
            units.substr(edited.selection.start, edited.selection.end - edited.selection.start),
            u"%PROGRAMFILES%");
    }
}

} // namespace
} // namespace orvan
