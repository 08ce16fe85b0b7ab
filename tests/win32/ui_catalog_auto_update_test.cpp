// The resident launcher keeps its catalog current: a file created in a catalog folder is
// found by the search without a rebuild by hand, the typed text and the selected row stay,
// and the new catalog is saved.
#include "ui_fixture.h"

#include <algorithm>

namespace orvan::testing {
namespace {

class CatalogAutoUpdateTest : public LauncherTest {
protected:
    std::string Apps() const { return temp_.Path("Apps"); }

    void StartWith(bool autoUpdate) {
        temp_.Write(Apps() + "\\alpha-tool.exe", "x");
        WriteOptions(std::string("[Catalog]\r\nAutoUpdate=") + (autoUpdate ? "True" : "False") +
                     "\r\n[Paths]\r\nCount=1\r\nPath_1=" + Apps() + "|*.exe|-1|False|True\r\n");
        WriteCatalog({{Apps() + "\\alpha-tool.exe", "alpha-tool.exe", 0}});
        Start();
        CurrentOptions().autoHide = false;
        Search().ShowSearch();
        Pump();
    }

    // Pumps until the rows are as wanted, for at most 15 s: the watch, the quiet period
    // and the rebuild take their time on a busy machine.
    bool WaitForRows(const std::vector<std::wstring>& wanted) {
        for (int i = 0; i < 1500 && Rows() != wanted; ++i)
            Pump(10);
        return Rows() == wanted;
    }
};

TEST_F(CatalogAutoUpdateTest, AFileCreatedInACatalogFolderIsFoundWithoutARebuildByHand) {
    StartWith(true);
    ASSERT_NE(Search().AutoUpdate(), nullptr);
    ASSERT_TRUE(Search().AutoUpdate()->Active());
    SetInput(L"tool");
    ASSERT_EQ(Rows(), std::vector<std::wstring>{L"alpha-tool.exe"});
    ::SendMessageW(Run().ListBox(), LB_SETCURSEL, 0, 0);

    temp_.Write(Apps() + "\\sub\\beta-tool.exe", "x"); // in a subfolder created now
    ASSERT_TRUE(WaitForRows({L"alpha-tool.exe", L"beta-tool.exe"})) << Rows().size();
    EXPECT_EQ(Text(Run().Edit()), L"tool");
    EXPECT_EQ(Run().SelectedRowNumber(), 0);

    // The selected row stays selected where it moves.
    ::SendMessageW(Run().ListBox(), LB_SETCURSEL, 1, 0);
    temp_.Write(Apps() + "\\a-tool.exe", "x");
    ASSERT_TRUE(WaitForRows({L"a-tool.exe", L"alpha-tool.exe", L"beta-tool.exe"}));
    EXPECT_EQ(Run().SelectedRowNumber(), 2);

    // A deleted file leaves the catalog. The catalog file got the first new catalog at once
    // (written on a thread of its own); what follows within the minute waits for the next
    // save, so that a folder that keeps changing does not keep the disk busy.
    ::DeleteFileW(win32::Wide(Apps() + "\\alpha-tool.exe").c_str());
    ASSERT_TRUE(WaitForRows({L"a-tool.exe", L"beta-tool.exe"}));
    Search().WaitForCatalogSave();
    const std::string saved = temp_.Read(CatalogFileName(OptionsFile()));
    EXPECT_NE(saved.find("beta-tool.exe"), std::string::npos);
    EXPECT_EQ(Search().AutoUpdate()->SavesStarted(), 1u);
    EXPECT_GT(CurrentOptions().catalog.lastRebuild, 0.0);
}

// A renamed folder is reported by its two names alone; what was inside moves with it.
TEST_F(CatalogAutoUpdateTest, TheEntriesOfARenamedFolderFollowIt) {
    StartWith(true);
    temp_.Write(Apps() + "\\old\\deep\\beta-tool.exe", "x");
    const auto paths = [] {
        std::vector<std::string> listed;
        for (const CatalogItem& item : CurrentOptions().catalog.items)
            listed.push_back(item.path);
        return listed;
    };
    const auto waitForPaths = [&](const std::vector<std::string>& wanted) {
        for (int i = 0; i < 1500 && paths() != wanted; ++i)
            Pump(10);
        return paths() == wanted;
    };
    ASSERT_TRUE(waitForPaths({Apps() + "\\alpha-tool.exe", Apps() + "\\old\\deep\\beta-tool.exe"}));
    ASSERT_TRUE(
        ::MoveFileW(win32::Wide(Apps() + "\\old").c_str(), win32::Wide(Apps() + "\\new").c_str()));
    EXPECT_TRUE(waitForPaths({Apps() + "\\alpha-tool.exe", Apps() + "\\new\\deep\\beta-tool.exe"}))
        << paths().size();
}

TEST_F(CatalogAutoUpdateTest, OffTheCatalogStaysAsLoaded) {
    StartWith(false);
    EXPECT_FALSE(Search().AutoUpdate()->Active());
    SetInput(L"tool");
    temp_.Write(Apps() + "\\beta-tool.exe", "x");
    Pump(3000); // the quiet period and more: nothing may come
    EXPECT_EQ(Rows(), std::vector<std::wstring>{L"alpha-tool.exe"});
}

TEST_F(CatalogAutoUpdateTest, ACatalogFolderThatDisappearsEndsItsWatchWithoutAnError) {
    StartWith(true);
    SetInput(L"tool");
    temp_.Write(Apps() + "\\beta-tool.exe", "x");
    ASSERT_TRUE(WaitForRows({L"alpha-tool.exe", L"beta-tool.exe"}));

    ::DeleteFileW(win32::Wide(Apps() + "\\alpha-tool.exe").c_str());
    ::DeleteFileW(win32::Wide(Apps() + "\\beta-tool.exe").c_str());
    ::RemoveDirectoryW(win32::Wide(Apps()).c_str());
    EXPECT_TRUE(WaitForRows({}));
    Pump(100);
    EXPECT_TRUE(Search().AutoUpdate()->Active());
}

} // namespace
} // namespace orvan::testing

namespace orvan::testing {
namespace {

using CatalogFileTest = LauncherTest;

// Another program (a backup tool, an editor) holds the catalog file open at start-up: its
// entries cannot be read, so the close command keeps the file as it is instead of writing
// the empty catalog over it, and the user reads why.
TEST_F(CatalogFileTest, AFileHeldByAnotherProgramAtStartSurvivesTheCloseCommand) {
    WriteCatalog({{temp_.Path("held.exe"), "held", 7}});
    const std::string catalogFile = CatalogFileName(OptionsFile());
    const std::string before = temp_.Read(catalogFile);
    const HANDLE held = ::CreateFileW(win32::Wide(catalogFile).c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Start(); // waits for the load and its retries
    EXPECT_TRUE(CurrentOptions().catalog.items.empty());
    EXPECT_FALSE(App().Catalog().CatalogSaveAllowed());
    const std::vector<std::string>& lines = Search().Robot().Memo().Lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line.find("Unable to read") != std::string::npos;
                            }),
              1);

    CurrentOptions().autoHide = false;
    Search().ShowSearch();
    Pump();
    Press(Run().Edit(), VK_F4, false, true);
    EXPECT_TRUE(QuitPosted());
    ::CloseHandle(held);
    EXPECT_EQ(temp_.Read(catalogFile), before);
    EXPECT_NE(IniText(temp_.Read(OptionsFile())).find("[Form]"), std::string::npos)
        << "options saved";
}

} // namespace
} // namespace orvan::testing
