#pragma once
// The Notes page's file and when it is written: UTF-8 beside the options file, read once
// at start, written (whole, crash-safely) only when the text differs from what the file
// holds. A file that is too large or cannot be read as text is never written over: the page
// shows it read-only and says why.
#include "core/ports/file_store.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvan {

inline constexpr std::size_t kNotesFileLimit = 1024 * 1024; // bytes

// The options file name with its extension replaced: "C:\x\Orvan.ini" -> "C:\x\Orvan_Notes.txt".
std::string NotesFileName(std::string_view optionsFileName);

enum class NotesState {
    Editable,   // missing or read as UTF-8 text
    TooLarge,   // over kNotesFileLimit
    Unreadable, // the file could not be read, or is no UTF-8 text (it would come back changed)
};

struct NotesContent {
    NotesState state = NotesState::Editable;
    // The text as the edit control shows it: every line break CR LF. Empty unless editable.
    std::string text;
};

// Decides from the file's content: a UTF-8 byte-order mark is dropped; invalid UTF-8 or a
// NUL character makes the file unreadable, since showing and saving it would change it.
NotesContent ReadNotes(const FileContent& file);

// Reads the notes file as ReadNotes decides, without reading more than the limit and one
// byte of a larger file.
NotesContent LoadNotes(const FileStorePort& files, const std::string& path);

// Lone CR and lone LF become CR LF.
std::string WithCrLf(std::string_view text);

class NotesSaveRules {
public:
    explicit NotesSaveRules(const NotesContent& loaded);

    NotesState State() const { return state_; }
    bool ReadOnly() const { return state_ != NotesState::Editable; }

    // The bytes to write for the text shown now, when it is to be written: never while
    // read-only, never when it equals what was last written or read, and never over the
    // limit (which the edit control's own limit keeps it under). The text counts as
    // written from here on.
    std::optional<std::string> TakeSave(const std::string& text);
    // The write handed out last failed: the next TakeSave writes again whatever the text.
    void SaveFailed();

private:
    NotesState state_;
    std::optional<std::string> written_; // nothing: unknown, write at the next chance
};

// The edit control's limit in UTF-16 code units: a character takes at most three bytes of
// UTF-8 per code unit, so a full control still fits the file's limit.
inline constexpr std::size_t kNotesEditLimit = kNotesFileLimit / 3;

} // namespace orvan
