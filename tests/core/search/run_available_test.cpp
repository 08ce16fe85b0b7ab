#include "core/search/run_available.h"

#include "core/base/utf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

using namespace std::string_literals;
namespace orvan {
namespace {

CatalogItem Item(std::string path, std::string name = {}) {
    CatalogItem item;
    item.path = std::move(path);
    item.name = std::move(name);
    return item;
}

std::vector<RunAvailable> Rows(const RunAvailableList& list) {
    std::vector<RunAvailable> rows;
    for (std::size_t i = 0; i < list.size(); ++i)
        rows.push_back(list[i].ToRunAvailable());
    return rows;
}

std::vector<std::string> Names(const RunAvailableList& list) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list.size(); ++i)
        names.emplace_back(list[i].name);
    return names;
}

std::vector<std::string> Query(std::string_view text, const CatalogItems& catalog) {
    RunAvailableList list;
    BuildRunAvailableList(text, catalog, list);
    return Names(list);
}

// The rules written out as plainly as possible, one string and one comparison at a time:
// the reference the fast list must agree with.
struct ReferenceList {
    std::vector<RunAvailable> rows;

    void Add(const RunAvailable& candidate) {
        for (const RunAvailable& r : rows)
            if (r.name == candidate.name && r.path == candidate.path)
                return;
        rows.push_back(candidate);
    }

    void CatalogStep(std::string_view text, const std::vector<CatalogItem>& items) {
        std::string q(text);
        for (char& c : q)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        // A path's file name starts after its last backslash or its drive; a name's part
        // after its last backslash or colon, unless the name starts the file name.
        auto fileName = [](const std::string& path) {
            const std::size_t cut = path.find_last_of('\\');
            if (cut != std::string::npos)
                return path.substr(cut + 1);
            const char d = path.empty() ? '\0' : static_cast<char>(path[0] | 0x20);
            const bool drive = path.size() >= 2 && path[1] == ':' && d >= 'a' && d <= 'z';
            return drive ? path.substr(2) : path;
        };
        for (const CatalogItem& item : items) {
            const std::string file = fileName(item.path);
            std::string k = file + "&" + item.name;
            const std::size_t cut = item.name.find_last_of("\\:");
            if (cut != std::string::npos && file.compare(0, item.name.size(), item.name) != 0)
                k = item.name.substr(cut + 1);
            for (char& c : k)
                if (c >= 'a' && c <= 'z')
                    c = static_cast<char>(c - 'a' + 'A');
            if (k.find(q) == std::string::npos)
                continue;
            std::string name = item.name;
            if (name.empty())
                name = fileName(item.path);
            Add({name, item.path, RunKind::Catalog, ""});
        }
    }

    void Sort() {
        std::stable_sort(
            rows.begin(), rows.end(), [](const RunAvailable& a, const RunAvailable& b) {
                return Utf8ToUtf16(a.name) < Utf8ToUtf16(b.name); // code unit by code unit
            });
    }
};

// Equal names may come in any order; everything else must be identical.
void ExpectSameList(const RunAvailableList& list, std::vector<RunAvailable> expected) {
    std::vector<RunAvailable> got = Rows(list);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) // names equal as UTF-16 may come in any order
        ASSERT_EQ(Utf8ToUtf16(got[i].name), Utf8ToUtf16(expected[i].name)) << "row " << i;
    auto key = [](const RunAvailable& r) {
        return std::tie(r.name, r.path, r.kind, r.description);
    };
    auto less = [&](const RunAvailable& a, const RunAvailable& b) { return key(a) < key(b); };
    std::sort(got.begin(), got.end(), less);
    std::sort(expected.begin(), expected.end(), less);
    EXPECT_EQ(got, expected);
}

TEST(CandidateList, CatalogStepMatchesFileAndDisplayNameOnly) {
    const CatalogItems catalog(
        {Item("C:\\Windows\\notepad.exe"), Item("C:\\Apps\\mspaint.exe", "Paint"),
         Item("C:\\Docs\\help.chm", "Help: Index"), Item("C:\\Docs\\x.txt", "\xC3\x89t\xC3\xA9")});
    using Names = std::vector<std::string>;
    EXPECT_EQ(Query("pad", catalog), Names{"notepad.exe"});
    EXPECT_EQ(Query("PAD.E", catalog), Names{"notepad.exe"});
    EXPECT_EQ(Query("windows", catalog), Names{});
    EXPECT_EQ(Query("exe&p", catalog), Names{"Paint"});
    EXPECT_EQ(Query("apps", catalog), Names{});
    EXPECT_EQ(Query("help", catalog), Names{});
    EXPECT_EQ(Query(" ind", catalog), Names{"Help: Index"});
    // Only a to z fold: a small e-acute finds the small one, not the capital.
    EXPECT_EQ(Query("\xC3\xA9t", catalog), Names{});
    EXPECT_EQ(Query("\xC3\x89t\xC3\xA9", catalog), Names{"\xC3\x89t\xC3\xA9"});
    // Blanks are not trimmed.
    EXPECT_EQ(Query("pad ", catalog), Names{});
    EXPECT_EQ(Query("", catalog), Names{});
}

TEST(CandidateList, DuplicatePairsListedOnceCaseVariantsTwiceSortedOrdinally) {
    const CatalogItems catalog(
        {Item("C:\\a\\alpha.exe"), Item("C:\\a\\alpha.exe"), Item("C:\\a\\alpha.exe", "alpha.exe"),
         Item("C:\\a\\zeta.exe", "Zeta"), Item("C:\\A\\alpha.exe"), Item("C:\\b\\Alpha.exe")});
    RunAvailableList list;
    BuildRunAvailableList("a", catalog, list);
    ExpectSameList(list, {{"Alpha.exe", "C:\\b\\Alpha.exe", RunKind::Catalog, ""},
                          {"Zeta", "C:\\a\\zeta.exe", RunKind::Catalog, ""},
                          {"alpha.exe", "C:\\A\\alpha.exe", RunKind::Catalog, ""},
                          {"alpha.exe", "C:\\a\\alpha.exe", RunKind::Catalog, ""}});
}

TEST(CandidateList, FirstProducerOfAPairWins) {
    const CatalogItems catalog({Item("C:\\a\\tool.exe"), Item("C:\\a\\other.exe")});
    RunAvailableList list;
    // An earlier step listed the same file as a file entry: the catalog match stays out.
    list.Add("tool.exe", "C:\\a\\tool.exe", "", RunKind::File);
    list.AddCatalogMatches("e", catalog);
    // A later step offers pairs the catalog produced, and one differing only in case.
    list.Add("other.exe", "C:\\a\\other.exe", "", RunKind::File);
    list.Add("other.exe", "C:\\A\\other.exe", "", RunKind::File);
    list.Add("tool.exe", "C:\\a\\tool.exe", "", RunKind::Folder);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].kind, RunKind::File);
    EXPECT_EQ(list[1].kind, RunKind::Catalog); // unsorted: catalog matches follow the earlier steps
    EXPECT_EQ(list[2].path, "C:\\A\\other.exe");
    list.Sort();
    ExpectSameList(list, {{"other.exe", "C:\\A\\other.exe", RunKind::File, ""},
                          {"other.exe", "C:\\a\\other.exe", RunKind::Catalog, ""},
                          {"tool.exe", "C:\\a\\tool.exe", RunKind::File, ""}});
    EXPECT_TRUE(list.Contains("tool.exe", "C:\\a\\tool.exe"));
    EXPECT_FALSE(list.Contains("TOOL.exe", "C:\\a\\tool.exe"));
}

TEST(CandidateList, StepEntriesMergeIntoCatalogOrder) {
    const CatalogItems catalog({Item("C:\\b\\b.exe"), Item("C:\\d\\d.exe"), Item("C:\\f\\f.exe")});
    RunAvailableList list;
    list.Add("e", "x", "line", RunKind::Calculator);
    list.AddCatalogMatches(".EXE", catalog);
    list.Add("a", "y", "", RunKind::DateTime);
    list.Add("Z", "z", "", RunKind::File);
    list.Add("g", "g", "", RunKind::File);
    list.Sort();
    EXPECT_EQ(Names(list),
              (std::vector<std::string>{"Z", "a", "b.exe", "d.exe", "e", "f.exe", "g"}));
    EXPECT_EQ(list[4].description, "line");
    // Adding after the sort appends at the end.
    list.Add("0", "0", "", RunKind::File);
    EXPECT_EQ(list[list.size() - 1].name, "0");
    list.Clear();
    EXPECT_TRUE(list.empty());
}

TEST(CandidateList, AgreesWithThePlainAlgorithmOnRandomCatalogs) {
    std::mt19937 random(20260101);
    const std::vector<std::string> folders = {
        "C:\\a\\", "C:\\A\\", "D:", "C:\\x:y\\", "", "C:\\\xC3\xA9\\"};
    const std::vector<std::string> files = {"ab.exe",   "AB.exe", "b&a.lnk", "a b",     "\xC3\xA9",
                                            "\xC3\x89", "z",      "Z.txt",   "a\0b"s,   "",
                                            "aa",       "ba",     "a:b",     "x:ab.lnk"};
    // Bytes that are not UTF-8 make names that differ in bytes but convert alike.
    const std::vector<std::string> names = {"",
                                            "",
                                            "ab",
                                            "Ab",
                                            "x:ab",
                                            "a:b",
                                            "a\\b",
                                            "&",
                                            " a",
                                            "\xF0\x9F\x98\x80",
                                            "\xEF\xBD\x81",
                                            "a\0"s,
                                            "Q\x84\xD4",
                                            "Q\x8C\xD4",
                                            "\xD4\xA6"};
    const std::vector<std::string> pieces = {"a", "A", "b",        "&",   " ",
                                             ":", ".", "\xC3\xA9", "\0"s, "x"};
    auto pick = [&](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<CatalogItem> items(std::uniform_int_distribution<int>(0, 40)(random));
        for (CatalogItem& item : items)
            item = Item(pick(folders) + pick(files), pick(names));
        const CatalogItems catalog(items);
        std::string text;
        const int length = std::uniform_int_distribution<int>(1, 4)(random);
        for (int i = 0; i < length; ++i)
            text += pick(pieces);
        // An earlier and a later step each offer a few pairs, some equal to catalog pairs.
        std::vector<RunAvailable> before;
        std::vector<RunAvailable> after;
        for (int i = 0; i < 3; ++i) {
            const CatalogItem item = Item(pick(folders) + pick(files), pick(names));
            const std::string name =
                item.name.empty() ? std::string(FileNamePart(item.path)) : item.name;
            before.push_back({name, item.path, RunKind::File, ""});
            after.push_back({name, item.path, RunKind::Folder, "d"});
        }

        ReferenceList reference;
        for (const RunAvailable& r : before)
            reference.Add(r);
        reference.CatalogStep(text, items);
        for (const RunAvailable& r : after)
            reference.Add(r);
        reference.Sort();

        RunAvailableList list;
        for (const RunAvailable& r : before)
            AddRunAvailable(list, r.name, r.path, r.description, r.kind);
        list.AddCatalogMatches(text, catalog);
        for (const RunAvailable& r : after)
            AddRunAvailable(list, r.name, r.path, r.description, r.kind);
        SortRunAvailableList(list);
        SCOPED_TRACE("round " + std::to_string(round) + " text [" + text + "]");
        ExpectSameList(list, reference.rows);
        if (HasFatalFailure() || HasNonfatalFailure())
            return;
    }
}

// Large enough that the matching runs through its block-wise scan, with keys of few
// letters so that occurrences sit at every offset and across the ends of keys.
TEST(CandidateList, AgreesWithThePlainAlgorithmOnLargeCatalogs) {
    std::mt19937 random(7);
    const std::string letters = "abAB&. e";
    auto text = [&](std::size_t maxLength) {
        std::string t(std::uniform_int_distribution<std::size_t>(1, maxLength)(random), 'a');
        for (char& c : t)
            c = letters[std::uniform_int_distribution<std::size_t>(0, letters.size() - 1)(random)];
        return t;
    };
    for (int round = 0; round < 8; ++round) {
        std::vector<CatalogItem> items(std::uniform_int_distribution<int>(100, 1500)(random));
        for (CatalogItem& item : items)
            item = Item("C:\\d\\" + text(12), random() % 3 == 0 ? std::string() : text(10));
        const CatalogItems catalog(items);
        for (int q = 0; q < 12; ++q) {
            const std::string query = text(q < 6 ? 3 : 9);
            ReferenceList reference;
            reference.CatalogStep(query, items);
            reference.Sort();
            RunAvailableList list;
            BuildRunAvailableList(query, catalog, list);
            SCOPED_TRACE("round " + std::to_string(round) + " text [" + query + "]");
            ExpectSameList(list, reference.rows);
            if (HasFatalFailure() || HasNonfatalFailure())
                return;
        }
    }
}

TEST(CandidateList, ManyStepEntriesStayUnique) {
    RunAvailableList list;
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 5000; ++i)
            list.Add("n" + std::to_string(i), "C:\\big\\n" + std::to_string(i), "", RunKind::File);
    EXPECT_EQ(list.size(), 5000u);
    list.Sort();
    EXPECT_EQ(list[0].name, "n0");
    EXPECT_EQ(list[1].name, "n1");
    EXPECT_EQ(list[2].name, "n10");
}

// A folder's names go in without the check for an equal entry; the steps after it must
// still find them, whichever order they came in and however large the list grew.
TEST(CandidateList, EntriesAddedUncheckedAreFoundByLaterSteps) {
    for (const bool shuffled : {false, true}) {
        std::vector<std::string> names;
        for (int i = 0; i < 3000; ++i)
            names.push_back("f" + std::to_string(100000 + i));
        if (shuffled)
            std::shuffle(names.begin(), names.end(), std::mt19937(7));
        RunAvailableList list;
        for (const std::string& n : names)
            list.AddDistinct(n, "C:\\big\\" + n, "", RunKind::File);
        for (const std::string& n : {"f100000"s, "f101500"s, "f102999"s}) {
            EXPECT_TRUE(list.Contains(n, "C:\\big\\" + n));
            list.Add(n, "C:\\big\\" + n, "", RunKind::File);
        }
        EXPECT_FALSE(list.Contains("f100000", "C:\\big\\F100000"));
        list.Add("f100000", "C:\\other\\f100000", "", RunKind::File); // same name, other path
        EXPECT_EQ(list.size(), 3001u) << shuffled;
        list.Sort();
        const std::vector<std::string> got = Names(list);
        EXPECT_TRUE(std::is_sorted(got.begin(), got.end())) << shuffled;
        EXPECT_EQ(got[0], "f100000");
        EXPECT_EQ(got[1], "f100000");
        EXPECT_EQ(got.back(), "f102999");
        // An entry added after the sort comes last, sorted list or not.
        list.Add("a", "C:\\a", "", RunKind::File);
        EXPECT_EQ(list[list.size() - 1].name, "a") << shuffled;
    }
}

} // namespace
} // namespace orvan
