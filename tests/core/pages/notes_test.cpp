#include "core/pages/notes.h"

#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

#include <string>

namespace orvan {
namespace {

FileContent Read(std::string bytes) {
    FileContent file;
    file.status = FileContent::Status::Read;
    file.bytes = std::move(bytes);
    return file;
}

FileContent Without(FileContent::Status status) {
    FileContent file;
    file.status = status;
    return file;
}

struct ReadCase {
    const char* label;
    FileContent file;
    NotesState state;
    std::string text;
};

class NotesRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(NotesRead, DecidesWhetherTheFileCanBeShownAndSavedBack) {
    const NotesContent content = ReadNotes(GetParam().file);
    EXPECT_EQ(content.state, GetParam().state) << GetParam().label;
    EXPECT_EQ(content.text, GetParam().text) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotesRead,
    ::testing::Values(ReadCase{"missing", Without(FileContent::Status::Missing),
                               NotesState::Editable, ""},
                      ReadCase{"unreadable", Without(FileContent::Status::Unreadable),
                               NotesState::Unreadable, ""},
                      ReadCase{"text", Read("a\r\nb"), NotesState::Editable, "a\r\nb"},
                      ReadCase{"lone breaks become CR LF", Read("a\nb\rc\r\n"),
                               NotesState::Editable, "a\r\nb\r\nc\r\n"},
                      ReadCase{"byte-order mark dropped", Read("\xEF\xBB\xBF\xE2\x82\xAC"),
                               NotesState::Editable, "\xE2\x82\xAC"},
                      ReadCase{"a real replacement character", Read("\xEF\xBF\xBD"),
                               NotesState::Editable, "\xEF\xBF\xBD"},
                      ReadCase{"not UTF-8", Read("caf\xE9"), NotesState::Unreadable, ""},
                      ReadCase{"UTF-16",
                               Read(std::string("\xFF\xFE"
                                                "a\0",
                                                4)),
                               NotesState::Unreadable, ""},
                      ReadCase{"NUL", Read(std::string("a\0b", 3)), NotesState::Unreadable, ""},
                      ReadCase{"at the limit", Read(std::string(kNotesFileLimit, 'x')),
                               NotesState::Editable, std::string(kNotesFileLimit, 'x')},
                      ReadCase{"over the limit", Read(std::string(kNotesFileLimit + 1, 'x')),
                               NotesState::TooLarge, ""}));

TEST(NotesFile, LiesBesideTheOptions) {
    EXPECT_EQ(NotesFileName("C:\\x\\Orvan.ini"), "C:\\x\\Orvan_Notes.txt");
}

TEST(NotesFile, LoadingReadsWhatTheRulesDecideOn) {
    testing::MemoryFileSystem disk;
    disk.AddFolder("C:\\x");
    const std::string path = "C:\\x\\Orvan_Notes.txt";
    EXPECT_EQ(LoadNotes(disk, path).state, NotesState::Editable); // missing
    disk.AddFile(path, "a\nb");
    EXPECT_EQ(LoadNotes(disk, path).text, "a\r\nb");
    disk.AddFile(path, std::string(kNotesFileLimit + 1, 'x'));
    EXPECT_EQ(LoadNotes(disk, path).state, NotesState::TooLarge);
    disk.AddFile(path, "fine");
    disk.MakeUnreadable(path);
    EXPECT_EQ(LoadNotes(disk, path).state, NotesState::Unreadable);
}

TEST(NotesSave, WritesOnlyWhatChangedSinceTheLastWrite) {
    NotesSaveRules rules(ReadNotes(Read("kept")));
    EXPECT_FALSE(rules.ReadOnly());
    EXPECT_EQ(rules.TakeSave("kept"), std::nullopt); // as read: nothing to write
    EXPECT_EQ(rules.TakeSave("kept!"), "kept!");
    EXPECT_EQ(rules.TakeSave("kept!"), std::nullopt); // the timer and the exit both ask
    EXPECT_EQ(rules.TakeSave(""), "");                // everything deleted is a change too
    // A failed write is tried again with the next chance, even without a keystroke.
    rules.SaveFailed();
    EXPECT_EQ(rules.TakeSave(""), "");
    EXPECT_EQ(rules.TakeSave(""), std::nullopt);
}

TEST(NotesSave, AMissingFileIsWrittenOnlyOnceSomethingIsTyped) {
    NotesSaveRules rules(ReadNotes(Without(FileContent::Status::Missing)));
    EXPECT_EQ(rules.TakeSave(""), std::nullopt);
    EXPECT_EQ(rules.TakeSave("x"), "x");
}

struct ReadOnlyCase {
    const char* label;
    FileContent file;
    NotesState state;
};

class NotesReadOnly : public ::testing::TestWithParam<ReadOnlyCase> {};

TEST_P(NotesReadOnly, AFileThatCannotBeShownIsNeverWrittenOver) {
    NotesSaveRules rules(ReadNotes(GetParam().file));
    EXPECT_TRUE(rules.ReadOnly()) << GetParam().label;
    EXPECT_EQ(rules.State(), GetParam().state);
    EXPECT_EQ(rules.TakeSave("typed anyway"), std::nullopt);
    rules.SaveFailed();
    EXPECT_EQ(rules.TakeSave("typed anyway"), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotesReadOnly,
    ::testing::Values(ReadOnlyCase{"too large", Read(std::string(kNotesFileLimit + 1, 'x')),
                                   NotesState::TooLarge},
                      ReadOnlyCase{"unreadable", Without(FileContent::Status::Unreadable),
                                   NotesState::Unreadable},
                      ReadOnlyCase{"not UTF-8", Read("\xFF\xFE\xFD"), NotesState::Unreadable}));

TEST(NotesSave, ATextOverTheLimitIsNotWritten) {
    NotesSaveRules rules(ReadNotes(Without(FileContent::Status::Missing)));
    EXPECT_EQ(rules.TakeSave(std::string(kNotesFileLimit + 1, 'x')), std::nullopt);
    EXPECT_TRUE(rules.TakeSave(std::string(kNotesFileLimit, 'x')).has_value());
}

} // namespace
} // namespace orvan
