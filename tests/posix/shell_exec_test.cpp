// ShellOpen on Linux: the path goes to xdg-open as one argument, untouched by any shell,
// with the working directory set; failures map onto the shell's failure codes.
#include "platform/native_shell.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace orvan {
namespace {

using testing::ScopedEnv;
using testing::TempFolder;

// A stand-in xdg-open in a folder of its own that records its working directory and its
// arguments, one per line, then leaves a marker. Only shell builtins: PATH holds nothing
// else while it runs.
class FakeOpener {
public:
    FakeOpener() : path_("PATH", temp_.Native("bin").c_str()) {
        temp_.Folder("bin");
        const std::string script = "#!/bin/sh\n"
                                   "{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" +
                                   temp_.Native("record") + "'\n: > '" + temp_.Native("done") +
                                   "'\n";
        temp_.File("bin/xdg-open", script);
        chmod(temp_.Native("bin/xdg-open").c_str(), 0755);
    }

    // Waits (bounded) for the detached opener to finish and returns its record.
    std::vector<std::string> Record() const {
        for (int i = 0; i < 500 && access(temp_.Native("done").c_str(), F_OK) != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::ifstream in(temp_.Native("record"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

private:
    TempFolder temp_;
    ScopedEnv path_;
};

class PosixShellTest : public ::testing::Test {
protected:
    TempFolder files_;
};

TEST_F(PosixShellTest, HandsThePathToXdgOpenAsOneArgument) {
    FakeOpener opener;
    const std::string name = "a b;'q\" $(touch pwned) `x` *.txt";
    files_.File(name, "x");
    const std::intptr_t result =
        platform::Shell().Open(files_.Core(name), "", files_.Core() + "\\", kShowNormal);
    EXPECT_GT(result, 32);
    EXPECT_EQ(opener.Record(), (std::vector<std::string>{files_.Native(), files_.Native(name)}));
    EXPECT_NE(access(files_.Native("pwned").c_str(), F_OK), 0);
}

TEST_F(PosixShellTest, OpensFoldersWithoutWorkingDirectoryToo) {
    FakeOpener opener;
    files_.Folder("sub dir");
    EXPECT_GT(platform::Shell().Open(files_.Core("sub dir") + "\\", "", "", kShowNormal), 32);
    const std::vector<std::string> record = opener.Record();
    ASSERT_EQ(record.size(), 2u);
    EXPECT_EQ(record[1], files_.Native("sub dir") + "/");
}

TEST_F(PosixShellTest, MapsFailuresOntoTheShellsCodes) {
    FakeOpener opener;
    files_.File("there.txt");
    const ShellPort& shell = platform::Shell();
    EXPECT_EQ(shell.Open(files_.Core("gone.txt"), "", "", 1), 2);     // file not found
    EXPECT_EQ(shell.Open(files_.Core("no\\gone.txt"), "", "", 1), 3); // path not found
    EXPECT_EQ(shell.Open("D:\\x.txt", "", "", 1), 3);                 // no such drive
    EXPECT_EQ(shell.Open("relative.txt", "", "", 1), 3);
    EXPECT_EQ(shell.Open(files_.Core("there.txt"), "", files_.Core("nowhere"), 1), 3);
    EXPECT_EQ(shell.Open(std::string("C:\\tmp\0x", 8), "", "", 1), 3);
}

TEST_F(PosixShellTest, WithoutXdgOpenNothingIsAssociated) {
    TempFolder empty;
    ScopedEnv path("PATH", empty.Native().c_str());
    files_.File("there.txt");
    EXPECT_EQ(platform::Shell().Open(files_.Core("there.txt"), "", "", 1), 31);
}

TEST_F(PosixShellTest, DeniedFolderIsAccessDenied) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every folder";
    FakeOpener opener;
    files_.Folder("locked");
    files_.File("locked/x.txt");
    chmod(files_.Native("locked").c_str(), 0);
    EXPECT_EQ(platform::Shell().Open(files_.Core("locked\\x.txt"), "", "", 1), 5);
}

TEST(PosixShell, HasNoElevation) {
    EXPECT_FALSE(platform::Shell().RunAs(0, "C:\\bin\\true", ""));
}

} // namespace
} // namespace orvan
