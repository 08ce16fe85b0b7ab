// Starting candidates, the shell's failure texts and the run history with its recall.
#include "core/search/launch.h"

#include "core/search/input_fakes.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

using testing::FakeShell;
using testing::RecordingMessages;
using testing::RecordingWindow;

class LaunchTest : public ::testing::Test {
protected:
    LaunchTest() { services_ = LaunchServices{&shell_, &messages_, &window_}; }

    void Start(const std::string& path, RunKind kind = RunKind::File) {
        ExecuteRunAvailable(RunAvailable{"name", path, kind, {}}, options_, services_);
    }

    FakeShell shell_;
    RecordingMessages messages_;
    RecordingWindow window_;
    LaunchServices services_;
    SettingsOptions options_;
};

TEST_F(LaunchTest, OpensFoldersFilesAndCatalogEntriesFromTheirFolder) {
    Start("C:\\Tools\\", RunKind::Folder);
    Start("C:\\Tools\\x.exe", RunKind::File);
    Start("C:\\Apps\\y.lnk", RunKind::Catalog);
    Start("D:x.txt", RunKind::File);
    Start("relative.txt", RunKind::File);
    using Call = FakeShell::OpenCall;
    EXPECT_EQ(shell_.opened, (std::vector<Call>{{"C:\\Tools\\", "", "C:\\Tools\\", 1},
                                                {"C:\\Tools\\x.exe", "", "C:\\Tools\\", 1},
                                                {"C:\\Apps\\y.lnk", "", "C:\\Apps\\", 1},
                                                {"D:x.txt", "", "D:", 1},
                                                {"relative.txt", "", "", 1}}));
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(LaunchTest, CalculatorAndDateStartNothing) {
    Start("5", RunKind::Calculator);
    Start("2024-03-05", RunKind::DateTime);
    Start("x", RunKind{});
    EXPECT_TRUE(shell_.opened.empty());
    EXPECT_TRUE(options_.runHistory.empty());
    EXPECT_EQ(window_.closeRequests, 0);
}

TEST_F(LaunchTest, AutoHideAsksTheWindowToClose) {
    options_.autoHide = true;
    Start("C:\\a.txt");
    EXPECT_EQ(window_.closeRequests, 1);
    options_.autoHide = false;
    Start("C:\\a.txt");
    EXPECT_EQ(window_.closeRequests, 1);
}

TEST_F(LaunchTest, HistoryKeepsFirstStartsAndPointsAtTheLastStart) {
    Start("A");
    Start("B");
    Start("A");
    EXPECT_EQ(options_.runHistory, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(options_.runHistoryIndex, 0);
    EXPECT_EQ(RecallRunHistory(options_), "A");
    EXPECT_EQ(RecallRunHistory(options_), "B");
    EXPECT_EQ(RecallRunHistory(options_), std::nullopt);
    EXPECT_EQ(options_.runHistoryIndex, 2);
    Start("B");
    EXPECT_EQ(options_.runHistoryIndex, 1);
    Start("a"); // case-sensitive
    EXPECT_EQ(options_.runHistory, (std::vector<std::string>{"A", "B", "a"}));
    EXPECT_EQ(options_.runHistoryIndex, 2);
}

TEST_F(LaunchTest, RecallOnEmptyOrBrokenHistoryDoesNothing) {
    EXPECT_EQ(RecallRunHistory(options_), std::nullopt);
    options_.runHistory = {"A"};
    options_.runHistoryIndex = -3;
    EXPECT_EQ(RecallRunHistory(options_), std::nullopt);
    EXPECT_EQ(options_.runHistoryIndex, -3);
}

TEST_F(LaunchTest, RunSelectedNeedsASelectedRowAndThenClearsForEveryKind) {
    RunAvailableList list;
    AddRunAvailable(list, "Calculator", "5", "5", RunKind::Calculator);
    AddRunAvailable(list, "x", "C:\\x", {}, RunKind::File);
    EXPECT_FALSE(RunSelected(list, std::nullopt, options_, services_));
    EXPECT_FALSE(RunSelected(list, 2, options_, services_));
    EXPECT_FALSE(RunSelected(RunAvailableList(), 0, options_, services_));
    EXPECT_TRUE(RunSelected(list, 0, options_, services_)); // clears, starts nothing
    EXPECT_TRUE(shell_.opened.empty());
    EXPECT_TRUE(RunSelected(list, 1, options_, services_));
    ASSERT_EQ(shell_.opened.size(), 1u);
    EXPECT_EQ(shell_.opened[0].file, "C:\\x");
}

TEST_F(LaunchTest, ShellRefusalShowsTheFailureText) {
    shell_.answer = 2;
    EXPECT_FALSE(ShellOpen(services_, "C:\\gone.txt", "", "C:\\", kShowNormal));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0],
              (std::pair<std::string, std::string>{"Error", "The specified file was not found."}));
    // The path is in the history although the start failed.
    Start("C:\\gone.txt");
    EXPECT_EQ(options_.runHistory, std::vector<std::string>{"C:\\gone.txt"});
    EXPECT_EQ(messages_.shown.size(), 2u);

    shell_.answer = 33;
    EXPECT_TRUE(ShellOpen(services_, "C:\\ok.txt", "", "C:\\", kShowNormal));
    EXPECT_EQ(messages_.shown.size(), 2u);
    // Without a message port a refusal is still a refusal.
    shell_.answer = 5;
    EXPECT_FALSE(ShellOpen(LaunchServices{&shell_, nullptr, nullptr}, "x", "", "", 1));
    EXPECT_FALSE(ShellOpen(LaunchServices{}, "x", "", "", 1));
}

TEST(ShellFailureText, NamesEveryCodeOfTheTable) {
    const std::pair<std::intptr_t, const char*> cases[] = {
        {0, "The operation system is out of memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied access to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred."},
        {27, "The filename association is incomplete or invalid."},
        {28, "The DDE transaction could not be completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not be completed because other DDE transactions were "
             "being processed."},
        {31, "There is no application associated with the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {4, "Unknown error."},
        {12, "Unknown error."},
        {-1, "Unknown error."}};
    for (const auto& [code, text] : cases)
        EXPECT_EQ(ShellFailureText(code), text) << code;
}

TEST(WorkingFolderOf, CutsAfterTheLastBackslashOrTheDrivesColon) {
    EXPECT_EQ(WorkingFolderOf("C:\\Tools\\"), "C:\\Tools\\");
    EXPECT_EQ(WorkingFolderOf("C:\\Tools\\x.exe"), "C:\\Tools\\");
    EXPECT_EQ(WorkingFolderOf("C:x.exe"), "C:");
    EXPECT_EQ(WorkingFolderOf("\\\\server\\share\\a"), "\\\\server\\share\\");
    EXPECT_EQ(WorkingFolderOf("x.exe"), "");
    // A Linux file name mapped into the Windows form may hold colons of its own.
    EXPECT_EQ(WorkingFolderOf("C:\\usr\\man3\\Algorithm::Diff.3pm.gz"), "C:\\usr\\man3\\");
}

} // namespace
} // namespace orvan
