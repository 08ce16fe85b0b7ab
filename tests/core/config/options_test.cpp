#include "core/config/options.h"

#include "core/base/utf.h"
#include "core/language/language.h"
#include "core/ports/locale.h"
#include "fakes/fixed_folders.h"
#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

using testing::FakeFolders;
using testing::MemoryFileSystem;

constexpr const char* kRoaming = "C:\\Users\\u\\AppData\\Roaming";
constexpr const char* kLocal = "C:\\Users\\u\\AppData\\Local";
constexpr const char* kIni = "C:\\Users\\u\\AppData\\Roaming\\Morvane\\Orvan\\Orvan.ini";

class OptionsTest : public ::testing::Test {
protected:
    OptionsTest() {
        folders.folders = {{Csidl::AppData, kRoaming}, {Csidl::LocalAppData, kLocal}};
        disk.AddFolder(kRoaming);
        disk.AddFolder(kLocal);
    }
    ~OptionsTest() override { SetCurrentLocale(LocaleSettings()); }

    OptionsServices Services() {
        return {folders, disk, disk, "C:\\Program Files\\Orvan\\Orvan.exe"};
    }
    void WriteIni(const std::string& text) { disk.AddFile(kIni, text); }
    std::string IniText() { return Utf16ToUtf8(ToUnits(*disk.Content(kIni))); }

    static std::u16string ToUnits(const std::string& bytes) {
        EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
        std::u16string units;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                  static_cast<unsigned char>(bytes[i + 1]) << 8));
        return units;
    }

    FakeFolders folders;
    MemoryFileSystem disk;
};

TEST_F(OptionsTest, DefaultsHoldEveryFieldAndTheTenCatalogPaths) {
    const SettingsOptions o = DefaultOptions(Services());
    EXPECT_EQ(o.storageKind, SettingsStorageKind::UserIni);
    EXPECT_EQ(o.fileName, kIni);
    EXPECT_EQ(o.language, 1);
    EXPECT_EQ(o.hotKey, 32800);
    EXPECT_FALSE(o.alwaysVisible);
    EXPECT_TRUE(o.autoHide);
    EXPECT_FALSE(o.alwaysOnTop);
    EXPECT_TRUE(o.autoCenter);
    EXPECT_FALSE(o.showOnDesktop);
    EXPECT_FALSE(o.trayIcon);
    EXPECT_TRUE(o.catalog.autoUpdate);
    EXPECT_EQ(o.catalog.interval, 3600);
    EXPECT_EQ(o.catalog.lastRebuild, 0);
    EXPECT_TRUE(o.catalog.items.empty());
    EXPECT_FALSE(o.portable);
    EXPECT_TRUE(o.runHistory.empty());
    EXPECT_EQ(o.runHistoryIndex, 0);
    ASSERT_EQ(o.catalog.paths.size(), 10u);
    std::vector<std::string> lines;
    for (const auto& p : o.catalog.paths)
        lines.push_back(FormatCatalogPathLine(p));
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "%STARTMENU%|*.*|-1|False|True",
                  "%STARTMENU_COMMON%|*.*|-1|False|True",
                  "%PROGRAMFILES%|*.exe;*.com|-1|False|False",
                  "%PROGRAMFILES_COMMON%|*.exe;*.com|-1|False|False",
                  "%WINDIR%|*.exe|-1|False|False",
                  "%FAVORITES%|*.*|-1|False|True",
                  "%DESKTOP%|*.*|-1|False|True",
                  "%MYDOCUMENTS%|*.*|-1|False|False",
                  "%APPDATA%\\Microsoft\\Internet Explorer\\Quick Launch|*.lnk|-1|False|True",
                  "%APPDATA%\\Microsoft\\Windows\\Start Menu|*.lnk|-1|False|False",
              }));
}

TEST_F(OptionsTest, FileNamePrefersRoamingThenAnExistingLocalFile) {
    const std::string local = std::string(kLocal) + "\\Morvane\\Orvan\\Orvan.ini";
    disk.AddFile(local, "");
    EXPECT_EQ(DefaultOptions(Services()).fileName, local);
    disk.AddFile(kIni, "");
    EXPECT_EQ(DefaultOptions(Services()).fileName, kIni);
    OptionsServices other = Services();
    other.programFileName = "Tool";
    EXPECT_EQ(DefaultOptions(other).fileName, std::string(kRoaming) + "\\Morvane\\Orvan\\Tool.ini");
}

TEST_F(OptionsTest, AnOptionsFileBesideTheProgramMakesThePortableCopy) {
    const std::string beside = "C:\\Program Files\\Orvan\\Orvan.ini";
    EXPECT_EQ(PortableOptionsFile(Services()), "");
    EXPECT_FALSE(LoadOptions(Services()).portable);
    // An empty file is enough; even a file that says otherwise is portable where it lies.
    disk.AddFolder("C:\\Program Files\\Orvan");
    disk.AddFile(beside, "[Portable]\r\nEnable=0\r\n");
    disk.AddFile(kIni, ""); // the profile's file is not used then
    EXPECT_EQ(PortableOptionsFile(Services()), beside);
    const SettingsOptions portable = LoadOptions(Services());
    EXPECT_EQ(portable.fileName, beside);
    EXPECT_EQ(portable.storageKind, SettingsStorageKind::ProgramIni);
    EXPECT_TRUE(portable.portable);
    // A program file named without its folder has nothing beside it.
    OptionsServices bare = Services();
    bare.programFileName = "Orvan.exe";
    EXPECT_EQ(PortableOptionsFile(bare), "");
    EXPECT_EQ(DefaultOptions(bare).fileName, kIni);
    // Saved where it was found, with the flag.
    ASSERT_TRUE(SaveOptions(portable, Services()).Ok());
    EXPECT_NE(Utf16ToUtf8(ToUnits(*disk.Content(beside))).find("Enable=-1"), std::string::npos);
}

TEST_F(OptionsTest, MissingFileLoadsTheDefaultsAndCreatesTheFolder) {
    const SettingsOptions o = LoadOptions(Services());
    EXPECT_EQ(o.catalog.paths, DefaultCatalogPaths());
    EXPECT_EQ(o.hotKey, 32800);
    EXPECT_TRUE(disk.FolderExists(std::string(kRoaming) + "\\Morvane\\Orvan"));
}

struct BooleanCase {
    const char* text;
    bool expected;
};

class OptionsBooleans : public OptionsTest, public ::testing::WithParamInterface<BooleanCase> {};

TEST_P(OptionsBooleans, ReadAsTrueFalseOrNumberElseDefault) {
    WriteIni(std::string("[TrayIcon]\nEnabled=") + GetParam().text +
             "\n[Form]\nAutoHide=" + GetParam().text + "\n");
    const SettingsOptions o = LoadOptions(Services());
    const auto expected = ParseOptionBoolean(GetParam().text);
    EXPECT_EQ(o.trayIcon, GetParam().expected);
    EXPECT_EQ(o.autoHide, expected.value_or(true)); // unreadable keeps the default true
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionsBooleans,
                         ::testing::Values(BooleanCase{"-1", true}, BooleanCase{"1", true},
                                           BooleanCase{"True", true}, BooleanCase{"true", true},
                                           BooleanCase{"TRUE", true}, BooleanCase{"0", false},
                                           BooleanCase{"False", false}, BooleanCase{"fAlSe", false},
                                           BooleanCase{"99999999999999", true},
                                           BooleanCase{"yes", false}, BooleanCase{"", false},
                                           // Any number but 0, fractions and exponents too.
                                           BooleanCase{"1.5", true}, BooleanCase{"0.0", false},
                                           BooleanCase{"-0.0", false}, BooleanCase{".5", true},
                                           BooleanCase{"0.000000000000000000001", true},
                                           BooleanCase{"1E-999", true}, BooleanCase{"1e999", true},
                                           BooleanCase{"0E999", false}, BooleanCase{"1.", true},
                                           BooleanCase{"1.5x", false}, BooleanCase{"1.2.3", false},
                                           BooleanCase{"E5", false}, BooleanCase{"1E", false},
                                           BooleanCase{"0x10", false}));

TEST_F(OptionsTest, BooleansTakeFractionsInTheUsersFormatOrWithAPoint) {
    LocaleSettings comma;
    comma.decimalSeparator = ",";
    SetCurrentLocale(comma);
    WriteIni("[TrayIcon]\nEnabled=1,5\n[Form]\nAutoHide=0,0\nAutoCenter=0.0\n"
             "AlwaysOnTop=0.25\n");
    const SettingsOptions o = LoadOptions(Services());
    EXPECT_TRUE(o.trayIcon);
    EXPECT_FALSE(o.autoHide);
    EXPECT_FALSE(o.autoCenter);
    EXPECT_TRUE(o.alwaysOnTop);
}

TEST_F(OptionsTest, ReadsEveryKeyWithItsRule) {
    LocaleSettings comma;
    comma.decimalSeparator = ",";
    SetCurrentLocale(comma);
    WriteIni("[Global]\nLanguage=1031\nHotKey=oops\n"
             "[Form]\nAlwaysVisible=True\nAutoHide=0\nAlwaysOnTop=-1\nAutoCenter=False\n"
             "ShowOnDesktop=1\n"
             "[Catalog]\nAutoUpdate=false\nInterval=+60\nLastRebuild=45678,25\n"
             "[Portable]\nEnable=-1\n");
    const SettingsOptions o = LoadOptions(Services());
    EXPECT_EQ(o.language, 1031);
    EXPECT_EQ(o.hotKey, 32800);
    EXPECT_TRUE(o.alwaysVisible);
    EXPECT_FALSE(o.autoHide);
    EXPECT_TRUE(o.alwaysOnTop);
    EXPECT_FALSE(o.autoCenter);
    EXPECT_TRUE(o.showOnDesktop);
    EXPECT_FALSE(o.trayIcon); // missing: false
    EXPECT_FALSE(o.catalog.autoUpdate);
    EXPECT_EQ(o.catalog.interval, 60);
    EXPECT_EQ(o.catalog.lastRebuild, 45678.25);
    // Whether the copy is portable is where its file lies, not what the file says.
    EXPECT_FALSE(o.portable);
}

TEST(OptionValues, IntegersDatesAndPathLines) {
    EXPECT_EQ(ParseOptionInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseOptionInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseOptionInteger("12a"), std::nullopt);
    EXPECT_EQ(ParseOptionInteger("+-1"), std::nullopt);
    EXPECT_EQ(ParseOptionInteger("0x10"), std::nullopt);
    EXPECT_EQ(ParseOptionDateTime("45678.5", "."), 45678.5);
    EXPECT_EQ(ParseOptionDateTime("45678.5", ","), std::nullopt); // not the user's format
    EXPECT_EQ(ParseOptionDateTime("-1,5E2", ","), -150);
    EXPECT_EQ(ParseOptionDateTime("1E999", "."), std::nullopt);
    EXPECT_EQ(ParseOptionDateTime("nan", "."), std::nullopt);
    EXPECT_EQ(ParseOptionDateTime(",5", ","), 0.5);
    EXPECT_EQ(ParseOptionDateTime("", ","), std::nullopt);
    EXPECT_EQ(FormatOptionDateTime(45678.5234375, ","), "45678,5234375");
    EXPECT_EQ(FormatOptionDateTime(0, "."), "0");
    EXPECT_EQ(FormatOptionDateTime(46000.123456789012345, "."), "46000.123456789");
    EXPECT_EQ(FormatOptionDateTime(0.00001, "."), "1E-5");
    EXPECT_EQ(FormatOptionDateTime(1e20, "."), "1E20");
    // Fifteen significant digits keep a moment to well under a millisecond.
    for (const double v : {45678.5234375, 46000.99999999, 46001.0 / 3})
        EXPECT_NEAR(*ParseOptionDateTime(FormatOptionDateTime(v, ","), ","), v, 1e-9);

    const auto empty = ParseCatalogPathLine("%DESKTOP%||2|False|True");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->mask, "");
    EXPECT_EQ(empty->depth, 2);
    EXPECT_FALSE(empty->includeDirectories);
    const auto bad = ParseCatalogPathLine("C:\\x|*.*|deep|maybe|");
    EXPECT_FALSE(bad); // a trailing separator gives four fields
    const auto fallback = ParseCatalogPathLine("C:\\x|*.*|deep|maybe|perhaps");
    ASSERT_TRUE(fallback);
    EXPECT_EQ(fallback->depth, UnlimitedDepth);
    EXPECT_TRUE(fallback->includeDirectories);
    EXPECT_TRUE(fallback->active);
    EXPECT_FALSE(ParseCatalogPathLine("C:\\a|b|*.*|-1|True|True"));
}

struct PathsCase {
    const char* label;
    const char* section;
    std::vector<std::string> expected; // paths; "defaults" for the ten defaults
};

class OptionsPaths : public OptionsTest, public ::testing::WithParamInterface<PathsCase> {};

TEST_P(OptionsPaths, CountDecidesHowPathLinesAreRead) {
    WriteIni(std::string("[Paths]\n") + GetParam().section);
    const SettingsOptions o = LoadOptions(Services());
    std::vector<std::string> got;
    if (o.catalog.paths == DefaultCatalogPaths())
        got.push_back("defaults");
    else
        for (const auto& p : o.catalog.paths)
            got.push_back(p.path);
    EXPECT_EQ(got, GetParam().expected) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionsPaths,
    ::testing::Values(
        PathsCase{"no count", "Path_1=C:\\a|*.*|-1|False|True\n", {"defaults"}},
        PathsCase{"empty count", "Count=\nPath_1=C:\\a|*.*|-1|False|True\n", {"defaults"}},
        PathsCase{"zero", "Count=0\nPath_1=C:\\a|*.*|-1|False|True\n", {}},
        PathsCase{"unreadable count", "Count=two\nPath_1=C:\\a|*.*|-1|False|True\n", {}},
        PathsCase{"gap",
                  "Count=3\nPath_1=C:\\a|*.*|-1|False|True\nPath_3=C:\\c|*.*|0|False|True\n",
                  {"C:\\a", "C:\\c"}},
        PathsCase{"beyond count",
                  "Count=1\nPath_2=C:\\b|*.*|-1|False|True\nPath_1=C:\\a|*|0|True|False\n",
                  {"C:\\a"}},
        PathsCase{"malformed and odd names",
                  "Count=6\nPath_1=C:\\a|*.*|-1|False\nPath_01=C:\\z|*.*|-1|False|True\n"
                  "path_2=C:\\b|*.*|-1|False|True\nPath_3=\nPath_4=C:\\x|y|z|*.*|-1|False|True\n"
                  "PATH_2=C:\\dup|*.*|-1|False|True\nPath_6=C:\\f||2|False|True\n",
                  {"C:\\b", "C:\\f"}},
        PathsCase{"huge count",
                  "Count=2147483647\nPath_2147483647=C:\\last|*.*|-1|False|True\n",
                  {"C:\\last"}}));

struct QuickCase {
    const char* label;
    const char* section;
    QuickItems expected;
};

class OptionsQuick : public OptionsTest, public ::testing::WithParamInterface<QuickCase> {};

TEST_P(OptionsQuick, CountAndTheSeparatorDecideWhichPinnedEntriesAreRead) {
    WriteIni(std::string("[Quick]\n") + GetParam().section + "[Clipboard]\nKeep=1\n");
    const SettingsOptions o = LoadOptions(Services());
    EXPECT_EQ(o.quick, GetParam().expected) << GetParam().label;
    EXPECT_TRUE(o.keepClipboardHistory);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionsQuick,
    ::testing::Values(
        QuickCase{"no count", "Item_1=C:\\a.exe|A\n", {}},
        QuickCase{"in key order with gaps",
                  "Count=4\nItem_4=C:\\d\\|\nItem_1=C:\\a.exe|Alpha\nItem_3=\n",
                  {{"C:\\a.exe", "Alpha"}, {"C:\\d\\", ""}}},
        QuickCase{"beyond count", "Count=1\nItem_1=C:\\a|A\nItem_2=C:\\b|B\n", {{"C:\\a", "A"}}},
        QuickCase{"malformed lines skipped",
                  "Count=5\nItem_1=C:\\a\nItem_2=|name\nItem_3=C:\\c|x|y\nItem_04=C:\\z|Z\n"
                  "item_5=C:\\e.txt|E\n",
                  {{"C:\\e.txt", "E"}}}));

TEST_F(OptionsTest, PinnedEntriesAndTheClipboardChoiceSurviveASave) {
    SettingsOptions o = DefaultOptions(Services());
    o.quick = {{"C:\\Tools\\a.exe", "A|B"}, {"C:\\Docs\\", ""}};
    o.keepClipboardHistory = true;
    ASSERT_TRUE(SaveOptions(o, Services()).Ok());
    EXPECT_NE(IniText().find("[Quick]\r\nCount=2\r\nItem_1=C:\\Tools\\a.exe|A B\r\n"
                             "Item_2=C:\\Docs\\|\r\n[Clipboard]\r\nKeep=1\r\n"),
              std::string::npos)
        << IniText();
    const SettingsOptions back = LoadOptions(Services());
    EXPECT_EQ(back.quick, (QuickItems{{"C:\\Tools\\a.exe", "A B"}, {"C:\\Docs\\", ""}}));
    EXPECT_TRUE(back.keepClipboardHistory);
    // A shorter list later: the entries beyond the new count are not read back.
    o.quick.resize(1);
    o.keepClipboardHistory = false;
    ASSERT_TRUE(SaveOptions(o, Services()).Ok());
    EXPECT_EQ(LoadOptions(Services()).quick.size(), 1u);
    EXPECT_FALSE(LoadOptions(Services()).keepClipboardHistory);
}

// Many keys in reverse order: reading must neither loop up to Count nor search the section
// once per key (the benchmarks time a million).
TEST_F(OptionsTest, ManyPathKeysLoadInOrder) {
    std::string text = "[Paths]\nCount=200000\n";
    for (int i = 200000; i >= 1; --i)
        text += "Path_" + std::to_string(i) + "=C:\\p" + std::to_string(i) + "|*.*|-1|False|True\n";
    WriteIni(text);
    const SettingsOptions o = LoadOptions(Services());
    ASSERT_EQ(o.catalog.paths.size(), 200000u);
    EXPECT_EQ(o.catalog.paths.front().path, "C:\\p1");
    EXPECT_EQ(o.catalog.paths.back().path, "C:\\p200000");
}

TEST_F(OptionsTest, SaveWritesTheTableInOrder) {
    SettingsOptions o = DefaultOptions(Services());
    o.language = 1031;
    o.trayIcon = true;
    o.catalog.lastRebuild = 45678.5;
    o.catalog.paths.resize(2);
    o.catalog.paths[1].includeDirectories = true;
    o.catalog.paths[1].depth = 3;
    ASSERT_TRUE(SaveOptions(o, Services()).Ok());
    EXPECT_EQ(IniText(), "[Global]\r\nLanguage=1031\r\nHotKey=32800\r\n"
                         "[Form]\r\nAlwaysVisible=False\r\nAutoHide=True\r\nAlwaysOnTop=False\r\n"
                         "AutoCenter=True\r\nShowOnDesktop=False\r\n"
                         "[TrayIcon]\r\nEnabled=-1\r\n"
                         "[Catalog]\r\nAutoUpdate=True\r\nInterval=3600\r\nLastRebuild=45678.5\r\n"
                         "[Paths]\r\nCount=2\r\nPath_1=%STARTMENU%|*.*|-1|False|True\r\n"
                         "Path_2=%STARTMENU_COMMON%|*.*|3|True|True\r\n"
                         "[Portable]\r\nEnable=0\r\n"
                         "[Quick]\r\nCount=0\r\n[Clipboard]\r\nKeep=0\r\n");
    const SettingsOptions back = LoadOptions(Services());
    EXPECT_EQ(back.language, 1031);
    EXPECT_TRUE(back.trayIcon);
    EXPECT_EQ(back.catalog.lastRebuild, 45678.5);
    EXPECT_EQ(back.catalog.paths, o.catalog.paths);
}

TEST_F(OptionsTest, SaveKeepsUnknownLinesAndLongerEarlierLists) {
    WriteIni(
        "; written by "
        "hand\n[Paths]\nCount=5\nPath_1=a|b|1|True|True\nPath_2=x\nPath_3=C:\\3|*|0|False|True\n"
        "Path_4=C:\\4|*|0|False|True\nPath_5=C:\\5|*|0|False|True\nMine=kept\n\n[Extra]\nz=1\n");
    SettingsOptions o = DefaultOptions(Services());
    o.catalog.paths.resize(2);
    ASSERT_TRUE(SaveOptions(o, Services()).Ok());
    const std::string text = IniText();
    EXPECT_EQ(text.rfind("; written by hand\r\n[Paths]\r\nCount=2\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("Path_5=C:\\5|*|0|False|True\r\nMine=kept\r\n\r\n[Extra]\r\nz=1\r\n"),
              std::string::npos);
    EXPECT_EQ(LoadOptions(Services()).catalog.paths.size(), 2u);
}

TEST_F(OptionsTest, FailedSaveSaysSoAndKeepsTheOldFileWhole) {
    WriteIni("[Global]\nLanguage=7\n");
    disk.failWrites = true;
    SettingsOptions o = DefaultOptions(Services());
    EXPECT_EQ(SaveOptions(o, Services()).Error(), std::string("Unable to write to ") + kIni);
    EXPECT_EQ(*disk.Content(kIni), "[Global]\nLanguage=7\n");

    // A file that exists but cannot be read is never replaced by one holding only our keys.
    disk.failWrites = false;
    disk.MakeUnreadable(kIni);
    EXPECT_EQ(SaveOptions(o, Services()).Error(), std::string("Unable to write to ") + kIni);
    EXPECT_EQ(*disk.Content(kIni), "[Global]\nLanguage=7\n");
    EXPECT_EQ(LoadOptions(Services()).language, 1);
}

TEST_F(OptionsTest, AFailedSaveIsReportedInTheLanguageShown) {
    struct EnglishAfterwards {
        ~EnglishAfterwards() { ClearTranslations(); }
    } english;
    const std::vector<TranslatedText> german{{107, "In %s kann nicht geschrieben werden"}};
    SetTranslations(1031, german);
    disk.failWrites = true;
    EXPECT_EQ(SaveOptions(DefaultOptions(Services()), Services()).Error(),
              std::string("In ") + kIni + " kann nicht geschrieben werden");
    // The same text wherever a file could not be written.
    EXPECT_EQ(UnableToWriteText("C:\\a%sb\\Orvan_Catalog.xml"),
              "In C:\\a%sb\\Orvan_Catalog.xml kann nicht geschrieben werden");
}

TEST_F(OptionsTest, WithoutAFolderLoadGivesDefaultsAndSaveWritesNothing) {
    MemoryFileSystem bare; // no application-data folder, and none can be made
    bare.failCreateFolders = true;
    const OptionsServices services{folders, bare, bare, "Orvan.exe"};
    EXPECT_FALSE(OpenOptionsStore(DefaultOptions(services), services));
    EXPECT_EQ(LoadOptions(services).catalog.paths, DefaultCatalogPaths());
    EXPECT_TRUE(SaveOptions(DefaultOptions(services), services).Ok());
    EXPECT_FALSE(bare.FileExists(kIni));
}

class FakeGeometry final : public OptionsGeometryAccess {
public:
    WindowGeometry geometry{10, 20, 300, 400};
    int applied = 0;
    WindowGeometry ReadGeometry() const override { return geometry; }
    void ApplyGeometry(const WindowGeometry& g) override {
        geometry = g;
        ++applied;
    }
};

TEST_F(OptionsTest, GeometryTravelsOnlyWhileAWindowIsRegistered) {
    WriteIni("[Form]\nTop=5\nWidth=wide\n");
    FakeGeometry window;
    RegisterGeometryAccess(&window);
    LoadOptions(Services());
    EXPECT_EQ(window.applied, 1);
    EXPECT_EQ(window.geometry.top, 5);
    EXPECT_EQ(window.geometry.left, 20);
    EXPECT_EQ(window.geometry.width, 300);
    WriteIni("");
    EXPECT_TRUE(SaveOptions(DefaultOptions(Services()), Services()).Ok());
    RegisterGeometryAccess(nullptr);
    EXPECT_NE(
        IniText().find("ShowOnDesktop=False\r\nTop=5\r\nLeft=20\r\nWidth=300\r\nHeight=400\r\n"),
        std::string::npos);

    disk.AddFile(kIni, "");
    ASSERT_TRUE(SaveOptions(DefaultOptions(Services()), Services()).Ok());
    EXPECT_EQ(IniText().find("\nTop="), std::string::npos);
}

TEST(ApplyOptions, MakesTheRecordCurrentAndNotifies) {
    std::vector<std::string> calls;
    const int listener = AddApplyListener([&](const SettingsOptions& o) {
        calls.push_back("window " + std::to_string(o.alwaysOnTop));
    });
    const int second = AddApplyListener(
        [&](const SettingsOptions& o) { calls.push_back("tray " + std::to_string(o.trayIcon)); });
    SetHotKeyRegistration(
        [&](std::int32_t key) { calls.push_back("hot key " + std::to_string(key)); });
    SettingsOptions o;
    o.alwaysOnTop = true;
    o.hotKey = 0x4041;
    CatalogItem item;
    item.path = "C:\\x";
    o.catalog.items = CatalogItems({item});
    ApplyOptions(o);
    EXPECT_EQ(calls, (std::vector<std::string>{"window 1", "tray 0", "hot key 16449"}));
    EXPECT_TRUE(CurrentOptions().catalog.items.SharesWith(o.catalog.items));
    RemoveApplyListener(listener);
    RemoveApplyListener(second);
    SetHotKeyRegistration(nullptr);
    calls.clear();
    ApplyOptions(SettingsOptions());
    EXPECT_TRUE(calls.empty());
}

TEST(OptionFileNames, ExtensionAndFolderParts) {
    EXPECT_EQ(ChangeFileExtension("Orvan.exe", ".ini"), "Orvan.ini");
    EXPECT_EQ(ChangeFileExtension("C:\\a.b\\Orvan", ".ini"), "C:\\a.b\\Orvan.ini");
    EXPECT_EQ(ChangeFileExtension("C:\\x\\Orvan.ini", "_Catalog.xml"), "C:\\x\\Orvan_Catalog.xml");
    EXPECT_EQ(ExtractFilePath("C:\\a\\b.ini"), "C:\\a\\");
    EXPECT_EQ(ExtractFilePath("b.ini"), "");
}

} // namespace
} // namespace orvan
