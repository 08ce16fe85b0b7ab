// File properties on Linux: the name stands for the shell's display name, there is no
// type name and no version part; attributes follow the Linux view of the file system.
#include "core/fileinfo/file_info.h"
#include "platform/native.h"
#include "platform/native_shell.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace orvan {
namespace {

using testing::TempFolder;

TEST(PosixVersionInfo, NamesTheFileAndKnowsNoVersion) {
    const ShellFileFacts facts = platform::VersionInfo().ShellFacts("C:\\usr\\bin\\env");
    EXPECT_EQ(facts.displayName, "env");
    EXPECT_EQ(facts.typeName, "");
    EXPECT_FALSE(facts.executable);
    EXPECT_FALSE(platform::VersionInfo().ReadVersionResource("C:\\usr\\bin\\env"));
    // A colon is part of a Linux file name, not the end of a drive.
    EXPECT_EQ(platform::VersionInfo().ShellFacts("C:\\man3\\Algorithm::Diff.3pm.gz").displayName,
              "Algorithm::Diff.3pm.gz");
}

TEST(PosixVersionInfo, FileTextHasTheGeneralPartOnly) {
    TempFolder temp;
    temp.File("notes.tar.gz", std::string(1536, 'x'));
    temp.File(".hidden");
    chmod(temp.Native("notes.tar.gz").c_str(), 0444);
    const FileInfoServices services{&platform::FileSystem(), &platform::VersionInfo(),
                                    &platform::Volumes()};
    const std::string text = FileDetailsText(temp.Core("notes.tar.gz"), services);
    const std::string head = "notes.tar.gz\r\rFile name: " + temp.Core("notes.tar.gz") +
                             "\rFile size: 1.50 kB\rFile time: ";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.substr(text.find("\rAttributes: ")), "\rAttributes: RA\rFile extension: gz");
    const std::string hidden = FileDetailsText(temp.Core(".hidden"), services);
    EXPECT_EQ(hidden.substr(hidden.find("\rAttributes: ")),
              "\rAttributes: HA\rFile extension: hidden");
    EXPECT_EQ(FileDetailsText(temp.Core("gone"), services), "File not found");
    EXPECT_EQ(FileDetailsText(temp.Core(), services), "File not found");
}

} // namespace
} // namespace orvan
