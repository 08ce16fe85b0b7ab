// The relevance order: how well a typed text fits a name, the order the catalog's matches
// take (fit, then use, then name), what the user chose before, and that the other steps'
// rows keep their places.
#include "core/search/relevance.h"

#include "core/base/utf.h"
#include "core/catalog/catalog_index.h"
#include "core/catalog/relevance_index.h"
#include "core/search/run_available.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvan {
namespace {

TEST(RelevanceFit, EachLevelAndTheirOrder) {
    struct Case {
        const char* name; // as written
        const char* text;
        bool inKey; // the whole key holds the text
        MatchFit fit;
    };
    const Case cases[] = {
        {"Git", "git", true, MatchFit::WholeName},
        {"Git", "GIT", true, MatchFit::WholeName},
        {"Git Bash", "git", true, MatchFit::FirstWord},
        {"Paint.NET", "paint", true, MatchFit::FirstWord},
        {"GitHub Desktop", "git", true, MatchFit::NameStart},
        {"Git Bash", "bash", true, MatchFit::WholeWord},
        {"Microsoft Edge", "edge", true, MatchFit::WholeWord},
        {"YouTube", "tube", true, MatchFit::WordStart},
        {"Microsoft Edge", "ed", true, MatchFit::WordStart},
        {"Internet Explorer", "ie", false, MatchFit::Initials},
        {"YouTube", "yt", false, MatchFit::Initials},
        {"Registry Editor", "regedit", false, MatchFit::Initials},
        {"Sound Recorder", "soundr", false, MatchFit::Initials},
        {"Windows PowerShell", "ps", false, MatchFit::SomeInitials},
        {"Visual Studio Code", "vscode", false, MatchFit::Initials},
        {"Notepad", "tepa", true, MatchFit::InName},
        // A text inside the name that is also the words' first letters fits those better.
        {"Elite Dangerous", "ed", true, MatchFit::Initials},
        // Across a separator from inside a word: not what anyone types for it.
        {"My-Tool", "ytoo", false, MatchFit::None},
        {"Paint.NET", "paintnet", false, MatchFit::Initials},
        {"Word", "winword", true, MatchFit::FileName},
        {"Task Manager", "taskmgr", false, MatchFit::Letters},
        {"Calculator", "xyz", false, MatchFit::None},
        {"Calculator", "tor", false, MatchFit::InName},
        // The letters must start at a word: "alc" inside "Calculator" is elsewhere in it.
        {"Calculator", "acl", false, MatchFit::None},
    };
    for (const Case& c : cases) {
        const RelevanceQuery query(c.text);
        EXPECT_EQ(FitOf(AsciiUpper(c.name), FindWordStarts(c.name), query, c.inKey), c.fit)
            << c.name << " / " << c.text;
    }
    // Best first: each level sorts before the next.
    EXPECT_LT(MatchFit::WholeName, MatchFit::FirstWord);
    EXPECT_LT(MatchFit::InName, MatchFit::Compact);
    EXPECT_LT(MatchFit::FileName, MatchFit::Letters);
}

TEST(RelevanceFit, WordsStartAfterSeparatorsAndAtCapitalsAfterSmallLetters) {
    EXPECT_EQ(FindWordStarts("YouTube Music"), (1u << 0) | (1u << 3) | (1u << 8));
    EXPECT_EQ(FindWordStarts("7-Zip"), (1u << 0) | (1u << 2));
    EXPECT_EQ(FindWordStarts("NVIDIA App"), (1u << 0) | (1u << 7)); // capitals in a row: one word
    EXPECT_EQ(FindWordStarts("  (x)"), 1u << 3);
}

CatalogItem Item(std::string name, std::string file = {}) {
    if (file.empty())
        file = name + ".lnk";
    return {"C:\\Menu\\" + file, std::move(name), 0};
}

std::vector<std::string> Names(std::string_view text, const CatalogItems& catalog,
                               const LaunchMemory* memory = nullptr,
                               ResultOrder order = ResultOrder::Relevance) {
    RunAvailableList list;
    RunBuildEnvironment environment;
    environment.order = order;
    environment.memory = memory;
    BuildRunAvailableList(text, catalog, list, environment);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list.size(); ++i)
        names.emplace_back(list[i].name);
    return names;
}

const CatalogItems& StartMenu() {
    static const CatalogItems catalog({
        Item("Git Bash"),
        Item("GitHub Desktop"),
        Item("Git"),
        Item("Digital Camera"),
        Item("Legit Tool"),
        Item("Internet Explorer"),
        Item("IntelliJ IDEA"),
        Item("Sound Recorder"),
        Item("Word", "WINWORD.EXE"),
        Item("Registry Editor"),
        Item("YouTube"),
        Item("Everything"),
        Item("Microsoft Edge"),
        Item("Edit Pad"),
        Item("Task Manager"),
        Item("Windows PowerShell"),
        Item("PowerShell 7"),
    });
    return catalog;
}

TEST(RelevanceOrder, TheCatalogsMatchesByFitThenByName) {
    struct Case {
        const char* text;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        // Whole name, whole first word, start of the name, start of a word, elsewhere.
        {"git", {"Git", "Git Bash", "GitHub Desktop", "Digital Camera", "Legit Tool"}},
        // The words' first letters; then first letters further on; a text inside a word last.
        {"ie", {"Internet Explorer", "IntelliJ IDEA"}},
        {"ps", {"PowerShell 7", "Windows PowerShell"}},
        {"yt", {"YouTube", "Everything"}},
        {"regedit", {"Registry Editor"}},
        {"soundr", {"Sound Recorder"}},
        {"taskmgr", {"Task Manager"}},
        // Only the file name holds the text: listed, after every fit in a name.
        {"winword", {"Word"}},
        // Start of a name before start of a later word; both before the middle of a word.
        {"ed", {"Edit Pad", "Microsoft Edge", "Registry Editor"}},
        {"zzz", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Names(c.text, StartMenu()), c.names) << c.text;
}

TEST(RelevanceOrder, UseCountsOrderWithinAFitAndTheTextsChoiceComesFirst) {
    LaunchMemory memory;
    // Two starts of GitHub Desktop: first among the starts of a name, not above better fits.
    memory.Record("x", "GitHub Desktop", "C:\\Menu\\GitHub Desktop.lnk");
    memory.Record("y", "GitHub Desktop", "C:\\Menu\\GitHub Desktop.lnk");
    EXPECT_EQ(Names("gi", StartMenu(), &memory),
              (std::vector<std::string>{"GitHub Desktop", "Git", "Git Bash", "Digital Camera",
                                        "Legit Tool", "Registry Editor"}));
    EXPECT_EQ(Names("git", StartMenu(), &memory)[2], "GitHub Desktop");
    // Chosen for "dig": first for it and for the texts that start with it, in any case.
    memory.Record("dig", "Digital Camera", "C:\\Menu\\Digital Camera.lnk");
    EXPECT_EQ(Names("dig", StartMenu(), &memory).front(), "Digital Camera");
    EXPECT_EQ(Names("git", StartMenu(), &memory).front(), "Git");
    memory.Record("Gi", "Legit Tool", "C:\\Menu\\Legit Tool.lnk");
    EXPECT_EQ(Names("GIT", StartMenu(), &memory).front(), "Legit Tool");
    EXPECT_EQ(Names("gitb", StartMenu(), &memory).front(), "Git Bash"); // Legit Tool not listed
    // The name order takes no notice of any of it.
    EXPECT_EQ(Names("git", StartMenu(), &memory, ResultOrder::Name),
              Names("git", StartMenu(), nullptr, ResultOrder::Name));
}

TEST(RelevanceOrder, TheOtherStepsRowsKeepTheirPlaces) {
    const CatalogItems catalog({Item("Bravo"), Item("Alpha Bravo"), Item("Xray Bravo")});
    for (const ResultOrder order : {ResultOrder::Name, ResultOrder::Relevance}) {
        RunAvailableList list;
        list.Add("Mike Bravo", "C:\\own\\mike", {}, RunKind::File);
        if (order == ResultOrder::Relevance)
            list.AddRelevantCatalogMatches("bravo", catalog, nullptr);
        else
            list.AddCatalogMatches("bravo", catalog);
        list.Sort();
        std::vector<std::string> names;
        for (std::size_t i = 0; i < list.size(); ++i)
            names.emplace_back(list[i].name);
        // By name the own row is third; it stays third, the catalog's rows fill the others.
        const std::vector<std::string> byName = {"Alpha Bravo", "Bravo", "Mike Bravo",
                                                 "Xray Bravo"};
        const std::vector<std::string> byRelevance = {"Bravo", "Alpha Bravo", "Mike Bravo",
                                                      "Xray Bravo"};
        EXPECT_EQ(names, order == ResultOrder::Name ? byName : byRelevance);
    }
}

// --- the memory ----------------------------------------------------------------------------

TEST(LaunchMemoryTest, KeepsTheNewestTextsAndTheirChoices) {
    LaunchMemory memory;
    for (std::size_t i = 0; i < LaunchMemory::kTextLimit + 5; ++i)
        memory.Record("t" + std::to_string(i), "N", "C:\\p" + std::to_string(i % 3));
    const std::vector<TypedChoice> texts = memory.Texts();
    ASSERT_EQ(texts.size(), LaunchMemory::kTextLimit);
    EXPECT_EQ(texts.front().text, "t5");
    EXPECT_EQ(texts.back().text, "t" + std::to_string(LaunchMemory::kTextLimit + 4));
    const auto any = [](const TypedChoice&) { return true; };
    EXPECT_EQ(memory.ChoiceFor("t4", any), nullptr); // the oldest went first
    EXPECT_EQ(memory.CountOf("C:\\p0"), int((LaunchMemory::kTextLimit + 5 + 2) / 3));
    // A text typed again moves up, with its new choice.
    memory.Record("T5", "M", "C:\\other");
    EXPECT_EQ(memory.Texts().back().path, "C:\\other");
    EXPECT_EQ(memory.ChoiceFor("t5", any)->name, "M");
    memory.Forget();
    EXPECT_TRUE(memory.Empty());
}

TEST(LaunchMemoryTest, TheFileRoundTripsAndSkipsWhatItCannotHold) {
    const std::vector<TypedChoice> texts = {{"ed", "Microsoft Edge", "C:\\Menu\\Edge.lnk"},
                                            {"ü", "Übersicht", "C:\\Menu\\Ü.lnk"}};
    const std::string file = SerializeTypedChoices(texts);
    EXPECT_EQ(file.substr(file.find('\n') + 1),
              "ed\tC:\\Menu\\Edge.lnk\tMicrosoft Edge\r\n\xC3\xBC\tC:\\Menu\\\xC3\x9C.lnk\t"
              "\xC3\x9C"
              "bersicht\r\n");
    EXPECT_EQ(ParseTypedChoices(file), texts);
    // A BOM, bare LF, lines without three fields or with control characters, empty texts.
    EXPECT_EQ(ParseTypedChoices("\xEF\xBB\xBF; note\nx\tC:\\a\tA\nbroken line\n\tC:\\b\tB\n"
                                "y\t\tY\nz\tC:\\c\x01\tZ\nw\tC:\\d\tD\tmore\r\n"),
              (std::vector<TypedChoice>{{"x", "A", "C:\\a"}}));
    // A text with a tab is not written: it would not read back as itself.
    EXPECT_EQ(SerializeTypedChoices({{"a\tb", "N", "C:\\n"}}).find("C:\\n"), std::string::npos);
}

} // namespace
} // namespace orvan

namespace orvan {
namespace {

// One letter or digit is answered from bit sets; the order must be the one the fits of
// the rows, one by one, give: over names of every shape, with and without what was learned.
TEST(RelevanceOrder, OneCharacterFromBitSetsEqualsTheRowByRowOrder) {
    const char* const words[] = {"a",   "E",          "Edge",  "eXtra", "YouTube",
                                 "x",   "7",          "7-Zip", "note",  "Tex",
                                 "(e)", "PowerShell", "ee",    "b.e",   "Ex"};
    std::vector<CatalogItem> items;
    std::uint32_t seed = 7;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (int i = 0; i < 400; ++i) {
        std::string name;
        for (std::uint32_t n = 1 + next() % 3; n > 0; --n)
            name += std::string(name.empty() ? "" : (next() % 2 ? " " : "-")) +
                    words[next() % std::size(words)];
        const std::string file = next() % 3 == 0 ? "setup.exe" : name + ".lnk";
        items.push_back({"C:\\M" + std::to_string(i % 50) + "\\" + file,
                         next() % 5 == 0 ? std::string() : name, 0});
    }
    items.push_back(items[3]); // an equal pair: listed once
    const CatalogItems catalog(items);
    LaunchMemory memory;
    for (int i = 0; i < 40; i += 3)
        memory.Record(i % 2 ? "e" : "x", CatalogDisplayName(catalog[i]), catalog[i].path);
    const LaunchMemory* const memories[] = {nullptr, &memory};
    // Longer texts: the rows' fits read from the padded keys agree with a plain search of
    // each name.
    for (const char* text : {"ex", "edge", "e-z", "ee", "tex", "7z", "you", "sh", "b.e"}) {
        std::vector<std::uint32_t> rows;
        std::vector<MatchFit> fits;
        const RelevanceQuery query(text);
        MatchRelevantRows(catalog, query, rows, fits);
        const CatalogSearchIndex& index = catalog.SearchIndex();
        const RelevanceIndex& relevance = catalog.Relevance();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const std::string name(relevance.Name(index, rows[r]));
            const bool inKey = index.KeyAt(rows[r]).find(query.upper) != std::string_view::npos;
            ASSERT_EQ(fits[r], FitOf(name, relevance.WordStarts(rows[r]), query, inKey))
                << text << " / " << name;
        }
    }
    for (const LaunchMemory* learned : memories) {
        for (const char* text : {"e", "E", "x", "7", "a", "t", "z"}) {
            RunAvailableList list;
            list.AddRelevantCatalogMatches(text, catalog, learned);
            std::vector<std::uint32_t> rows;
            std::vector<MatchFit> fits;
            MatchRelevantRows(catalog, RelevanceQuery(text), rows, fits);
            std::vector<std::uint32_t> rank;
            RankRows(catalog, text, learned, rows, fits, rank);
            ASSERT_EQ(list.size(), rank.size()) << text;
            for (std::size_t i = 0; i < rank.size(); ++i) {
                const CatalogItem& item = catalog[catalog.SearchIndex().ItemAt(rank[i])];
                ASSERT_EQ(list[i].name, CatalogDisplayName(item)) << text << " row " << i;
                ASSERT_EQ(list[i].path, item.path) << text << " row " << i;
            }
        }
    }
}

} // namespace
} // namespace orvan

namespace orvan {
namespace {

TEST(RelevanceFit, LetterCountsTellWhetherANameCanHoldTheLetters) {
    struct Case {
        const char* name;
        const char* text;
        bool holds;
    };
    const Case cases[] = {
        {"Everything", "eee", false},
        {"Everything", "ee", true},
        {"Eee Eee", "EEEE", true},
        {"Eee Eee", "eeeeeee", true}, // three or more count alike
        {"abc", "cba", true},
        {"abc", "abcd", false},
        {"a-b c", "abc", true},
        {"Zz", "zzz", false},
        {"Paint 3D", "p3d", true},
        {"", "a", false},
        {"x", "", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HasLetters(CountLetters(c.name), CountLetters(c.text)), c.holds)
            << c.name << " / " << c.text;
}

} // namespace
} // namespace orvan
