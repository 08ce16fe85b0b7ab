// The build steps for what the typed text stands for, run through the whole candidate
// build as the search window runs it.
#include "core/search/input_steps.h"

#include "core/base/date_format.h"
#include "core/search/input_fakes.h"
#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

using testing::FileFacts;
using testing::FixedClock;
using testing::LocaleScope;
using testing::MemoryFileSystem;

CatalogItem Item(std::string path, std::string name = {}) {
    CatalogItem item;
    item.path = std::move(path);
    item.name = std::move(name);
    return item;
}

double Moment(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    DateTimeParts parts{year, month, day, hour, minute, second, 0, 0};
    return EncodeMoment(parts).value();
}

class InputStepsTest : public ::testing::Test {
protected:
    InputStepsTest() : locale_(LocaleSettings()), clock_(Moment(2024, 3, 5, 12)) {
        files_.AddFolder("D:\\");
        files_.AddFolder("C:\\Windows");
        files_.AddFolder("C:\\Windows\\System32");
        files_.AddFile("C:\\Windows\\notepad.exe", FileFacts{.size = 1000});
        files_.AddFolder("C:\\WinApps", FileAttribute::Hidden | FileAttribute::System);
        files_.AddFile("C:\\winlog.txt",
                       FileFacts{.size = 10, .attributes = FileAttribute::Hidden});
        files_.AddFile("C:\\boot.ini", FileFacts{.size = 5});
        files_.AddFile("C:\\.profile", FileFacts{.size = 5});
        files_.AddFolder("C:\\.cache");
        files_.AddFile("C:\\ Lead", FileFacts{.size = 1});
        files_.AddFile("C:\\\xC3\xA9t\xC3\xA9.txt", FileFacts{.size = 1}); // "été.txt"
        environment_.files.emplace(files_, files_);
        environment_.clock = &clock_;
    }

    std::vector<RunAvailable> Build(std::string_view text,
                                    const CatalogItems& catalog = CatalogItems()) {
        RunAvailableList list;
        BuildRunAvailableList(text, catalog, list, environment_);
        std::vector<RunAvailable> rows;
        for (std::size_t i = 0; i < list.size(); ++i)
            rows.push_back(list[i].ToRunAvailable());
        return rows;
    }

    LocaleScope locale_;
    MemoryFileSystem files_;
    FixedClock clock_;
    RunBuildEnvironment environment_;
};

RunAvailable Row(std::string name, std::string path, RunKind kind, std::string description = {}) {
    return {std::move(name), std::move(path), kind, std::move(description)};
}

TEST_F(InputStepsTest, LoneLetterAndLetterWithColonGiveTheDriveRoot) {
    EXPECT_EQ(Build("c"), std::vector<RunAvailable>{Row("c:\\", "c:\\", RunKind::Folder)});
    EXPECT_EQ(Build("D"), std::vector<RunAvailable>{Row("D:\\", "D:\\", RunKind::Folder)});
    EXPECT_EQ(Build("c:"), std::vector<RunAvailable>{Row("c:\\", "c:\\", RunKind::Folder)});
    EXPECT_TRUE(Build("q").empty()); // no such drive
    EXPECT_TRUE(Build("q:").empty());
    EXPECT_EQ(files_.enumerations, 0u); // a drive root is never listed for these
}

TEST_F(InputStepsTest, DriveRowComesWithTheCatalogMatches) {
    const CatalogItems catalog({Item("C:\\Apps\\calc.exe"), Item("C:\\Apps\\notepad.exe")});
    EXPECT_EQ(Build("c", catalog),
              (std::vector<RunAvailable>{Row("c:\\", "c:\\", RunKind::Folder),
                                         Row("calc.exe", "C:\\Apps\\calc.exe", RunKind::Catalog)}));
}

TEST_F(InputStepsTest, FolderListingTakesEntriesStartingWithTheTail) {
    // The root lists every entry, hidden and system ones included, but none starting with
    // "." (nor "." and ".." themselves).
    EXPECT_EQ(Build("c:\\"),
              (std::vector<RunAvailable>{
                  Row(" Lead", "c:\\ Lead", RunKind::File),
                  Row("WinApps", "c:\\WinApps", RunKind::Folder),
                  Row("Windows", "c:\\Windows", RunKind::Folder),
                  Row("boot.ini", "c:\\boot.ini", RunKind::File),
                  Row("winlog.txt", "c:\\winlog.txt", RunKind::File),
                  Row("\xC3\xA9t\xC3\xA9.txt", "c:\\\xC3\xA9t\xC3\xA9.txt", RunKind::File)}));
    // ASCII letters in any case; blanks around the tail do not count.
    const std::vector<RunAvailable> win{Row("WinApps", "c:\\WinApps", RunKind::Folder),
                                        Row("Windows", "c:\\Windows", RunKind::Folder),
                                        Row("winlog.txt", "c:\\winlog.txt", RunKind::File)};
    EXPECT_EQ(Build("c:\\win"), win);
    EXPECT_EQ(Build("c:\\WIN  "), win);
    EXPECT_EQ(Build("c:\\  wIn"), win);
    // Without a trailing backslash the folder is a match in its parent, not listed.
    EXPECT_EQ(Build("C:\\Windows"),
              std::vector<RunAvailable>{Row("Windows", "C:\\Windows", RunKind::Folder)});
    EXPECT_EQ(
        Build("C:\\Windows\\"),
        (std::vector<RunAvailable>{Row("System32", "C:\\Windows\\System32", RunKind::Folder),
                                   Row("notepad.exe", "C:\\Windows\\notepad.exe", RunKind::File)}));
    // Only ASCII letters fold: "É" does not find "été".
    EXPECT_TRUE(Build("c:\\\xC3\x89T").empty());
    EXPECT_EQ(Build("c:\\\xC3\xA9t").size(), 1u);
}

// A quick listing that answers for one folder, sloppily: it ignores the prefix and lists
// "Windows" a second time, as a file.
class SloppyListing final : public FolderListingPort {
public:
    mutable std::vector<std::pair<std::string, std::string>> asked;
    bool ListByPrefix(const std::string& folder, std::string_view upperPrefix,
                      const std::function<void(std::string_view, bool)>& visit) const override {
        asked.emplace_back(folder, upperPrefix);
        for (const char* name : {"Windows", "win.ini", ".winrc", "Other"})
            visit(name, name[0] == 'W');
        visit("Windows", false); // the first listing of a name counts
        return true;
    }
};

TEST_F(InputStepsTest, FoldersAreListedQuicklyAndTheListingsAnswersChecked) {
    SloppyListing listing;
    environment_.files.emplace(files_, listing);
    EXPECT_EQ(Build("c:\\ wi"),
              (std::vector<RunAvailable>{Row("Windows", "c:\\Windows", RunKind::Folder),
                                         Row("win.ini", "c:\\win.ini", RunKind::File)}));
    EXPECT_EQ(listing.asked, (std::vector<std::pair<std::string, std::string>>{{"c:\\", "WI"}}));
    EXPECT_EQ(files_.enumerations, 0u);
    // The folder must still exist for the quick listing to be asked.
    EXPECT_TRUE(Build("c:\\Missing\\").empty());
    EXPECT_EQ(listing.asked.size(), 1u);
}

TEST_F(InputStepsTest, MissingOrUnlistableFoldersAddNothing) {
    EXPECT_TRUE(Build("C:\\Missing\\").empty());
    EXPECT_TRUE(Build("X:\\").empty());
    EXPECT_TRUE(Build("\\\\server\\share\\").empty());
    files_.MakeUnlistable("C:\\Windows");
    EXPECT_TRUE(Build("C:\\Windows\\").empty());
    // A text without a backslash names no folder to list.
    EXPECT_TRUE(Build("Windows").empty());
}

TEST_F(InputStepsTest, ExistingFileIsListedOnceWhateverProducedItFirst) {
    // The listing of C:\ already produced this name and path.
    EXPECT_EQ(Build("C:\\boot.ini"),
              std::vector<RunAvailable>{Row("boot.ini", "C:\\boot.ini", RunKind::File)});
    // Typed in another case, the listing's path keeps the typed folder and the entry's
    // own name, the file step the text as typed: two rows.
    EXPECT_EQ(Build("C:\\BOOT.INI"),
              (std::vector<RunAvailable>{Row("BOOT.INI", "C:\\BOOT.INI", RunKind::File),
                                         Row("boot.ini", "C:\\boot.ini", RunKind::File)}));
    // A catalog entry with the same name and path comes first and wins over the file
    // step (a typed path with a backslash never matches a catalog key, a relative one can).
    files_.AddFile("notepad.exe");
    const CatalogItems catalog({Item("notepad.exe")});
    EXPECT_EQ(Build("notepad.exe", catalog),
              std::vector<RunAvailable>{Row("notepad.exe", "notepad.exe", RunKind::Catalog)});
    // A folder is not a file.
    EXPECT_TRUE(
        Build("C:\\Windows\\System32") ==
        std::vector<RunAvailable>{Row("System32", "C:\\Windows\\System32", RunKind::Folder)});
}

TEST_F(InputStepsTest, DateRowDescribesTheMoment) {
    const std::vector<RunAvailable> rows = Build("2024-03-04 12:00");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], Row("DateTime", "2024-03-04 12:00:00", RunKind::DateTime,
                           "2024-03-04 12:00:00\r\rMonday\r0:00:00\rWeek 10"));
    // A time alone is a moment on 30 December 1899.
    EXPECT_EQ(Build("1:2")[0].path, "1899-12-30 1:02:00");
}

TEST_F(InputStepsTest, DateSpanCountsWithTheClock) {
    const double typed = Moment(2024, 3, 4, 11, 59, 50);
    clock_.Set(typed + 1 + 10.0 / 86400);
    const std::vector<RunAvailable> rows = Build("2024-03-04 11:59:50");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(rows[0].description.find("\r1 days, 0:00:10\r"), std::string::npos)
        << rows[0].description;
}

TEST_F(InputStepsTest, CalculatorRowAppearsAloneForNonZeroValues) {
    EXPECT_EQ(Build("100+44"),
              std::vector<RunAvailable>{Row("Calculator", "144", RunKind::Calculator,
                                            "144\r\r0000000000000090 HEX16\r144 bytes")});
    const std::vector<RunAvailable> five{
        Row("Calculator", "5", RunKind::Calculator, "5\r\r0000000000000005 HEX16\r5 bytes")};
    EXPECT_EQ(Build("2+3"), five);
    EXPECT_EQ(Build("2+3="), five);        // the retry without the last character
    EXPECT_EQ(Build("2+3\xC3\xA9"), five); // a last character of several bytes goes whole
    EXPECT_TRUE(Build("2+3==").empty());
    EXPECT_TRUE(Build("1-1").empty()); // 0 adds nothing
    EXPECT_EQ(Build("-1")[0].description, "-1\r\rFFFFFFFFFFFFFFFF HEX16\r1 bytes");
    EXPECT_EQ(Build("2.5")[0].description, "2.5\r\r0000000000000002 HEX16\r2 bytes");
    EXPECT_EQ(Build("3.5")[0].description, "3.5\r\r0000000000000004 HEX16\r4 bytes");
    // Two numbers are a calculation, not a partial date.
    EXPECT_EQ(Build("10-2")[0].name, "Calculator");
    EXPECT_EQ(Build("10/2")[0].path, "5");
}

TEST_F(InputStepsTest, CalculatorYieldsToEveryOtherCandidate) {
    // A catalog name that is a number.
    const CatalogItems catalog({Item("C:\\Apps\\7.exe", "7")});
    EXPECT_EQ(Build("7", catalog),
              std::vector<RunAvailable>{Row("7", "C:\\Apps\\7.exe", RunKind::Catalog)});
    // A date is also a calculation in this locale ("2024-03-04" is 2017).
    EXPECT_EQ(Build("2024-03-04")[0].name, "DateTime");
    EXPECT_EQ(Build("2024-03-04").size(), 1u);
}

TEST_F(InputStepsTest, CalculatorUsesTheLocalesSeparators) {
    LocaleScope german(testing::GermanLocale());
    EXPECT_EQ(Build("1234,5*2")[0].path, "2.469");
    EXPECT_EQ(Build("0,5+1")[0].description, "1,5\r\r0000000000000002 HEX16\r2 bytes");
}

TEST_F(InputStepsTest, OddTextsBuildWithoutHarm) {
    for (const std::string& text :
         {std::string(100000, 'a'), std::string(100000, '\\'), "C:\\" + std::string(5000, 'x'),
          std::string("C:\\\0x", 5), std::string("\xED\xA0\x80"), std::string("\x01\x02\x7F"),
          std::string("CON"), std::string("\\\\.\\PhysicalDrive0"), std::string(":"),
          std::string("\\"), std::string("*"), std::string("c:\\*?<>\"")}) {
        RunAvailableList list;
        EXPECT_NO_THROW(BuildRunAvailableList(text, CatalogItems(), list, environment_));
    }
}

TEST_F(InputStepsTest, WithoutAFileSystemOnlyDatesAndCalculationsRemain) {
    RunAvailableList list;
    BuildRunAvailableList("c", CatalogItems(), list, RunBuildEnvironment{});
    EXPECT_TRUE(list.empty());
    BuildRunAvailableList("6*7", CatalogItems(), list, RunBuildEnvironment{});
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].path, "42");
}

} // namespace
} // namespace orvan
