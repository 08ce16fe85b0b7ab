#include "core/catalog/auto_update.h"

#include "fakes/fixed_folders.h"
#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace orvan {
namespace {

using testing::FakeFolders;
using testing::MemoryFileSystem;

SettingsOptionsCatalogPath CatalogPath(std::string path, std::int32_t depth, bool active = true) {
    SettingsOptionsCatalogPath p;
    p.path = std::move(path);
    p.depth = depth;
    p.active = active;
    return p;
}

TEST(AutoUpdateFolders, WatchesTheActivePathsExpandedAndEachFolderOnce) {
    FakeFolders folders;
    folders.folders[Csidl::StartMenu] = "C:\\Users\\a\\Start Menu";
    const SettingsOptionsCatalogPaths paths = {
        CatalogPath("%STARTMENU%", UnlimitedDepth),
        CatalogPath("C:\\Tools\\", 0), // trailing backslash, depth 0: itself only
        CatalogPath("C:\\Inactive", UnlimitedDepth, false),
        CatalogPath("%DESKTOP%", UnlimitedDepth), // not resolvable here
        CatalogPath("c:\\tools", 2),              // the same folder, now as a tree
        CatalogPath("C:\\Only", 0),
        CatalogPath("C:\\", 0), // a drive root keeps its backslash
    };
    const std::vector<WatchedFolder> expected = {
        {"C:\\Users\\a\\Start Menu", true},
        {"C:\\Tools", true},
        {"C:\\Only", false},
        {"C:\\", false},
    };
    EXPECT_EQ(AutoUpdateFolders(paths, folders), expected);
}

// One scenario: events at moments, with what Due answers at checkpoints.
enum class Act {
    Change,
    EntriesChange,
    Unwatched,
    Watched,
    SettingsOpen,
    SettingsClosed,
    RebuildStart,
    RebuildDone,
    RebuildStopped,
    EntriesDone, // an entries update completed
    CatchUp,     // a full rebuild to catch up is wanted at this moment
    ExpectDue,
    ExpectEntries, // due, and the named entries suffice
    ExpectFull,    // due, in full
    ExpectIdle,
};
struct Step {
    double at;
    Act act;
};
struct ScheduleCase {
    const char* name;
    std::int32_t interval;
    std::vector<Step> steps;
    std::optional<double> nextCheckAtEnd;
};

class Schedule : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(Schedule, DecidesWhenToRebuild) {
    const ScheduleCase& c = GetParam();
    AutoUpdateSchedule schedule(c.interval, 0.0);
    for (const Step& step : c.steps) {
        SCOPED_TRACE(step.at);
        switch (step.act) {
        case Act::Change:
            schedule.Change(step.at);
            break;
        case Act::EntriesChange:
            schedule.EntriesChanged(step.at);
            break;
        case Act::Unwatched:
            schedule.SetUnwatched(true);
            break;
        case Act::Watched:
            schedule.SetUnwatched(false);
            break;
        case Act::SettingsOpen:
            schedule.SetSettingsOpen(true);
            break;
        case Act::SettingsClosed:
            schedule.SetSettingsOpen(false);
            break;
        case Act::RebuildStart:
            schedule.RebuildStarted();
            break;
        case Act::RebuildDone:
            schedule.RebuildEnded(step.at, true, true);
            break;
        case Act::RebuildStopped:
            schedule.RebuildEnded(step.at, false, true);
            break;
        case Act::EntriesDone:
            schedule.RebuildEnded(step.at, true, false);
            break;
        case Act::CatchUp:
            schedule.CatchUpAt(step.at);
            break;
        case Act::ExpectDue:
            EXPECT_TRUE(schedule.Due(step.at));
            break;
        case Act::ExpectEntries:
            EXPECT_EQ(schedule.DueUpdate(step.at), CatalogUpdate::Entries);
            break;
        case Act::ExpectFull:
            EXPECT_EQ(schedule.DueUpdate(step.at), CatalogUpdate::Full);
            break;
        case Act::ExpectIdle:
            EXPECT_FALSE(schedule.Due(step.at));
            break;
        }
    }
    EXPECT_EQ(schedule.NextCheck(), c.nextCheckAtEnd);
}

const ScheduleCase kScheduleCases[] = {
    {"IdleWithHealthyWatchesNeverRebuilds",
     3600,
     {{0, Act::ExpectIdle}, {1e6, Act::ExpectIdle}},
     std::nullopt},
    {"AChangeRebuildsAfterTheQuietPeriod",
     3600,
     {{10, Act::Change}, {11.9, Act::ExpectIdle}, {12, Act::ExpectDue}},
     12},
    {"EveryChangeRestartsTheQuietPeriod",
     3600,
     {{10, Act::Change}, {11.5, Act::Change}, {13, Act::ExpectIdle}, {13.5, Act::ExpectDue}},
     13.5},
    {"ARebuildTakesTheChangesBeforeIt",
     3600,
     {{10, Act::Change},
      {12, Act::RebuildStart},
      {12.5, Act::ExpectIdle},
      {20, Act::RebuildDone},
      {100, Act::ExpectIdle}},
     std::nullopt},
    {"AChangeDuringARebuildRebuildsAfterIt",
     3600,
     {{10, Act::Change},
      {12, Act::RebuildStart},
      {13, Act::Change},
      {16, Act::ExpectIdle},
      {20, Act::RebuildDone},
      {20, Act::ExpectDue}},
     15},
    {"AStoppedRebuildLeavesItsChangesToDo",
     3600,
     {{10, Act::Change},
      {12, Act::RebuildStart},
      {13, Act::RebuildStopped},
      {14, Act::ExpectIdle},
      {15, Act::ExpectDue}},
     15},
    {"TheSettingsDialogHoldsTheRebuildBack",
     3600,
     {{10, Act::SettingsOpen},
      {10, Act::Change},
      {30, Act::ExpectIdle},
      {40, Act::SettingsClosed},
      {40, Act::ExpectDue}},
     12},
    {"SuppressedThereIsNothingToWaitFor",
     3600,
     {{10, Act::Change}, {11, Act::SettingsOpen}},
     std::nullopt},
    {"AnUnwatchedFolderRebuildsAtTheInterval",
     3600,
     {{0, Act::Unwatched},
      {3599, Act::ExpectIdle},
      {3600, Act::ExpectDue},
      {3600, Act::RebuildStart},
      {3700, Act::RebuildDone},
      {7299, Act::ExpectIdle},
      {7300, Act::ExpectDue}},
     7300},
    {"AChangeComesBeforeTheInterval", 3600, {{0, Act::Unwatched}, {100, Act::Change}}, 102},
    {"HealthyAgainNoIntervalRebuild",
     3600,
     {{0, Act::Unwatched}, {10, Act::Watched}, {1e6, Act::ExpectIdle}},
     std::nullopt},
    {"AShortIntervalIsRaisedToAMinute",
     5,
     {{0, Act::Unwatched}, {30, Act::ExpectIdle}, {60, Act::ExpectDue}},
     60},
    {"IntervalZeroTurnsTheSafetyNetOff",
     0,
     {{0, Act::Unwatched}, {1e9, Act::ExpectIdle}, {5, Act::Change}, {7, Act::ExpectDue}},
     7},
    {"NamedEntriesAloneAreRescanned",
     3600,
     {{10, Act::EntriesChange}, {11.9, Act::ExpectIdle}, {12, Act::ExpectEntries}},
     12},
    {"AnUnnamedChangeAmongNamedOnesRebuildsInFull",
     3600,
     {{10, Act::EntriesChange}, {11, Act::Change}, {12.5, Act::ExpectIdle}, {13, Act::ExpectFull}},
     13},
    {"AStoppedEntriesUpdateIsDoneByAFullRebuild",
     3600,
     {{10, Act::EntriesChange},
      {12, Act::RebuildStart},
      {13, Act::RebuildStopped},
      {15, Act::ExpectFull}},
     15},
    {"NamesAfterAFullRebuildStartedAreRescannedAlone",
     3600,
     {{10, Act::Change},
      {12, Act::RebuildStart},
      {13, Act::EntriesChange},
      {14, Act::RebuildDone},
      {15, Act::ExpectEntries}},
     15},
    {"AFullRebuildTakesTheNamedEntriesToo",
     3600,
     {{10, Act::EntriesChange},
      {11, Act::Change},
      {13, Act::RebuildStart},
      {14, Act::RebuildDone},
      {20, Act::ExpectIdle}},
     std::nullopt},
    {"AnEntriesUpdateLeavesTheIntervalRebuildDue",
     3600,
     {{0, Act::Unwatched},
      {100, Act::EntriesChange},
      {102, Act::ExpectEntries},
      {102, Act::RebuildStart},
      {103, Act::EntriesDone},
      {3599, Act::ExpectIdle},
      {3600, Act::ExpectFull}},
     3600},
    {"TheCatchUpAfterStartRebuildsInFullOnce",
     3600,
     {{30, Act::CatchUp},
      {29.9, Act::ExpectIdle},
      {30, Act::ExpectFull},
      {30, Act::RebuildStart},
      {36, Act::RebuildDone},
      {1e6, Act::ExpectIdle}},
     std::nullopt},
    {"NamedEntriesBeforeTheCatchUpAreRescannedAloneAndItStillComes",
     3600,
     {{30, Act::CatchUp},
      {5, Act::EntriesChange},
      {7, Act::ExpectEntries},
      {7, Act::RebuildStart},
      {8, Act::EntriesDone},
      {29, Act::ExpectIdle},
      {30, Act::ExpectFull}},
     30},
    {"AFullRebuildBeforeTheCatchUpIsTheCatchUp",
     3600,
     {{30, Act::CatchUp},
      {5, Act::Change},
      {7, Act::RebuildStart},
      {9, Act::RebuildDone},
      {1e6, Act::ExpectIdle}},
     std::nullopt},
    {"AStoppedCatchUpComesAgain",
     3600,
     {{30, Act::CatchUp},
      {30, Act::RebuildStart},
      {31, Act::RebuildStopped},
      {40, Act::ExpectFull}},
     30},
    {"TheSettingsDialogHoldsTheCatchUpBack",
     3600,
     {{30, Act::CatchUp}, {20, Act::SettingsOpen}, {40, Act::ExpectIdle}},
     std::nullopt},
    {"NegativeIntervalTurnsTheSafetyNetOff",
     -1,
     {{0, Act::Unwatched}, {1e9, Act::ExpectIdle}},
     std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(AutoUpdate, Schedule, ::testing::ValuesIn(kScheduleCases),
                         [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace orvan
