// The options file against the real profile functions: what WritePrivateProfileStringW
// writes, the store reads; what the store writes, GetPrivateProfileStringW reads; and on a
// file of awkward lines both find the same values.
#include "catalog_temp.h"
#include "core/config/ini_file.h"
#include "core/config/options.h"
#include "platform/native.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace orvan {
namespace {

using testing::CatalogTempFolder;
using win32::Narrow;
using win32::Wide;

class FixedFolders final : public SpecialFolderPort {
public:
    explicit FixedFolders(std::string appData) : appData_(std::move(appData)) {}
    std::string GetSpecialFolder(int folderNumber) const override {
        return folderNumber == Csidl::AppData ? appData_ : std::string();
    }

private:
    std::string appData_;
};

std::optional<std::string> ProfileRead(const std::wstring& file, const char* section,
                                       const char* key) {
    wchar_t buffer[4096] = {};
    GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), L"\x1F", buffer, 4096,
                             file.c_str());
    if (std::wstring(buffer) == L"\x1F")
        return std::nullopt;
    return Narrow(buffer);
}

void ProfileWrite(const std::wstring& file, const char* section, const char* key,
                  const std::string& value) {
    ASSERT_TRUE(WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(),
                                           Wide(value).c_str(), file.c_str()));
}

const std::string kPath1 = "C:\\\xC3\x9C"
                           "bung\\\xE2\x82\xAC\\\xE4\xB8\xAD\xE6\x96\x87"; // Übung, €, 中文
const std::string kPath2 = "C:\\Emoji \xF0\x9F\x98\x80";

class ProfileOptions : public ::testing::Test {
protected:
    ProfileOptions()
        : folders(temp.Path()), services{folders, platform::FileSystem(), platform::FileStore(),
                                         "Orvan.exe"} {
        CreateDirectoryW(temp.WidePath("Morvane").c_str(), nullptr);
        CreateDirectoryW(temp.WidePath("Morvane\\Orvan").c_str(), nullptr);
    }
    std::wstring File() const { return temp.WidePath("Morvane\\Orvan\\Orvan.ini"); }

    CatalogTempFolder temp;
    FixedFolders folders;
    OptionsServices services;
};

TEST_F(ProfileOptions, StoreReadsWhatTheProfileFunctionsWrote) {
    // A file that starts with the UTF-16 mark is written as Unicode by the profile functions.
    temp.WriteBytes("Morvane\\Orvan\\Orvan.ini", "\xFF\xFE");
    ProfileWrite(File(), "Global", "Language", "1031");
    ProfileWrite(File(), "Form", "AutoHide", "False");
    ProfileWrite(File(), "TrayIcon", "Enabled", "-1");
    ProfileWrite(File(), "Catalog", "LastRebuild", "45678.5");
    ProfileWrite(File(), "Paths", "Count", "2");
    ProfileWrite(File(), "Paths", "Path_1", kPath1 + "|*.*|-1|False|True");
    ProfileWrite(File(), "Paths", "Path_2", kPath2 + "|*.lnk|2|True|False");
    ProfileWrite(File(), "global", "LANGUAGE", "1036"); // replaces, whatever the case

    const SettingsOptions options = LoadOptions(services);
    EXPECT_EQ(options.fileName, temp.Path("Morvane\\Orvan\\Orvan.ini"));
    EXPECT_EQ(options.language, 1036);
    EXPECT_FALSE(options.autoHide);
    EXPECT_TRUE(options.trayIcon);
    EXPECT_EQ(options.catalog.lastRebuild, 45678.5);
    ASSERT_EQ(options.catalog.paths.size(), 2u);
    EXPECT_EQ(options.catalog.paths[0].path, kPath1);
    EXPECT_EQ(options.catalog.paths[1].path, kPath2);
    EXPECT_EQ(options.catalog.paths[1].depth, 2);
    EXPECT_FALSE(options.catalog.paths[1].active);
}

TEST_F(ProfileOptions, StoreReadsAnAnsiFileTheProfileFunctionsCreated) {
    ProfileWrite(File(), "Global", "HotKey", "16449");
    ProfileWrite(File(), "Paths", "Count", "1");
    ProfileWrite(File(), "Paths", "Path_1", "C:\\Tools|*.exe|0|False|True");
    const std::string bytes = temp.ReadBytes("Morvane\\Orvan\\Orvan.ini");
    ASSERT_FALSE(bytes.empty());
    EXPECT_NE(static_cast<unsigned char>(bytes[0]), 0xFF); // no mark: an ANSI file
    const SettingsOptions options = LoadOptions(services);
    EXPECT_EQ(options.hotKey, 16449);
    ASSERT_EQ(options.catalog.paths.size(), 1u);
    EXPECT_EQ(options.catalog.paths[0].path, "C:\\Tools");
}

TEST_F(ProfileOptions, ProfileFunctionsReadWhatTheStoreWrote) {
    temp.WriteBytes("Morvane\\Orvan\\Orvan.ini",
                    "; hand-written\r\n[Paths]\r\nCount=4\r\nPath_3=a\r\nPath_4=b\r\n"
                    "[Mine]\r\nKey=kept\r\n");
    SettingsOptions options = DefaultOptions(services);
    options.language = 1031;
    options.alwaysOnTop = true;
    options.catalog.lastRebuild = 45678.25;
    options.catalog.paths.resize(2);
    options.catalog.paths[0].path = kPath1;
    options.catalog.paths[1].path = kPath2;
    ASSERT_TRUE(SaveOptions(options, services).Ok());

    EXPECT_EQ(ProfileRead(File(), "Global", "Language"), "1031");
    EXPECT_EQ(ProfileRead(File(), "GLOBAL", "hotkey"), "32800");
    EXPECT_EQ(ProfileRead(File(), "Form", "AlwaysOnTop"), "True");
    EXPECT_EQ(ProfileRead(File(), "TrayIcon", "Enabled"), "0");
    EXPECT_EQ(ProfileRead(File(), "Catalog", "LastRebuild").value_or("").substr(0, 5), "45678");
    EXPECT_EQ(ProfileRead(File(), "Paths", "Count"), "2");
    EXPECT_EQ(ProfileRead(File(), "Paths", "Path_1"), kPath1 + "|*.*|-1|False|True");
    EXPECT_EQ(ProfileRead(File(), "Paths", "Path_2"), kPath2 + "|*.*|-1|False|True");
    EXPECT_EQ(ProfileRead(File(), "Paths", "Path_3"), "a"); // a longer earlier list stays
    EXPECT_EQ(ProfileRead(File(), "Paths", "Path_4"), "b");
    EXPECT_EQ(ProfileRead(File(), "Mine", "Key"), "kept");
    EXPECT_EQ(ProfileRead(File(), "Portable", "Enable"), "0");

    // And the profile functions keep writing into the store's file as Unicode.
    ProfileWrite(File(), "Paths", "Path_1", kPath2 + "|*|1|True|True");
    EXPECT_EQ(LoadOptions(services).catalog.paths[0].path, kPath2);
}

TEST_F(ProfileOptions, BothFindTheSameValuesInAwkwardLines) {
    const std::string text = "top=outside\r\n"
                             "[Global]\r\n"
                             "  Language =  1031  \r\n"
                             "language=second\r\n"
                             "Quoted=\"a b\"\r\n"
                             "Single='c'\r\n"
                             "Half=\"d\r\n"
                             "Empty=\r\n"
                             "Equals=x=y\r\n"
                             "NoValue\r\n"
                             "; Comment=1\r\n"
                             "\t Tabbed\t=\tv\t\r\n"
                             "[gLoBaL]\r\n"
                             "Later=in a second section of the same name\r\n"
                             "[Other]\r\n"
                             "Language=other\r\n"
                             "[Uni]\r\n"
                             "\xC3\x84rger=\xC3\xB6l\r\n";
    IniFile file = IniFile::FromText(text);
    temp.WriteBytes("t.ini", file.ToBytes());
    const std::wstring path = temp.WidePath("t.ini");
    const std::vector<std::pair<const char*, const char*>> lookups = {
        {"Global", "Language"}, {"GLOBAL", "LANGUAGE"},  {"Global", "Quoted"},
        {"Global", "Single"},   {"Global", "Half"},      {"Global", "Empty"},
        {"Global", "Equals"},   {"Global", "Later"},     {"Global", "Missing"},
        {"Other", "Language"},  {"Global", "Tabbed"},    {"Global", "; Comment"},
        {"Global", "top"},      {"Uni", "\xC3\x84rger"}, {"uni", "\xC3\xA4RGER"},
    };
    // Windows folds the case of non-ASCII names in profile lookups; Wine's profile
    // functions fold ASCII only, so the last lookup is Windows' answer alone.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const bool underWine = ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    for (const auto& [section, key] : lookups) {
        if (underWine && std::string(section) == "uni")
            continue;
        EXPECT_EQ(file.Read(section, key), ProfileRead(path, section, key))
            << "[" << section << "] " << key;
    }
}

} // namespace
} // namespace orvan
