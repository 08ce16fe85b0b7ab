#include "core/pages/clipboard_history.h"

#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvan {
namespace {

std::vector<std::string> Texts(const ClipboardHistory& history) {
    std::vector<std::string> texts;
    for (const ClipboardEntry& entry : history.Entries())
        texts.push_back(entry.text);
    return texts;
}

struct RecordCase {
    const char* label;
    std::vector<std::string> copied; // in the order they were copied
    std::vector<std::string> listed; // newest first
};

class ClipboardRecord : public ::testing::TestWithParam<RecordCase> {};

TEST_P(ClipboardRecord, NewestFirstWithoutRepeats) {
    ClipboardHistory history;
    for (const std::string& text : GetParam().copied)
        history.Record(text);
    EXPECT_EQ(Texts(history), GetParam().listed) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipboardRecord,
    ::testing::Values(RecordCase{"newest first", {"a", "b", "c"}, {"c", "b", "a"}},
                      RecordCase{"a repeat moves up", {"a", "b", "c", "a"}, {"a", "c", "b"}},
                      RecordCase{"the top again", {"a", "b", "b"}, {"b", "a"}},
                      RecordCase{"letter case counts", {"a", "A"}, {"A", "a"}},
                      RecordCase{"empty texts are not kept", {"a", "", "b"}, {"b", "a"}},
                      RecordCase{"blanks are text", {" ", "a"}, {"a", " "}}));

TEST(ClipboardRecord, KeepsTheNewestHundred) {
    ClipboardHistory history;
    for (int i = 1; i <= 101; ++i)
        history.Record(std::to_string(i));
    ASSERT_EQ(history.Entries().size(), kClipboardHistoryEntries);
    EXPECT_EQ(history.Entries().front().text, "101");
    EXPECT_EQ(history.Entries().back().text, "2");
    // A listed one moving up drops nothing.
    EXPECT_TRUE(history.Record("50"));
    EXPECT_EQ(history.Entries().size(), kClipboardHistoryEntries);
    EXPECT_EQ(history.Entries().back().text, "2");
    EXPECT_FALSE(history.Record("50")); // already on top: nothing changed
}

TEST(ClipboardRecord, LongTextsKeepTheirFirst64KBOfWholeCharactersAndAreMarked) {
    ClipboardHistory history;
    const std::string exact(kClipboardTextLimit, 'x');
    history.Record(exact);
    EXPECT_FALSE(history.Entries()[0].cut);
    // "é" takes two bytes and would straddle the limit: it is left out whole.
    const std::string straddling = std::string(kClipboardTextLimit - 1, 'y') + "\xC3\xA9" + "z";
    history.Record(straddling);
    EXPECT_TRUE(history.Entries()[0].cut);
    EXPECT_EQ(history.Entries()[0].text, std::string(kClipboardTextLimit - 1, 'y'));
    // The same long text again is the same entry.
    history.Record("other");
    history.Record(straddling);
    EXPECT_EQ(history.Entries().size(), 3u);
    EXPECT_TRUE(history.Entries()[0].cut);
}

struct MarkerCase {
    const char* label;
    ClipboardMarkers markers;
    bool recordable;
};

class ClipboardPrivacy : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(ClipboardPrivacy, PrivateContentIsNeverRecorded) {
    EXPECT_EQ(ClipboardTextRecordable(GetParam().markers), GetParam().recordable)
        << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipboardPrivacy,
    ::testing::Values(MarkerCase{"no markers", {false, std::nullopt}, true},
                      MarkerCase{"excluded from monitoring", {true, std::nullopt}, false},
                      MarkerCase{"history not allowed", {false, 0u}, false},
                      MarkerCase{"history allowed", {false, 1u}, true},
                      MarkerCase{"excluded even where history is allowed", {true, 1u}, false}));

TEST(ClipboardHistoryFile, WhatIsSavedReadsBackAlike) {
    ClipboardHistory history;
    history.Record("line one\r\nline two\n");
    history.Record(std::string(kClipboardTextLimit + 10, 'c'));
    history.Record("7 1\n"); // looks like an entry's header
    history.Record("\xE2\x82\xAC");
    const ClipboardHistory back = ClipboardHistory::Parse(history.Serialize());
    EXPECT_EQ(back.Entries(), history.Entries());
}

struct ParseCase {
    const char* label;
    std::string bytes;
    std::vector<std::string> texts;
};

class ClipboardHistoryDamage : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ClipboardHistoryDamage, KeepsTheEntriesBeforeTheFault) {
    EXPECT_EQ(Texts(ClipboardHistory::Parse(GetParam().bytes)), GetParam().texts)
        << GetParam().label;
}

const std::string kHeader = "Orvan clipboard history 1\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipboardHistoryDamage,
    ::testing::Values(ParseCase{"empty file", "", {}},
                      ParseCase{"another file", "hello\n1 0\na\n", {}},
                      ParseCase{"whole", kHeader + "1 0\na\n2 0\nbc\n", {"a", "bc"}},
                      ParseCase{"truncated text", kHeader + "1 0\na\n5 0\nbc", {"a"}},
                      ParseCase{"no closing break", kHeader + "1 0\na\n2 0\nbcX", {"a"}},
                      ParseCase{"bad length", kHeader + "1 0\na\n-2 0\nbc\n", {"a"}},
                      ParseCase{"bad flag", kHeader + "1 0\na\n2 2\nbc\n", {"a"}},
                      ParseCase{"huge length", kHeader + "99999999999999999999 0\na\n", {}},
                      ParseCase{"repeats keep the newest", kHeader + "1 0\na\n1 0\na\n", {"a"}},
                      ParseCase{"empty entries skipped", kHeader + "0 0\n\n1 0\na\n", {"a"}}));

TEST(ClipboardHistoryFile, AFileOfMoreThanAHundredKeepsTheFirstHundred) {
    std::string bytes = kHeader;
    for (int i = 0; i < 150; ++i) {
        const std::string text = "t" + std::to_string(i);
        bytes += std::to_string(text.size()) + " 0\n" + text + "\n";
    }
    const ClipboardHistory history = ClipboardHistory::Parse(bytes);
    ASSERT_EQ(history.Entries().size(), kClipboardHistoryEntries);
    EXPECT_EQ(history.Entries().back().text, "t99");
}

TEST(ClipboardHistoryFile, LiesBesideTheOptionsAndIsNotWrittenOverWhenUnreadable) {
    EXPECT_EQ(ClipboardHistoryFileName("C:\\x\\Orvan.ini"), "C:\\x\\Orvan_Clipboard.txt");
    testing::MemoryFileSystem disk;
    disk.AddFolder("C:\\x");
    const std::string path = "C:\\x\\Orvan_Clipboard.txt";
    ClipboardHistoryLoad missing = LoadClipboardHistory(disk, path);
    EXPECT_FALSE(missing.blocked);
    EXPECT_TRUE(missing.history.Entries().empty());
    disk.AddFile(path, kHeader + "1 0\na\n");
    EXPECT_EQ(Texts(LoadClipboardHistory(disk, path).history), std::vector<std::string>{"a"});
    disk.MakeUnreadable(path);
    EXPECT_TRUE(LoadClipboardHistory(disk, path).blocked);
}

TEST(ClipboardHistory, RemoveAndClear) {
    ClipboardHistory history;
    history.Record("a");
    history.Record("b");
    EXPECT_FALSE(history.Remove(2));
    EXPECT_TRUE(history.Remove(0));
    EXPECT_EQ(Texts(history), std::vector<std::string>{"a"});
    history.Clear();
    EXPECT_TRUE(history.Entries().empty());
}

struct RowCase {
    const char* label;
    ClipboardEntry entry;
    std::size_t width;
    const char* row;
};

class ClipboardRows : public ::testing::TestWithParam<RowCase> {};

TEST_P(ClipboardRows, OneLinePerEntry) {
    EXPECT_EQ(ClipboardRowText(GetParam().entry, "[cut]", GetParam().width), GetParam().row)
        << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipboardRows,
    ::testing::Values(RowCase{"plain", {"abc", false}, 200, "abc"},
                      RowCase{"line breaks and tabs", {"  a\r\n\r\n\tb \n", false}, 200, "a b"},
                      RowCase{"only blanks", {" \r\n", false}, 200, ""},
                      RowCase{"cut mark", {"abc", true}, 200, "abc [cut]"},
                      RowCase{"narrow", {"abcdef", false}, 3, "abc..."},
                      RowCase{"characters, not bytes",
                              {"\xC3\xA4\xC3\xB6\xC3\xBC", false},
                              2,
                              "\xC3\xA4\xC3\xB6..."}));

struct ClipFilterCase {
    const char* filter;
    std::vector<std::size_t> shown;
};

class ClipboardFilter : public ::testing::TestWithParam<ClipFilterCase> {};

TEST_P(ClipboardFilter, MatchesTheTextIgnoringCase) {
    const std::vector<ClipboardEntry> entries{
        {"Hello World", false}, {"second\r\nline", false}, {"\xC3\x84pfel", false}};
    EXPECT_EQ(FilterClipboardEntries(entries, GetParam().filter), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClipboardFilter,
                         ::testing::Values(ClipFilterCase{"", {0, 1, 2}},
                                           ClipFilterCase{"WORLD", {0}},
                                           ClipFilterCase{"line", {1}},
                                           ClipFilterCase{"\xC3\xA4pf", {2}},
                                           ClipFilterCase{"nothing", {}}));

} // namespace
} // namespace orvan
