#include "core/language/language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace orvan {
namespace {

// --- The table's data ------------------------------------------------------------------

TEST(LanguageTable, HoldsEveryEntryAndLanguage) {
    EXPECT_EQ(LanguageTexts().size(), 518u);
    EXPECT_EQ(LanguageList.size(), 205u);
}

TEST(LanguageTable, CurrentTextsStartAsTheDefaults) {
    for (const LanguageText& entry : LanguageTexts()) {
        EXPECT_EQ(entry.text, entry.defaultText) << entry.id;
    }
}

TEST(LanguageTable, OnlyTheQuickLaunchPlaceholderRepeats) {
    std::map<int, int> counts;
    for (const LanguageText& entry : LanguageTexts()) {
        ++counts[entry.id];
    }
    for (const auto& [id, count] : counts) {
        EXPECT_EQ(count, id == 3000000 ? 5 : 1) << id;
    }
}

TEST(LanguageTable, EntriesWithoutTextAreExactlyTheReservedOnes) {
    const std::multiset<int> expected{
        71,      218,     219,     1000,    1001,     1305,    1306,    1307,    11057,
        11058,   13006,   13007,   13008,   13009,    13040,   13041,   300002,  300003,
        300011,  1000000, 1010001, 1010002, 3000000,  3000000, 3000000, 3000000, 3000000,
        8000001, 8000017, 8000037, 8000045, 80000463, 8000056, 9000013, 9000014, 9000015,
        9000030, 9000031, 9000046, 9000055, 9000056};
    std::multiset<int> empty;
    for (const LanguageText& entry : LanguageTexts()) {
        if (entry.defaultText.empty()) {
            empty.insert(entry.id);
        }
    }
    EXPECT_EQ(empty, expected);
}

TEST(LanguageTable, EntriesCarryTheirGroups) {
    const std::set<int> groups{0, 1, 10, 11, 12, 13, 200, 300, 1000, 1010, 2000, 3000, 8000, 9000};
    std::map<int, int> groupOf;
    for (const LanguageText& entry : LanguageTexts()) {
        EXPECT_TRUE(groups.contains(entry.group)) << entry.id;
        groupOf.emplace(entry.id, entry.group);
    }
    // IDs that lie among another group's numbers.
    EXPECT_EQ(groupOf.at(12011), 11);
    for (int id = 8000050; id <= 8000056; ++id) {
        EXPECT_EQ(groupOf.at(id), 9000) << id;
    }
    EXPECT_EQ(groupOf.at(80000463), 8000);
    EXPECT_EQ(groupOf.at(1100), 1);
    EXPECT_EQ(groupOf.at(1304), 1);
    EXPECT_EQ(groupOf.at(217), 0);
}

TEST(LanguageTable, FirstAndLastEntriesKeepTableOrder) {
    EXPECT_EQ(LanguageTexts().front().id, 0);
    EXPECT_EQ(LanguageTexts().back().id, 9000057);
}

// Spot checks from every group, typed independently of the table to catch transcription slips.
struct TextCase {
    int id;
    const char* expected;
};

class LanguageTextSample : public ::testing::TestWithParam<TextCase> {};

TEST_P(LanguageTextSample, MatchesTheEnglishDefault) {
    EXPECT_EQ(Languages::Text(GetParam().id), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryGroup, LanguageTextSample,
    ::testing::Values(
        TextCase{0, "Error"}, TextCase{20, "Colapse"},
        TextCase{29, "Cannot create shortcut \"%s\"."}, TextCase{48, "<no value>"},
        TextCase{70, "Duplicate"}, TextCase{104, "Error writing file #%s!"},
        TextCase{217, "Save to file"}, TextCase{1100, "None"}, TextCase{1101, "Default"},
        TextCase{1156, "English - US"}, TextCase{1304, "Zulu"}, TextCase{10020, "%s item(s)"},
        TextCase{11053, "Date & Time"}, TextCase{12001, "Today is %s"}, TextCase{12011, "Week %s"},
        TextCase{13039, "Info inferred"}, TextCase{200013, "Bad command or file name."},
        TextCase{300010, "Started at %s"}, TextCase{1000003, "Click here to restore application."},
        TextCase{1010015, "About"},
        TextCase{2000010, "Type your question and press Enter.\r\rYou can enter file name, "
                          "folder name, name of the program, mathematic expression, internet "
                          "address or anything else."},
        TextCase{2000904, "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image)."},
        TextCase{2000913, "A sharing violation occurred."},
        TextCase{3000010, "No quick launch defined. Press right mouse to invoke menu or Ins key "
                          "to add new item."},
        TextCase{8000042, "Orvan! is running on your computer now. Install can't continue "
                          "while other instance is running. You can try to stop it by Stop "
                          "button."},
        TextCase{8000044, "Orvan! is now uninstalled. The installation process will be close. "
                          "Bye!"},
        TextCase{8000055, "Run on startup"},
        TextCase{9000053, "Rebuilding new catalog.\r\rCatalog items: %s\rFolders: %s\rFiles: "
                          "%s\r\rScanning folder: %s"},
        TextCase{9000054, "Catalog has %s items.\r\rLast rebuild: %s"}));

// --- Lookup -----------------------------------------------------------------------------

TEST(Languages, MissingOrEmptyTextsFallBackToTheirNumber) {
    EXPECT_EQ(Languages::Text(999), "Error (ID 999)");
    EXPECT_EQ(Languages::Text(71), "Error (ID 71)");           // present, empty default
    EXPECT_EQ(Languages::Text(3000000), "Error (ID 3000000)"); // five entries, all empty
    EXPECT_EQ(Languages::Text(80000463), "Error (ID 80000463)");
    EXPECT_EQ(Languages::Text(8000046), "Error (ID 8000046)");
    EXPECT_EQ(Languages::Text(-1), "Error (ID -1)");
    EXPECT_EQ(Languages::Text(1305), "Error (ID 1305)"); // just past the language names
}

TEST(Languages, EveryStoredLineBreakBecomesOneCarriageReturn) {
    const std::string text = Languages::Text(9000054);
    EXPECT_EQ(text, std::string("Catalog has %s items.") + '\r' + '\r' + "Last rebuild: %s");
    EXPECT_EQ(text.find('\\'), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 2);

    const std::string progress = Languages::Text(9000053);
    EXPECT_EQ(std::count(progress.begin(), progress.end(), '\r'), 6);
    EXPECT_EQ(progress.find('\\'), std::string::npos);
}

TEST(Languages, QuotesAreStoredAsPlainCharacters) {
    EXPECT_EQ(Languages::Text(31), "Cannot copy file \"%s\" to \"%s\".");
    EXPECT_EQ(Languages::Text(106), "Cannot delete folder/file \"%s\".");
}

// --- Placeholders -----------------------------------------------------------------------

struct FormatCase {
    const char* name;
    int id;
    std::vector<std::string> args;
    std::string expected;
};

class LanguagesTextFmt : public ::testing::TestWithParam<FormatCase> {};

TEST_P(LanguagesTextFmt, FillsPlaceholdersInOrder) {
    EXPECT_EQ(Languages::TextFmt(GetParam().id, GetParam().args), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguagesTextFmt,
    ::testing::Values(
        FormatCase{"TwoArguments", 200008, {"6", "3"}, "RND(6)=3"},
        FormatCase{
            "TooFewArgumentsLeaveAPlaceholder", 31, {"a"}, "Cannot copy file \"a\" to \"%s\"."},
        // A filled-in value holding "%s" (a path may) keeps it; the next argument goes to
        // the text's own next placeholder.
        FormatCase{"InsertedPlaceholderStays", 12010, {"%s", "x"}, "%s days, x"},
        FormatCase{"PathWithPlaceholderKeepsNextArgument",
                   31,
                   {"C:\\a%sb\\f.txt", "D:\\x"},
                   "Cannot copy file \"C:\\a%sb\\f.txt\" to \"D:\\x\"."},
        FormatCase{"HashIsNotASpecifier", 104, {"7"}, "Error writing file #7!"},
        FormatCase{"SurplusArgumentsAreIgnored", 10001, {"5", "6", "7"}, "5 bytes"},
        FormatCase{"NoArguments", 10001, {}, "%s bytes"},
        FormatCase{"FallbackHasNoPlaceholder", 999, {"x"}, "Error (ID 999)"},
        FormatCase{"EmptyArgument", 12011, {""}, "Week "},
        // An argument is inserted after the line breaks are expanded: it stays as given.
        FormatCase{"ArgumentBackslashRStaysLiteral", 12011, {"a\\rb"}, "Week a\\rb"},
        FormatCase{"ArgumentWithPercentOnly", 10002, {"100%"}, "100% kB"},
        FormatCase{"LineBreaksAroundPlaceholders",
                   9000054,
                   {"12", "today"},
                   "Catalog has 12 items.\r\rLast rebuild: today"}),
    [](const ::testing::TestParamInfo<FormatCase>& param) { return param.param.name; });

TEST(Languages, TextFmtAcceptsALiteralArgumentList) {
    EXPECT_EQ(Languages::TextFmt(31, {"a", "b"}), "Cannot copy file \"a\" to \"b\".");
    EXPECT_EQ(Languages::TextFmt(2000023, {"File"}), "File details");
}

// --- Composed texts ---------------------------------------------------------------------

TEST(Languages, ComposedTexts) {
    EXPECT_EQ(Languages::TextColon(13011), "File size:");
    EXPECT_EQ(Languages::TextSpace(13011), "File size ");
    EXPECT_EQ(Languages::TextDots(217), "Save to file...");
    EXPECT_EQ(Languages::TextColon(999), "Error (ID 999):");
    EXPECT_EQ(Languages::YesNo(true), "Yes");
    EXPECT_EQ(Languages::YesNo(false), "No");
}

TEST(Languages, DotsAreAddedOnlyOnce) {
    EXPECT_EQ(AppendDots("Save to file..."), "Save to file...");
    EXPECT_EQ(AppendDots("Wait.."), "Wait.....");
    EXPECT_EQ(AppendDots(""), "...");
    EXPECT_EQ(AppendDots(Languages::TextDots(217)), "Save to file...");
}

TEST(Languages, DayNamesRunFromMondayToSunday) {
    const std::vector<std::string> expected{"Monday", "Tuesday",  "Wednesday", "Thursday",
                                            "Friday", "Saturday", "Sunday"};
    std::vector<std::string> names;
    for (int id : DayNameIDs) {
        names.push_back(Languages::Text(id));
    }
    EXPECT_EQ(names, expected);
}

// --- Language list ----------------------------------------------------------------------

TEST(LanguageList, NamesFollowTheListOrder) {
    for (std::size_t n = 0; n < LanguageList.size(); ++n) {
        EXPECT_EQ(LanguageList[n].textId, 1100 + static_cast<int>(n));
        EXPECT_EQ(Languages::Text(LanguageList[n].textId).rfind("Error (ID", 0), std::string::npos)
            << LanguageList[n].textId;
    }
    EXPECT_EQ(Languages::Text(LanguageList[0].textId), "None");
    EXPECT_EQ(LanguageList[0].lcid, 0);
    EXPECT_EQ(Languages::Text(LanguageList[1].textId), "Default");
    EXPECT_EQ(LanguageList[1].lcid, 1);
}

TEST(LanguageList, SelectableLanguagesAndSharedIdentifiers) {
    std::map<std::string, int> lcidOf;
    for (std::size_t n = 1; n < LanguageList.size(); ++n) {
        lcidOf.emplace(Languages::Text(LanguageList[n].textId), LanguageList[n].lcid);
    }
    EXPECT_EQ(lcidOf.size(), 204u); // selectable: every pair but "None", all names distinct
    EXPECT_EQ(lcidOf.at("Kirghiz"), 1088);
    EXPECT_EQ(lcidOf.at("Kyrgyz"), 1088);
    EXPECT_EQ(lcidOf.at("Sesotho"), 1072);
    EXPECT_EQ(lcidOf.at("Sutu"), 1072);
    EXPECT_EQ(lcidOf.at("Zulu"), 1077);
    EXPECT_EQ(lcidOf.at("English - US"), 1033);
    EXPECT_EQ(lcidOf.at("Arabic - Qatar"), 16385);
    EXPECT_EQ(lcidOf.at("Spanish - Puerto Rico"), 20490);
    EXPECT_EQ(lcidOf.at("Malayalam"), 1100);

    std::map<int, int> uses;
    for (const auto& [name, lcid] : lcidOf) {
        ++uses[lcid];
    }
    for (const auto& [lcid, count] : uses) {
        EXPECT_EQ(count, lcid == 1088 || lcid == 1072 ? 2 : 1) << lcid;
    }
}

} // namespace
} // namespace orvan
