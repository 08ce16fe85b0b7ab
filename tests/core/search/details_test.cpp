// The details area, Tab completion and Ctrl+Backspace as the run page uses them.
#include "core/search/run_details.h"

#include "core/search/input_fakes.h"
#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

using testing::FakeVersionInfo;
using testing::FakeVolumes;
using testing::FileFacts;
using testing::MemoryFileSystem;

class DetailsTest : public ::testing::Test {
protected:
    DetailsTest() {
        files_.AddFile("C:\\Tools\\x.exe", FileFacts{.size = 2048});
        volumes_.disks[3] = DiskFigures{1 << 30, 1 << 20};
        services_ = FileInfoServices{&files_, &versions_, &volumes_};
        AddRunAvailable(list_, "Tools", "C:\\Tools", {}, RunKind::Folder);
        AddRunAvailable(list_, "x.exe", "C:\\Tools\\x.exe", {}, RunKind::File);
        AddRunAvailable(list_, "Calculator", "5", "5\r\rhex\rsize", RunKind::Calculator);
        AddRunAvailable(list_, "DateTime", "d", "d\r\rMonday\rspan\rWeek 1", RunKind::DateTime);
        AddRunAvailable(list_, "x", "C:\\Tools\\x.exe", {}, RunKind::Catalog);
    }

    RunDetailsView View(std::optional<std::size_t> row, const LargeIconProbe& probe = {}) {
        return UpdateRunDetails("typed", list_, row, services_, probe);
    }

    MemoryFileSystem files_;
    FakeVersionInfo versions_;
    FakeVolumes volumes_;
    FileInfoServices services_;
    RunAvailableList list_;
};

TEST_F(DetailsTest, EmptyInputNoCandidateAndNoSelectionExplainThemselves) {
    const RunDetailsView prompt = UpdateRunDetails("", list_, 0, services_);
    EXPECT_EQ(prompt.image, RunImage::Prompt);
    EXPECT_EQ(prompt.text,
              "Type your question and press Enter.\r\rYou can enter file name, folder name, name "
              "of the program, mathematic expression, internet address or anything else.");
    EXPECT_FALSE(prompt.buttonsEnabled);
    EXPECT_FALSE(prompt.timerOn);

    const RunDetailsView none = UpdateRunDetails("zzz", RunAvailableList(), 0, services_);
    EXPECT_EQ(none, (RunDetailsView{RunImage::Error, "",
                                    "Bad command or file name. Please correct your input.", false,
                                    false}));

    const RunDetailsView unselected{RunImage::Error, "", "Bad command.", false, false};
    EXPECT_EQ(View(std::nullopt), unselected);
    EXPECT_EQ(View(5), unselected); // beyond the last row
}

TEST_F(DetailsTest, EachKindShowsItsImageTextButtonsAndTimer) {
    const RunDetailsView folder = View(0);
    EXPECT_EQ(folder.image, RunImage::Folder);
    EXPECT_EQ(folder.text, "C:\\Tools\\\r\rVolume label: \rDisk size: 1.00 GB\rDisk free: 1.00 MB");
    EXPECT_TRUE(folder.buttonsEnabled);
    EXPECT_FALSE(folder.timerOn);

    const RunDetailsView file = View(1);
    EXPECT_EQ(file.image, RunImage::File);
    EXPECT_TRUE(file.iconPath.empty()); // no icon of its own: image 2
    EXPECT_EQ(file.text.substr(0, file.text.find('\r', 2)), "\r\rFile name: C:\\Tools\\x.exe");
    EXPECT_TRUE(file.buttonsEnabled);

    EXPECT_EQ(View(2), (RunDetailsView{RunImage::Calculator, "", "5\r\rhex\rsize", false, false}));
    EXPECT_EQ(View(3),
              (RunDetailsView{RunImage::DateTime, "", "d\r\rMonday\rspan\rWeek 1", false, true}));

    const RunDetailsView catalog =
        View(4, [](const std::string& path) { return path == "C:\\Tools\\x.exe"; });
    EXPECT_EQ(catalog.image, RunImage::File);
    EXPECT_EQ(catalog.iconPath, "C:\\Tools\\x.exe"); // the shell's large icon as a picture
    EXPECT_TRUE(catalog.buttonsEnabled);
}

TEST_F(DetailsTest, TabCompletesFoldersAndFilesOnly) {
    EXPECT_EQ(CompleteSelected(list_, 0), (InputEdit{"C:\\Tools\\", 9}));
    EXPECT_EQ(CompleteSelected(list_, 1), (InputEdit{"C:\\Tools\\x.exe", 14}));
    EXPECT_EQ(CompleteSelected(list_, 2), std::nullopt);
    EXPECT_EQ(CompleteSelected(list_, 3), std::nullopt);
    EXPECT_EQ(CompleteSelected(list_, 4), std::nullopt); // catalog entries stay as they are
    EXPECT_EQ(CompleteSelected(list_, std::nullopt), std::nullopt);
    EXPECT_EQ(CompleteSelected(list_, 9), std::nullopt);

    RunAvailableList roots;
    AddRunAvailable(roots, "c:\\", "c:\\", {}, RunKind::Folder);
    AddRunAvailable(roots, "\xC3\xA9t\xC3\xA9", "C:\\\xC3\xA9t\xC3\xA9", {}, RunKind::Folder);
    EXPECT_EQ(CompleteSelected(roots, 0), (InputEdit{"c:\\", 3})); // already ends in one
    // The caret counts UTF-16 code units, as the edit control does.
    EXPECT_EQ(CompleteSelected(roots, 1), (InputEdit{"C:\\\xC3\xA9t\xC3\xA9\\", 7}));
}

TEST(CutPathComponent, ClimbsThePathOneFolderAtATime) {
    std::string text = "C:\\Tools\\Bin\\";
    std::size_t caret = text.size();
    const std::vector<std::string> steps{"C:\\Tools\\", "C:\\", ""};
    for (const std::string& expected : steps) {
        const std::optional<InputEdit> cut = CutPathComponent(text, caret);
        ASSERT_TRUE(cut);
        EXPECT_EQ(cut->text, expected);
        EXPECT_EQ(cut->caret, expected.size());
        text = cut->text;
        caret = cut->caret;
    }
    EXPECT_EQ(CutPathComponent("", 0), std::nullopt);
}

TEST(CutPathComponent, KeepsWhatFollowsTheCaret) {
    // Caret after "C:\Tools\Bi": the partial name goes, "n\x.exe" stays.
    EXPECT_EQ(CutPathComponent("C:\\Tools\\Bin\\x.exe", 11), (InputEdit{"C:\\Tools\\n\\x.exe", 9}));
    // Caret just after a backslash: that backslash and the name before it go.
    EXPECT_EQ(CutPathComponent("C:\\Tools\\Bin", 9), (InputEdit{"C:\\Bin", 3}));
    EXPECT_EQ(CutPathComponent("abc", 0), std::nullopt);        // nothing before the caret
    EXPECT_EQ(CutPathComponent("abc", 99), (InputEdit{"", 0})); // a caret past the end
    EXPECT_EQ(CutPathComponent("\\\\", 2), (InputEdit{"\\", 1}));
}

TEST(CutPathComponent, CountsUtf16CodeUnits) {
    // "C:\é\𝄞x": é is one code unit, the clef two.
    const std::string text = "C:\\\xC3\xA9\\\xF0\x9D\x84\x9Ex";
    EXPECT_EQ(CutPathComponent(text, 8), (InputEdit{"C:\\\xC3\xA9\\", 5}));
    EXPECT_EQ(CutPathComponent(text, 5), (InputEdit{"C:\\\xF0\x9D\x84\x9Ex", 3}));
    // The UTF-16 form keeps a lone surrogate untouched.
    const std::u16string lone = u"a\\\xD800";
    EXPECT_EQ(CutPathComponent(lone, 3), (InputEdit16{u"a\\", 2}));
    EXPECT_EQ(CutPathComponent(std::u16string_view(u"x\\\xD800y"), 2),
              (InputEdit16{u"\xD800y", 0}));
}

} // namespace
} // namespace orvan
