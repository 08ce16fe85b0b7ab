#include "core/language/language_file.h"

#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace orvan {
namespace {

using testing::MemoryFileSystem;

// Every test leaves the table in English, as the other suites expect it.
class LanguageFileTest : public ::testing::Test {
protected:
    void TearDown() override { ClearTranslations(); }
};

std::map<int, std::string> TextsOf(const LanguageFile& file) {
    std::map<int, std::string> texts;
    for (const TranslatedText& text : file.texts) {
        texts[text.id] = text.text;
    }
    return texts;
}

std::map<int, std::string> ProblemLines(const LanguageFile& file) {
    std::map<int, std::string> lines;
    for (const LanguageFileProblem& problem : file.problems) {
        lines[problem.line] = problem.reason;
    }
    return lines;
}

// --- Reading ---------------------------------------------------------------------------

TEST_F(LanguageFileTest, ReadsTheHeaderAndTheTextsOfAWholeFile) {
    const LanguageFile file = ParseLanguageFile("\xEF\xBB\xBF; a comment\r\n"
                                                "[Language]\r\n"
                                                "Code=1031\r\n"
                                                "Name=Deutsch\r\n"
                                                "Translator=someone\r\n"
                                                "\r\n"
                                                "[Texts]\r\n"
                                                "0=Fehler\r\n"
                                                "  9000054 =  Katalog: %s\\r\\rZuletzt: %s  \r\n"
                                                "\t; indented comment\n"
                                                "8=Ja"); // no line break at the end
    EXPECT_EQ(file.code, 1031);
    EXPECT_EQ(file.name, "Deutsch");
    EXPECT_EQ(TextsOf(file),
              (std::map<int, std::string>{
                  {0, "Fehler"}, {8, "Ja"}, {9000054, "Katalog: %s\\r\\rZuletzt: %s"}}));
    EXPECT_TRUE(file.problems.empty());
}

struct BadLineCase {
    const char* name;
    std::string line;
    bool reported; // a note on line 4; a silent skip otherwise
};

class LanguageFileBadLine : public ::testing::TestWithParam<BadLineCase> {};

// Each line goes after the header and two good texts; the good texts always survive.
TEST_P(LanguageFileBadLine, IsSkippedAndTheRestApplies) {
    const BadLineCase& c = GetParam();
    const LanguageFile file = ParseLanguageFile("[Language]\nCode=1036\n[Texts]\n" + c.line +
                                                "\n1=D'accord\n2=Annuler\n");
    const std::map<int, std::string> texts = TextsOf(file);
    EXPECT_EQ(texts.at(1), "D'accord");
    EXPECT_EQ(texts.at(2), "Annuler");
    EXPECT_EQ(texts.size(), 2u);
    EXPECT_EQ(ProblemLines(file).contains(4), c.reported);
    EXPECT_EQ(file.problems.size(), c.reported ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LanguageFileBadLine,
    ::testing::Values(BadLineCase{"NoEquals", "0 Erreur", true},
                      BadLineCase{"NotANumber", "zero=Erreur", true},
                      BadLineCase{"NegativeId", "-1=Erreur", true},
                      BadLineCase{"HugeId", "99999999999999999999=Erreur", true},
                      BadLineCase{"UnknownId", "999=Erreur", true},
                      BadLineCase{"IdWithoutEnglishText", "71=Texte", true},
                      BadLineCase{"MissingPlaceholder", "31=Copie de « %s » impossible", true},
                      BadLineCase{"ExtraPlaceholder", "0=Erreur %s", true},
                      BadLineCase{"InvalidUtf8", "0=Erreur \xE9", true},
                      BadLineCase{"TruncatedUtf8", "0=Erreur \xC3", true},
                      BadLineCase{"EncodedSurrogate", "0=\xED\xA0\x80", true},
                      BadLineCase{"ControlCharacter", std::string("0=Err\0eur", 9), true},
                      // The details cut "Label: value" lines apart at the first colon.
                      BadLineCase{"DetailsLabelWithColon", "13011=Taille : fichier", true},
                      BadLineCase{"DetailsLabelWithLineBreak",
                                  "13039=Info\\rinf"
                                  "\xC3\xA9r"
                                  "\xC3\xA9"
                                  "e",
                                  true},
                      BadLineCase{"EmptyText", "0=", false}, BadLineCase{"Blank", "   ", false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(LanguageFileTest, AGenuineReplacementCharacterIsText) {
    const LanguageFile file = ParseLanguageFile("[Texts]\n0=\xEF\xBF\xBD\n");
    EXPECT_EQ(TextsOf(file).at(0), "\xEF\xBF\xBD");
    EXPECT_TRUE(file.problems.empty());
}

TEST_F(LanguageFileTest, LinesOutsideTheKnownSectionsAreSkipped) {
    const LanguageFile file = ParseLanguageFile("0=Before\n"
                                                "[Notes]\n"
                                                "1=Inside another section\n"
                                                "[Texts]\n"
                                                "2=Abbrechen\n");
    EXPECT_EQ(TextsOf(file), (std::map<int, std::string>{{2, "Abbrechen"}}));
    EXPECT_EQ(ProblemLines(file).size(), 2u); // the stray line and the unknown section
    EXPECT_TRUE(ProblemLines(file).contains(1));
    EXPECT_TRUE(ProblemLines(file).contains(2));
}

// A list reads only the header; a second one after the texts must not name another language.
TEST_F(LanguageFileTest, AHeaderAfterTheTextsIsSkipped) {
    const std::string bytes = "[Language]\nCode=1031\n[Texts]\n0=Fehler\n[Language]\nCode=1036\n";
    const LanguageFile file = ParseLanguageFile(bytes);
    EXPECT_EQ(file.code, 1031);
    EXPECT_EQ(ParseLanguageFile(bytes, true).code, 1031);
    EXPECT_TRUE(ProblemLines(file).contains(5));
}

TEST_F(LanguageFileTest, TheLastOfARepeatedIdWinsAndIsReported) {
    const LanguageFile file = ParseLanguageFile("[Texts]\n0=Erst\n1=OK\n0=Fehler\n");
    EXPECT_EQ(TextsOf(file), (std::map<int, std::string>{{0, "Fehler"}, {1, "OK"}}));
    ASSERT_EQ(file.problems.size(), 1u);
    EXPECT_EQ(file.problems[0].line, 4);
}

struct HeaderCase {
    std::string header;
    int code;
};

class LanguageFileHeader : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(LanguageFileHeader, KeepsOnlyCodesOfSelectableLanguages) {
    EXPECT_EQ(ParseLanguageFile("[Language]\n" + GetParam().header + "\n").code, GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Codes, LanguageFileHeader,
                         ::testing::Values(HeaderCase{"Code=1031", 1031},
                                           HeaderCase{"code = 1088", 1088},
                                           HeaderCase{"Code=0", 0},    // "None"
                                           HeaderCase{"Code=1", 0},    // English is built in
                                           HeaderCase{"Code=1234", 0}, // not in the list
                                           HeaderCase{"Code=0x407", 0}, HeaderCase{"Code=", 0},
                                           HeaderCase{"Name=Deutsch", 0}));

// What keeps the program from using a file as it was written is marked as a fault of the
// whole file; the lines it could read still count.
TEST_F(LanguageFileTest, EncodingLineEndsAndAnInvalidCodeAreFaultsOfTheWholeFile) {
    const auto wholeFileLines = [](const LanguageFile& file) {
        std::vector<int> lines;
        for (const LanguageFileProblem& problem : file.problems)
            if (problem.wholeFile)
                lines.push_back(problem.line);
        return lines;
    };
    // UTF-16, with a byte-order mark or without one: nothing of it is read.
    for (const std::string& utf16 : {std::string("\xFF\xFE[\0L\0a\0n\0g\0]\0\n\0", 16),
                                     std::string("\xFE\xFF\0[\0L\0a\0n\0g\0]\0\n", 16),
                                     std::string("[\0L\0a\0n\0g\0]\0\n\0", 14)}) {
        const LanguageFile file = ParseLanguageFile(utf16);
        EXPECT_TRUE(file.utf16);
        EXPECT_EQ(wholeFileLines(file), std::vector<int>{1});
        EXPECT_EQ(file.problems.size(), 1u);
    }
    // Bare CR line ends make one line; a stray CR inside a text is reported on its line.
    const LanguageFile oldMac = ParseLanguageFile("[Language]\rCode=1031\r[Texts]\r0=Fehler\r");
    EXPECT_EQ(wholeFileLines(oldMac), std::vector<int>{1});
    EXPECT_EQ(oldMac.code, 0);
    const LanguageFile stray =
        ParseLanguageFile("[Language]\r\nCode=1031\r\n[Texts]\r\n0=Feh\rler\r\n1=OK\r\n");
    EXPECT_EQ(wholeFileLines(stray), std::vector<int>{4});
    EXPECT_EQ(TextsOf(stray), (std::map<int, std::string>{{1, "OK"}}));
    EXPECT_FALSE(stray.utf16);
    // A code the language lists do not know; its line is kept for the checker.
    const LanguageFile unknown = ParseLanguageFile("; x\n[Language]\nCode=1234\n[Texts]\n1=OK\n");
    EXPECT_EQ(wholeFileLines(unknown), std::vector<int>{3});
    EXPECT_EQ(unknown.code, 0);
    EXPECT_EQ(unknown.codeLine, 3);
    EXPECT_EQ(unknown.languageLine, 2);
    EXPECT_EQ(TextsOf(unknown).size(), 1u);
}

TEST_F(LanguageFileTest, TheCheckerNamesAMissingCodeAndTheFilesTheListsDrop) {
    MemoryFileSystem disk;
    const std::string folder = "D:\\Orvan\\Languages\\";
    disk.AddFile(folder + "Deutsch.lng", "[Language]\nCode=1031\n[Texts]\n0=Fehler\n");
    disk.AddFile(folder + "b-German.lng", "; old\n[Language]\nCode=1031\n[Texts]\n");
    disk.AddFile(folder + "a-German.lng", "; newer\n[Language]\nCode=1031\n[Texts]\n");
    disk.AddFile(folder + "French.lng", "[Language]\nCode=1036\n[Texts]\n0=Erreur\n");
    disk.AddFile(folder + "Nothing.lng", "; none\n[Language]\nName=Rien\n[Texts]\n0=Erreur\n");
    disk.AddFile(folder + "Bare.lng", "[Texts]\n0=Erreur\n");

    struct Case {
        const char* name;
        std::vector<LanguageFileProblem> problems;
    };
    const Case cases[] = {
        {"French.lng", {}},
        {"Nothing.lng",
         {{2, "no Code= in the [Language] section; the language lists leave the file out", true}}},
        {"Bare.lng",
         {{1, "no Code= in the [Language] section; the language lists leave the file out", true}}},
        {"a-German.lng",
         {{3, "\"b-German.lng\" is for the same language too; the language lists leave it out",
           true},
          {3, "\"Deutsch.lng\" is for the same language too; the language lists leave it out",
           true}}},
        {"Deutsch.lng",
         {{2,
           "\"a-German.lng\" is for the same language and comes first; the language lists leave "
           "this file out",
           true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LanguageFileRead read = CheckLanguageFile(folder + c.name, disk, disk);
        EXPECT_EQ(read.status, FileContent::Status::Read);
        EXPECT_EQ(read.file.problems, c.problems);
    }
    EXPECT_EQ(CheckLanguageFile(folder + "None.lng", disk, disk).status,
              FileContent::Status::Missing);
    // The lists agree: of the three German files the first by name is taken.
    EXPECT_EQ(FindLanguageFile(ListLanguageFiles(folder, disk, disk), 1031)->path,
              folder + "a-German.lng");
}

TEST_F(LanguageFileTest, TheHeaderAloneStopsWhereTheTextsBegin) {
    const LanguageFile file =
        ParseLanguageFile("[Language]\nCode=1031\nName=Deutsch\n[Texts]\n0=Fehler\nbad\n", true);
    EXPECT_EQ(file.code, 1031);
    EXPECT_EQ(file.name, "Deutsch");
    EXPECT_TRUE(file.texts.empty());
    EXPECT_TRUE(file.problems.empty());
}

// --- Loading into the table ---------------------------------------------------------------

constexpr const char* kGerman = "[Language]\nCode=1031\nName=Deutsch\n[Texts]\n"
                                "0=Fehler\n31=Kopieren von „%s“ nach „%s“ fehlgeschlagen.\n"
                                "9000054=Katalog: %s\\rZuletzt: %s\n";
constexpr const char* kFrench = "[Language]\nCode=1036\nName=Français\n[Texts]\n"
                                "8=Oui\n0=Erreur %s\n"; // a bad line among good ones

struct LanguagesFixture {
    MemoryFileSystem disk;
    const std::string program = "D:\\Orvan\\Orvan.exe";
    LanguagesFixture() {
        disk.AddFile("D:\\Orvan\\Languages\\German.lng", kGerman);
        disk.AddFile("D:\\Orvan\\Languages\\French.lng", kFrench);
    }
    LanguageLoad Load(int code) { return LoadProgramLanguage(code, program, disk, disk); }
};

TEST_F(LanguageFileTest, ALoadedLanguageShowsItsTextsAndEnglishForTheRest) {
    LanguagesFixture fixture;
    EXPECT_EQ(fixture.Load(1031).status, LanguageLoadStatus::Loaded);
    EXPECT_EQ(CurrentLanguageCode(), 1031);
    EXPECT_EQ(Languages::Text(0), "Fehler");
    EXPECT_EQ(Languages::Text(1), "Ok"); // not in the file
    EXPECT_EQ(Languages::TextFmt(31, {"a", "b"}), "Kopieren von „a“ nach „b“ fehlgeschlagen.");
    EXPECT_EQ(Languages::Text(9000054), "Katalog: %s\rZuletzt: %s");
    EXPECT_EQ(StoredText(9000054), "Katalog: %s\\rZuletzt: %s");
    EXPECT_EQ(Languages::Text(999), "Error (ID 999)");
}

TEST_F(LanguageFileTest, AnotherLanguageReplacesTheEarlierOneWhole) {
    LanguagesFixture fixture;
    fixture.Load(1031);
    const LanguageLoad load = fixture.Load(1036);
    EXPECT_EQ(load.status, LanguageLoadStatus::Loaded);
    ASSERT_EQ(load.problems.size(), 1u);
    EXPECT_EQ(load.problems[0].line, 6);
    EXPECT_EQ(Languages::Text(8), "Oui");
    EXPECT_EQ(Languages::Text(0), "Error"); // its own line was bad; no German left over
    EXPECT_EQ(Languages::Text(9000054), "Catalog has %s items.\r\rLast rebuild: %s");
}

struct FallbackCase {
    const char* name;
    int code;
    LanguageLoadStatus status;
};

class LanguageFallback : public ::testing::TestWithParam<FallbackCase> {
protected:
    void TearDown() override { ClearTranslations(); }
};

// Whatever goes wrong, the table shows English afterwards, never the language before.
TEST_P(LanguageFallback, ShowsEnglish) {
    LanguagesFixture fixture;
    fixture.disk.AddFile("D:\\Orvan\\Languages\\Polish.lng",
                         "[Language]\nCode=1045\n[Texts]\n0=Błąd\n");
    const std::vector<LanguageFileInfo> list =
        ListLanguageFiles(LanguagesFolder(fixture.program), fixture.disk, fixture.disk);
    // The file goes bad between the listing and the choice.
    fixture.disk.MakeUnreadable("D:\\Orvan\\Languages\\Polish.lng");
    LoadLanguage(1031, list, fixture.disk);
    ASSERT_EQ(Languages::Text(0), "Fehler");
    EXPECT_EQ(LoadLanguage(GetParam().code, list, fixture.disk).status, GetParam().status);
    EXPECT_EQ(Languages::Text(0), "Error");
    EXPECT_EQ(CurrentLanguageCode(), 1);
}

INSTANTIATE_TEST_SUITE_P(Codes, LanguageFallback,
                         ::testing::Values(FallbackCase{"Default", 1, LanguageLoadStatus::English},
                                           FallbackCase{"None", 0, LanguageLoadStatus::NoFile},
                                           FallbackCase{"NoFile", 1040, LanguageLoadStatus::NoFile},
                                           FallbackCase{"Unreadable", 1045,
                                                        LanguageLoadStatus::Unreadable}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(LanguageFileTest, AFileFarLargerThanAnyTranslationIsNotRead) {
    MemoryFileSystem disk;
    disk.AddFile("C:\\big.lng", "[Texts]\n0=" + std::string(kLanguageFileMaxBytes, 'x'));
    EXPECT_EQ(ReadLanguageFile("C:\\big.lng", disk).status, FileContent::Status::Unreadable);
}

// --- Listing ---------------------------------------------------------------------------

TEST_F(LanguageFileTest, ListsTheFilesThatNameALanguageInFileNameOrder) {
    MemoryFileSystem disk;
    const std::string folder = "D:\\Orvan\\Languages";
    disk.AddFile(folder + "\\b-German.lng", "[Language]\nCode=1031\nName=Deutsch\n");
    disk.AddFile(folder + "\\a-Swiss.lng", "[Language]\nCode=2055\n"); // no own name
    disk.AddFile(folder + "\\c-German-again.LNG", "[Language]\nCode=1031\nName=Zweites\n");
    disk.AddFile(folder + "\\d-English.lng", "[Language]\nCode=1\n");
    disk.AddFile(folder + "\\e-NoHeader.lng", "[Texts]\n0=Fehler\n");
    disk.AddFile(folder + "\\f-Broken.lng", "[Language]\nCode=1036\n");
    disk.MakeUnreadable(folder + "\\f-Broken.lng");
    disk.AddFile(folder + "\\Italian.txt", "[Language]\nCode=1040\n");
    disk.AddFolder(folder + "\\g-Folder.lng");

    const std::vector<LanguageFileInfo> list = ListLanguageFiles(folder, disk, disk);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].code, 2055);
    EXPECT_EQ(list[0].name, "Swiss German");
    EXPECT_EQ(list[0].path, folder + "\\a-Swiss.lng");
    EXPECT_EQ(list[1].code, 1031);
    EXPECT_EQ(list[1].name, "Deutsch");
    EXPECT_EQ(list[1].path, folder + "\\b-German.lng");

    EXPECT_TRUE(LanguageHasTexts(list, 1)); // English is built in
    EXPECT_TRUE(LanguageHasTexts(list, 1031));
    EXPECT_FALSE(LanguageHasTexts(list, 1036));
    EXPECT_FALSE(LanguageHasTexts(list, 0));
    EXPECT_TRUE(ListLanguageFiles("D:\\Missing", disk, disk).empty());
}

TEST_F(LanguageFileTest, TheLanguagesFolderLiesBesideTheProgram) {
    EXPECT_EQ(LanguagesFolder("D:\\Orvan\\Orvan.exe"), "D:\\Orvan\\Languages");
    EXPECT_EQ(LanguagesFolder("D:Orvan.exe"), "D:Languages");
}

// --- The pseudo-language ------------------------------------------------------------------

TEST_F(LanguageFileTest, ThePseudoLanguageWrapsEveryTextOfTheTable) {
    const LanguageFile file = ParseLanguageFile(PseudoLanguageFile(1033));
    EXPECT_TRUE(file.problems.empty());
    EXPECT_EQ(file.code, 1033);
    SetTranslations(file.code, file.texts);
    for (const LanguageText& entry : LanguageTexts()) {
        if (!entry.defaultText.empty()) {
            EXPECT_EQ(StoredText(entry.id), "[[" + std::string(entry.defaultText) + "]]");
        }
    }
    EXPECT_EQ(Languages::TextFmt(200008, {"6", "3"}), "[[RND(6)=3]]");
}

// --- The translations shipped with the program ---------------------------------------------

std::size_t LineBreakMarks(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = text.find("\\r"); pos != std::string_view::npos;
         pos = text.find("\\r", pos + 2)) {
        ++count;
    }
    return count;
}

TEST(ShippedLanguages, TranslateEveryTextAndKeepItsPlaceholdersAndLineBreaks) {
    const std::filesystem::path folder(ORVAN_LANGUAGES_DIR);
    std::map<int, std::string_view> english;
    for (const LanguageText& entry : LanguageTexts()) {
        if (!entry.defaultText.empty()) {
            english.emplace(entry.id, entry.defaultText);
        }
    }
    int files = 0;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        if (item.path().extension() != ".lng") {
            continue;
        }
        ++files;
        SCOPED_TRACE(item.path().filename().string());
        std::ifstream in(item.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        const LanguageFile file = ParseLanguageFile(bytes);
        EXPECT_NE(file.code, 0);
        EXPECT_FALSE(file.name.empty());
        for (const LanguageFileProblem& problem : file.problems) {
            ADD_FAILURE() << "line " << problem.line << ": " << problem.reason;
        }
        const std::map<int, std::string> texts = TextsOf(file);
        for (const auto& [id, text] : english) {
            const auto translated = texts.find(id);
            if (translated == texts.end()) {
                ADD_FAILURE() << "no text for ID " << id << " (" << text << ")";
                continue;
            }
            EXPECT_EQ(PlaceholderCount(translated->second), PlaceholderCount(text)) << id;
            EXPECT_EQ(LineBreakMarks(translated->second), LineBreakMarks(text)) << id;
        }
    }
    EXPECT_GE(files, 1) << "no language files in " << folder.string();
}

} // namespace
} // namespace orvan
