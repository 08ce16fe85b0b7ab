// ShellOpen and ShellRunAs through the Windows shell: acceptance, and the failure codes with
// their texts.
#include "core/search/launch.h"
#include "platform/native_shell.h"
#include "win32/wide_text.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace orvan {
namespace {

std::string WindowsPath(const char* path) {
    std::string out = path[0] == '/' ? "Z:" : "";
    for (const char* p = path; *p; ++p)
        out.push_back(*p == '/' ? '\\' : *p);
    return out;
}

class Recorder final : public MessageDialogPort {
public:
    std::vector<std::string> texts;
    void ShowMessageDialog(const std::string& title, const std::string& text) override {
        EXPECT_EQ(title, "Error");
        texts.push_back(text);
    }
};

class Win32ShellTest : public ::testing::Test {
protected:
    Win32ShellTest() {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        folder_ = win32::Narrow(temp) + "orvan-shell-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryW(win32::Wide(folder_).c_str(), nullptr);
        unknown_ = folder_ + "\\data.orvanzzq";
        HANDLE file = CreateFileW(win32::Wide(unknown_).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(file);
        services_ = LaunchServices{&platform::Shell(), &messages_, nullptr};
    }
    ~Win32ShellTest() override {
        DeleteFileW(win32::Wide(unknown_).c_str());
        RemoveDirectoryW(win32::Wide(folder_).c_str());
    }

    std::string folder_;
    std::string unknown_;
    Recorder messages_;
    LaunchServices services_;
};

TEST_F(Win32ShellTest, AcceptsAProgram) {
    const std::string cli = WindowsPath(ORVAN_CLI_PATH);
    EXPECT_TRUE(ShellOpen(services_, cli, "calc 1", WorkingFolderOf(cli), kShowNormal));
    EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(Win32ShellTest, RefusalsComeWithTheirTexts) {
    const ShellPort& shell = platform::Shell();
    EXPECT_EQ(shell.Open(folder_ + "\\missing.txt", "", folder_, kShowNormal), 2);
    const std::intptr_t noFolder = shell.Open(folder_ + "\\no\\missing.txt", "", "", kShowNormal);
    EXPECT_TRUE(noFolder == 2 || noFolder == 3) << noFolder;
    EXPECT_EQ(shell.Open(unknown_, "", folder_, kShowNormal), 31);

    EXPECT_FALSE(ShellOpen(services_, folder_ + "\\missing.txt", "", folder_, kShowNormal));
    EXPECT_FALSE(ShellOpen(services_, unknown_, "", folder_, kShowNormal));
    EXPECT_EQ(messages_.texts,
              (std::vector<std::string>{
                  "The specified file was not found.",
                  "There is no application associated with the given filename extension."}));
}

TEST_F(Win32ShellTest, RunAsReportsARefusal) {
    EXPECT_FALSE(ShellRunAs(platform::Shell(), 0, folder_ + "\\missing.exe", ""));
}

// The program starts (here a command that leaves a file behind), whichever way the adapter
// reached the desktop's rights: through the desktop's shell, or, not being elevated, with
// its own. What is not there is refused, and nothing starts.
TEST_F(Win32ShellTest, OpenAsDesktopUserStartsAProgramAndRefusesWhatIsNotThere) {
    const ShellPort& shell = platform::Shell();
    EXPECT_FALSE(shell.OpenAsDesktopUser(folder_ + "\\missing.exe", "", folder_));
    EXPECT_FALSE(shell.OpenAsDesktopUser(folder_, "", ""));

    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::string started = folder_ + "\\started.txt";
    ASSERT_TRUE(shell.OpenAsDesktopUser(win32::Narrow(system) + "\\cmd.exe",
                                        "/c echo started> \"" + started + "\"", folder_));
    for (int i = 0;
         i < 100 && ::GetFileAttributesW(win32::Wide(started).c_str()) == INVALID_FILE_ATTRIBUTES;
         ++i)
        ::Sleep(100);
    EXPECT_NE(::GetFileAttributesW(win32::Wide(started).c_str()), INVALID_FILE_ATTRIBUTES);
    ::Sleep(200); // the command lets go of the file
    ::DeleteFileW(win32::Wide(started).c_str());
}

} // namespace
} // namespace orvan
