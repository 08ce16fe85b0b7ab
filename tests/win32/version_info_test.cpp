// Version information of our own Orvan.exe through the adapter, which loads the resource
// once, against the same strings read as the long way does: one load per string.
#include "core/fileinfo/file_info.h"
#include "core/robot/version_defs.h"
#include "platform/native.h"
#include "platform/native_shell.h"
#include "win32/wide_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <vector>

namespace orvan {
namespace {

using win32::Narrow;
using win32::Wide;

// Test paths arrive as Linux paths from the build; Wine maps the Linux root to drive Z:.
std::string WindowsPath(const char* path) {
    std::string out = path[0] == '/' ? "Z:" : "";
    for (const char* p = path; *p; ++p)
        out.push_back(*p == '/' ? '\\' : *p);
    return out;
}

// One string as read with a fresh load of the resource and its translation table.
std::string LoadOneString(const std::string& path, const char* key) {
    const std::wstring wide = Wide(path);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &handle);
    if (size == 0)
        return {};
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(wide.c_str(), 0, size, block.data()))
        return {};
    DWORD* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < 4)
        return {};
    wchar_t query[128];
    std::swprintf(query, 128, L"\\StringFileInfo\\%04X%04X\\%hs", LOWORD(*translation),
                  HIWORD(*translation), key);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&value), &length) ||
        length == 0)
        return {};
    return Narrow(value, wcsnlen(value, length));
}

const std::string kExe = WindowsPath(ORVAN_EXE_PATH);

TEST(Win32VersionInfo, ReadsOurProgramsResourceInOneLoad) {
    const FileVersionInfo info = ReadFileVersionInfo(kExe, platform::VersionInfo());
    EXPECT_FALSE(info.displayName.empty());
    EXPECT_EQ(info.companyName, ORVAN_MAKER);
    EXPECT_EQ(info.fileDescription, "Orvan! keyboard launcher");
    EXPECT_EQ(info.fileVersion, ORVAN_VERSION_TEXT);
    EXPECT_EQ(info.internalName, "Orvan.exe");
    EXPECT_EQ(info.legalCopyright, ORVAN_RIGHTS_NOTICE);
    EXPECT_EQ(info.originalFilename, "Orvan.exe");
    EXPECT_EQ(info.productName, ORVAN_PRODUCT_NAME);
    EXPECT_EQ(info.productVersion, ORVAN_VERSION_TEXT);
    EXPECT_EQ(info.fileFunction, "Application");
    EXPECT_TRUE(info.flagPreRelease);
    EXPECT_FALSE(info.flagDebug);
    EXPECT_FALSE(info.flagPatched);

    const std::string* fields[] = {
        &info.companyName,    &info.fileDescription, &info.fileVersion,      &info.internalName,
        &info.legalCopyright, &info.legalTrademarks, &info.originalFilename, &info.productName,
        &info.productVersion, &info.comments,        &info.specialBuild,     &info.privateBuild};
    for (std::size_t i = 0; i < kVersionStringKeys.size(); ++i)
        EXPECT_EQ(*fields[i], LoadOneString(kExe, kVersionStringKeys[i])) << kVersionStringKeys[i];
}

TEST(Win32VersionInfo, DetailsTextHasTheVersionPart) {
    const FileInfoServices services{&platform::FileSystem(), &platform::VersionInfo(),
                                    &platform::Volumes()};
    const std::string text = FileDetailsText(kExe, services);
    EXPECT_NE(text.find("\rFile extension: exe\r\rCompany name: Morvane\r"), std::string::npos)
        << text;
    EXPECT_NE(text.find("\rFile function: Application\rPre release: Yes"), std::string::npos)
        << text;
}

class TempFile {
public:
    explicit TempFile(const char* name) {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        path_ = Narrow(temp) + name;
        HANDLE file = CreateFileW(Wide(path_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, "hello", 5, &written, nullptr);
        CloseHandle(file);
    }
    ~TempFile() { DeleteFileW(Wide(path_).c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

TEST(Win32VersionInfo, DocumentsAndPlainFilesHaveNoVersionPart) {
    const TempFile text("orvan-version-test.txt");
    const ShellFileFacts facts = platform::VersionInfo().ShellFacts(text.Path());
    EXPECT_FALSE(facts.executable);
    EXPECT_FALSE(facts.displayName.empty());
    const FileInfoServices services{&platform::FileSystem(), &platform::VersionInfo(),
                                    &platform::Volumes()};
    const std::string details = FileDetailsText(text.Path(), services);
    EXPECT_NE(details.find("\rFile size: 5 bytes\r"), std::string::npos) << details;
    EXPECT_EQ(details.find("Company name"), std::string::npos) << details;
    const std::string tail = "\rAttributes: A\rFile extension: txt";
    ASSERT_GE(details.size(), tail.size());
    EXPECT_EQ(details.substr(details.size() - tail.size()), tail) << details;
    EXPECT_FALSE(platform::VersionInfo().ReadVersionResource(text.Path()));
}

} // namespace
} // namespace orvan
