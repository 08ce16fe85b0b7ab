#include "core/settings/settings_model.h"

#include "core/base/date_general.h"
#include "core/catalog/scanner.h"
#include "fakes/fixed_folders.h"
#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

using testing::FakeFolders;
using testing::MemoryFileSystem;

// --- what the controls show and store -----------------------------------------------------

struct CheckCase {
    SettingsCheck check;
    bool SettingsOptions::*field; // for the top-level fields
    bool SettingsOptionsCatalog::*catalogField;
    bool editable;
};

// The order box stands for the results' order, which is no flag: ticked is Relevance.
bool FieldOf(const SettingsOptions& options, const CheckCase& c) {
    if (c.check == SettingsCheck::OrderByRelevance)
        return options.order == ResultOrder::Relevance;
    return c.field != nullptr ? options.*c.field : options.catalog.*c.catalogField;
}

void SetField(SettingsOptions& options, const CheckCase& c, bool value) {
    if (c.check == SettingsCheck::OrderByRelevance)
        options.order = value ? ResultOrder::Relevance : ResultOrder::Name;
    else if (c.field != nullptr)
        options.*c.field = value;
    else
        options.catalog.*c.catalogField = value;
}

const CheckCase kCheckCases[] = {
    {SettingsCheck::AlwaysVisible, &SettingsOptions::alwaysVisible, nullptr, true},
    {SettingsCheck::AutoHide, &SettingsOptions::autoHide, nullptr, true},
    {SettingsCheck::AlwaysOnTop, &SettingsOptions::alwaysOnTop, nullptr, true},
    {SettingsCheck::AutoCenter, &SettingsOptions::autoCenter, nullptr, true},
    {SettingsCheck::ShowOnDesktop, &SettingsOptions::showOnDesktop, nullptr, false},
    {SettingsCheck::PortableMode, &SettingsOptions::portable, nullptr, false},
    {SettingsCheck::CatalogAutoUpdate, nullptr, &SettingsOptionsCatalog::autoUpdate, true},
    {SettingsCheck::ShowTrayIcon, &SettingsOptions::trayIcon, nullptr, true},
    {SettingsCheck::OrderByRelevance, nullptr, nullptr, true},
};

TEST(SettingsControls, EachBoxShowsAndStoresItsOwnField) {
    for (const CheckCase& c : kCheckCases) {
        for (bool stored : {false, true}) {
            SettingsOptions options;
            options.catalog.autoUpdate = false;
            options.autoHide = false;
            options.autoCenter = false;
            SetField(options, c, stored);
            SettingsControls controls = OptionsToControls(options);
            for (const CheckCase& other : kCheckCases)
                EXPECT_EQ(controls.Check(other.check), FieldOf(options, other))
                    << int(c.check) << " shows " << int(other.check);

            // Flipping this box changes its field, and no other, unless it is a disabled one.
            const SettingsOptions before = options;
            controls.Check(c.check) = !stored;
            ControlsToOptions(controls, options);
            for (const CheckCase& other : kCheckCases) {
                const bool changed = other.check == c.check && c.editable;
                EXPECT_EQ(FieldOf(options, other), changed ? !stored : FieldOf(before, other))
                    << int(c.check) << " stores " << int(other.check);
            }
        }
    }
}

TEST(SettingsControls, BoxesCarryTheirCaptionsAndOnlyTwoAreDisabled) {
    const SettingsDialogTexts texts = SettingsTexts();
    const char* const expected[] = {
        "Always visible",      "Auto hide",       "Always on top",
        "Auto center",         "Show on desktop", "Portable mode",
        "Auto update catalog", "Show tray icon",  "Order results by relevance"};
    for (std::size_t i = 0; i < kSettingsCheckCount; ++i) {
        EXPECT_EQ(kSettingsCheckBoxes[i].check, kCheckCases[i].check);
        EXPECT_EQ(kSettingsCheckBoxes[i].enabled, kCheckCases[i].editable);
        EXPECT_EQ(texts.checks[i], expected[i]);
    }
    EXPECT_EQ(texts.caption, "Options");
    EXPECT_EQ(texts.ok, "Ok");
    EXPECT_EQ(texts.cancel, "Cancel");
    EXPECT_EQ(texts.tabs, (std::array<std::string, 3>{"General settings", "Catalog", "Status"}));
    EXPECT_EQ(texts.rescan, "Rebuild");
    EXPECT_EQ(texts.forget, "Forget");
    EXPECT_EQ(texts.hotKeyLabel, "Hot key:");
    EXPECT_EQ(texts.languageLabel, "Language:");
}

TEST(SettingsControls, HotKeyEntryWithoutAKeyKeepsTheStoredOne) {
    struct Case {
        std::uint16_t entry;
        std::int32_t stored;
    };
    const Case cases[] = {
        {0xC020, 0xC020}, // Ctrl+Alt+Space
        {0x0070, 0x0070}, // F1 alone is a key too
        {0x0000, 0x8020}, // the cleared entry
        {0x4000, 0x8020}, // Ctrl with no key yet
    };
    for (const Case& c : cases) {
        SettingsOptions options; // Alt+Space
        SettingsControls controls = OptionsToControls(options);
        EXPECT_EQ(controls.hotKey, 0x8020);
        controls.hotKey = c.entry;
        ControlsToOptions(controls, options);
        EXPECT_EQ(options.hotKey, c.stored) << c.entry;
    }
}

TEST(SettingsLanguages, OfferEveryLanguageButNoneWithItsCode) {
    const std::vector<LanguageChoice> choices = LanguageChoices();
    ASSERT_EQ(choices.size(), 204u);
    EXPECT_EQ(choices.front().text, "Default");
    EXPECT_EQ(choices.front().lcid, 1);
    EXPECT_EQ(choices[1].text, "Afrikaans");
    EXPECT_EQ(choices[1].lcid, 1078);
    EXPECT_EQ(choices.back().text, "Zulu");
    EXPECT_EQ(choices.back().lcid, 1077);
    for (const LanguageChoice& choice : choices)
        EXPECT_NE(choice.text, "None");
}

TEST(SettingsLanguages, ThoseWithALanguageFileShowItsOwnName) {
    const std::vector<LanguageFileInfo> files = {{1031, "Deutsch", "D:\\L\\de.lng"},
                                                 {2055, "Swiss German", "D:\\L\\ch.lng"}};
    const std::vector<LanguageChoice> choices = LanguageChoices(files);
    const auto shown = [&](std::int32_t lcid) { return choices[LanguageChoiceIndex(lcid)].text; };
    EXPECT_EQ(shown(1), "Default");
    EXPECT_EQ(shown(1031), "German (Deutsch)");
    EXPECT_EQ(shown(2055), "Swiss German (2055)"); // a file that gives no other name
    EXPECT_EQ(shown(1036), "French");
    // Marks change no item's place: the stored index still names the same language.
    EXPECT_EQ(choices.size(), LanguageChoices().size());

    // Shown in German, German does not repeat its own name.
    struct EnglishAfterwards {
        ~EnglishAfterwards() { ClearTranslations(); }
    } english;
    const TranslatedText german[] = {{1186, "Deutsch"}};
    SetTranslations(1031, german);
    EXPECT_EQ(LanguageChoices(files)[LanguageChoiceIndex(1031)].text, "Deutsch (German)");
}

TEST(SettingsLanguages, StoredCodeSelectsTheFirstItemWithItElseDefault) {
    const std::vector<LanguageChoice> choices = LanguageChoices();
    struct Case {
        std::int32_t stored;
        const char* shown;
        std::int32_t storedOnOk;
    };
    const Case cases[] = {
        {1, "Default", 1},       {1031, "German", 1031},
        {1088, "Kirghiz", 1088}, // shared with "Kyrgyz", which comes later
        {1072, "Sesotho", 1072}, // shared with "Sutu"
        {0, "Default", 1},       // "None" is not offered
        {4242, "Default", 1},    {-7, "Default", 1},
    };
    for (const Case& c : cases) {
        SettingsOptions options;
        options.language = c.stored;
        const SettingsControls controls = OptionsToControls(options);
        ASSERT_GE(controls.languageIndex, 0);
        EXPECT_EQ(choices[std::size_t(controls.languageIndex)].text, c.shown) << c.stored;
        ControlsToOptions(controls, options);
        EXPECT_EQ(options.language, c.storedOnOk) << c.stored;
    }
    // Nothing selected, or an index past the list, stores "Default".
    for (std::ptrdiff_t index : {std::ptrdiff_t(-1), std::ptrdiff_t(204), std::ptrdiff_t(9999)}) {
        SettingsOptions options;
        options.language = 1031;
        SettingsControls controls = OptionsToControls(options);
        controls.languageIndex = index;
        ControlsToOptions(controls, options);
        EXPECT_EQ(options.language, 1) << index;
    }
}

// --- status texts ---------------------------------------------------------------------------

TEST(SettingsProgressTexts, CountsAndLastRebuild) {
    EXPECT_EQ(RebuildProgressText(12345, 7, 1000000, "C:\\Start\\x.lnk"),
              "Rebuilding new catalog.\r\rCatalog items: 12345\rFolders: 7\rFiles: 1000000\r\r"
              "Scanning folder: C:\\Start\\x.lnk");

    LocaleSettings locale;
    locale.shortDateFormat = "dd.MM.yyyy";
    locale.longTimeFormat = "H:mm:ss";
    struct Case {
        std::size_t items;
        double lastRebuild;
        const char* expected;
    };
    const Case cases[] = {
        {0, 0, "Catalog has 0 items.\r\rLast rebuild: -"},
        {1234567, 45293 + (13 * 3600 + 5 * 60 + 9) / 86400.0,
         "Catalog has 1234567 items.\r\rLast rebuild: 02.01.2024 13:05:09"},
        {3, 45293, "Catalog has 3 items.\r\rLast rebuild: 02.01.2024"}, // midnight
        {3, 1e12, "Catalog has 3 items.\r\rLast rebuild: -"},           // no date at all
    };
    for (const Case& c : cases)
        EXPECT_EQ(CatalogStatusText(c.items, c.lastRebuild, locale), c.expected);
}

// --- the dialog's life ----------------------------------------------------------------------

class FixedClock final : public ClockPort {
public:
    double Now() const override { return 45678.5; }
};

class NoShellNames final : public ShellNamePort {
public:
    std::string DisplayName(const std::string&) const override { return {}; }
};

CatalogItems OldCatalog() {
    return CatalogItems({{"C:\\old.exe", "old", 0}});
}

class SettingsDialogTest : public ::testing::Test {
protected:
    SettingsDialogTest() {
        disk.AddFile("C:\\Apps\\a.exe");
        disk.AddFile("C:\\Apps\\One\\b.exe");
        disk.AddFile("C:\\Apps\\Two\\c.exe");
        current.catalog.paths = {{"C:\\Apps", UnlimitedDepth, false, "*.exe", true}};
        current.catalog.items = OldCatalog();
        current.catalog.lastRebuild = 40000.25;
    }

    // Starts rebuilds as the catalog's owner would, but keeps them for the test to run.
    SettingsDialogModel::StartRebuild Keep() {
        return [this](const DialogRebuild& rebuild) { started.push_back(rebuild); };
    }
    // Runs a started rebuild to its end (as its thread would) and hands the end over.
    void Finish(const DialogRebuild& rebuild) {
        SettingsOptions options;
        options.catalog.paths = rebuild.paths;
        const bool completed = rebuild.scan->Rebuild(options, {disk, folders, shell, clock, {}});
        dialog.RebuildEnded(rebuild.id, completed, options.catalog.items,
                            options.catalog.lastRebuild);
    }

    std::vector<DialogRebuild> started;
    MemoryFileSystem disk;
    FakeFolders folders;
    NoShellNames shell;
    FixedClock clock;
    SettingsOptions current;
    SettingsDialogModel dialog;
};

TEST_F(SettingsDialogTest, OpeningWhileOpenDoesNothing) {
    ASSERT_TRUE(dialog.Open(current));
    dialog.Options().catalog.paths.clear();
    SettingsOptions other;
    other.hotKey = 0x4020;
    EXPECT_FALSE(dialog.Open(other));
    EXPECT_TRUE(dialog.Options().catalog.paths.empty()); // the edits of this opening stay
    EXPECT_EQ(dialog.Options().hotKey, 0x8020);
    EXPECT_TRUE(dialog.Cancel());
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_FALSE(dialog.Progress({}).has_value()); // the timer does nothing while closed
    ASSERT_TRUE(dialog.Open(current));             // every opening starts afresh
    EXPECT_EQ(dialog.Options().catalog.paths, current.catalog.paths);
}

TEST_F(SettingsDialogTest, RebuildThenCancelKeepsTheCurrentCatalog) {
    ASSERT_TRUE(dialog.Open(current));
    dialog.RescanClick(Keep());
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].paths, current.catalog.paths);
    Finish(started[0]);
    EXPECT_EQ(dialog.Options().catalog.items.size(), 3u);
    EXPECT_EQ(dialog.Options().catalog.lastRebuild, 45678.5);
    ASSERT_TRUE(dialog.Cancel());
    ASSERT_EQ(current.catalog.items.size(), 1u);
    EXPECT_EQ(current.catalog.items[0].path, "C:\\old.exe");
    EXPECT_EQ(current.catalog.lastRebuild, 40000.25);
}

// OK carries every editable box into the options applied, the order box (which stands for
// no flag of the record) too, and touches no other field for it.
TEST_F(SettingsDialogTest, OkCarriesTheOrderBoxAndNothingElseForIt) {
    for (const bool tick : {true, false}) {
        current.order = tick ? ResultOrder::Name : ResultOrder::Relevance;
        current.trayIcon = false;
        ASSERT_TRUE(dialog.Open(current));
        SettingsControls controls = OptionsToControls(dialog.Options());
        controls.Check(SettingsCheck::OrderByRelevance) = tick;
        const std::optional<SettingsOptions> applied = dialog.Confirm(controls, current);
        ASSERT_TRUE(applied.has_value());
        EXPECT_EQ(applied->order, tick ? ResultOrder::Relevance : ResultOrder::Name);
        EXPECT_FALSE(applied->trayIcon);
    }
}

TEST_F(SettingsDialogTest, RebuildThenOkHandsOverTheNewCatalogAndItsTime) {
    ASSERT_TRUE(dialog.Open(current));
    dialog.RescanClick(Keep());
    Finish(started.at(0));
    const std::optional<SettingsOptions> applied =
        dialog.Confirm(OptionsToControls(dialog.Options()), current);
    ASSERT_TRUE(applied.has_value());
    EXPECT_FALSE(dialog.IsOpen());
    ASSERT_EQ(applied->catalog.items.size(), 3u);
    EXPECT_EQ(applied->catalog.items[0].path, "C:\\Apps\\a.exe");
    EXPECT_EQ(applied->catalog.lastRebuild, 45678.5);
}

TEST_F(SettingsDialogTest, WhileRebuildingNothingClosesAndTheStatusShowsProgress) {
    ASSERT_TRUE(dialog.Open(current));
    const SettingsButtons idle = dialog.Buttons();
    EXPECT_TRUE(idle.okEnabled && idle.cancelEnabled && idle.closeButton);
    EXPECT_EQ(idle.rescanCaptionId, 9000051);

    dialog.RescanClick(Keep());
    const SettingsButtons busy = dialog.Buttons();
    EXPECT_FALSE(busy.okEnabled || busy.cancelEnabled || busy.closeButton);
    EXPECT_EQ(busy.rescanCaptionId, 9000052);
    EXPECT_FALSE(dialog.CloseQuery());
    EXPECT_FALSE(dialog.Cancel());
    EXPECT_FALSE(dialog.Confirm(OptionsToControls(dialog.Options()), current).has_value());
    EXPECT_TRUE(dialog.IsOpen());
    const std::optional<SettingsProgress> progress = dialog.Progress({});
    ASSERT_TRUE(progress.has_value());
    EXPECT_TRUE(progress->waiterVisible);
    EXPECT_EQ(progress->text.rfind("Rebuilding new catalog.\r\rCatalog items: ", 0), 0u)
        << progress->text;

    Finish(started.at(0));
    EXPECT_TRUE(dialog.CloseQuery());
    EXPECT_EQ(dialog.Buttons().rescanCaptionId, 9000051);
    const std::optional<SettingsProgress> done = dialog.Progress({});
    ASSERT_TRUE(done.has_value());
    EXPECT_FALSE(done->waiterVisible);
    EXPECT_EQ(done->text.rfind("Catalog has 3 items.\r\rLast rebuild: ", 0), 0u) << done->text;
}

TEST_F(SettingsDialogTest, StopEndsTheRebuildAtOnceAndKeepsTheCopysCatalog) {
    ASSERT_TRUE(dialog.Open(current));
    dialog.RescanClick(Keep());
    dialog.RescanClick(Keep()); // the button reads "Stop" now
    ASSERT_EQ(started.size(), 1u);
    // Back to "Rebuild" at once, while the stopped scan may still be ending.
    EXPECT_EQ(dialog.Buttons().rescanCaptionId, 9000051);
    EXPECT_TRUE(dialog.Buttons().okEnabled);
    EXPECT_TRUE(dialog.CloseQuery());
    EXPECT_EQ(dialog.Progress({})->text, "Catalog has 1 items.\r\rLast rebuild: " +
                                             FormatDateTimeGeneral(40000.25, LocaleSettings{}));
    // The stopped scan ends at its first entry and its end counts for nothing.
    Finish(started[0]);
    EXPECT_EQ(dialog.Options().catalog.items[0].path, "C:\\old.exe");
    EXPECT_EQ(dialog.Options().catalog.lastRebuild, 40000.25);

    // OK after a stopped rebuild applies the catalog the dialog opened with.
    const std::optional<SettingsOptions> applied =
        dialog.Confirm(OptionsToControls(dialog.Options()), current);
    ASSERT_TRUE(applied.has_value());
    EXPECT_EQ(applied->catalog.items.size(), 1u);
    EXPECT_EQ(applied->catalog.lastRebuild, 40000.25);
}

// A rebuild started after a stopped one takes its own scan; the stopped one's late end
// cannot give the copy a catalog.
TEST_F(SettingsDialogTest, AStoppedRebuildsLateEndCountsForNothing) {
    ASSERT_TRUE(dialog.Open(current));
    dialog.RescanClick(Keep());
    dialog.RescanClick(Keep()); // Stop
    dialog.RescanClick(Keep()); // Rebuild again
    ASSERT_EQ(started.size(), 2u);
    EXPECT_NE(started[0].scan, started[1].scan);
    dialog.RebuildEnded(started[0].id, true, CatalogItems({{"C:\\stale.exe", "", 0}}), 1.0);
    EXPECT_TRUE(dialog.Rebuilding());
    EXPECT_EQ(dialog.Options().catalog.items[0].path, "C:\\old.exe");
    Finish(started[1]);
    EXPECT_FALSE(dialog.Rebuilding());
    EXPECT_EQ(dialog.Options().catalog.items.size(), 3u);
}

TEST_F(SettingsDialogTest, OkHandsBackOnlyWhatTheDialogEdits) {
    ASSERT_TRUE(dialog.Open(current));
    // Meanwhile the catalog file finished loading and a path was started.
    current.catalog.items = CatalogItems({{"C:\\loaded.exe", "", 0}});
    current.catalog.lastRebuild = 41000;
    current.runHistory = {"C:\\started.exe"};
    current.runHistoryIndex = 1;
    current.portable = true;

    SettingsControls controls = OptionsToControls(dialog.Options());
    controls.Check(SettingsCheck::AlwaysOnTop) = true;
    controls.Check(SettingsCheck::PortableMode) = false; // disabled: never taken
    controls.hotKey = 0x4020;
    controls.languageIndex = std::ptrdiff_t(LanguageChoiceIndex(1031));
    dialog.Options().catalog.paths.push_back({"D:\\Tools", 2, true, "*.exe", false});

    const std::optional<SettingsOptions> applied = dialog.Confirm(controls, current);
    ASSERT_TRUE(applied.has_value());
    EXPECT_TRUE(applied->alwaysOnTop);
    EXPECT_TRUE(applied->portable);
    EXPECT_EQ(applied->hotKey, 0x4020);
    EXPECT_EQ(applied->language, 1031);
    ASSERT_EQ(applied->catalog.paths.size(), 2u);
    EXPECT_EQ(applied->catalog.paths[1].path, "D:\\Tools");
    // Not edited here: the loaded catalog is not replaced by the empty one of the opening.
    EXPECT_TRUE(applied->catalog.items.SharesWith(current.catalog.items));
    EXPECT_EQ(applied->catalog.lastRebuild, 41000);
    EXPECT_EQ(applied->runHistory, current.runHistory);
    EXPECT_EQ(applied->runHistoryIndex, 1);
}

TEST_F(SettingsDialogTest, EditingPathsThenCancellingLeavesTheCurrentPaths) {
    const SettingsOptionsCatalogPaths before = current.catalog.paths;
    ASSERT_TRUE(dialog.Open(current));
    dialog.Options().catalog.paths[0].active = false;
    dialog.Options().catalog.paths[0].path = "X:\\";
    dialog.Options().catalog.paths.push_back({});
    ASSERT_TRUE(dialog.Cancel());
    EXPECT_EQ(current.catalog.paths, before);
}

TEST_F(SettingsDialogTest, ARebuildThatFailsLeavesTheDialogUsable) {
    ASSERT_TRUE(dialog.Open(current));
    dialog.RescanClick(Keep());
    dialog.RebuildEnded(started.at(0).id, false, {}, 0); // the scan's thread ran out of memory
    EXPECT_FALSE(dialog.Rebuilding());
    EXPECT_TRUE(dialog.Buttons().okEnabled);
    EXPECT_EQ(dialog.Options().catalog.items[0].path, "C:\\old.exe");
    dialog.RescanClick(Keep()); // a second rebuild still starts
    Finish(started.at(1));
    EXPECT_EQ(dialog.Options().catalog.items.size(), 3u);
}

} // namespace
} // namespace orvan
