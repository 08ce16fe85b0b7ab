#include "core/pages/notes.h"

#include "core/base/utf.h"
#include "core/config/options.h"

#include <memory>

namespace orvan {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool ValidUtf8WithoutNul(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const char32_t c = DecodeUtf8(text, pos);
        if (c == 0)
            return false;
        // DecodeUtf8 gives U+FFFD for a bad sequence; a real U+FFFD takes three bytes.
        if (c == 0xFFFD && text.substr(start, 3) != "\xEF\xBF\xBD")
            return false;
    }
    return true;
}

} // namespace

std::string NotesFileName(std::string_view optionsFileName) {
    return ChangeFileExtension(optionsFileName, "_Notes.txt");
}

std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

NotesContent ReadNotes(const FileContent& file) {
    switch (file.status) {
    case FileContent::Status::Missing:
        return {};
    case FileContent::Status::Unreadable:
        return {NotesState::Unreadable, {}};
    case FileContent::Status::Read:
        break;
    }
    if (file.bytes.size() > kNotesFileLimit)
        return {NotesState::TooLarge, {}};
    std::string_view text = file.bytes;
    if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark)
        text.remove_prefix(kUtf8Mark.size());
    if (!ValidUtf8WithoutNul(text))
        return {NotesState::Unreadable, {}};
    return {NotesState::Editable, WithCrLf(text)};
}

NotesContent LoadNotes(const FileStorePort& files, const std::string& path) {
    FileContent::Status status = FileContent::Status::Missing;
    const std::unique_ptr<FileReader> reader = files.OpenFile(path, status);
    if (!reader)
        return ReadNotes(
            {status == FileContent::Status::Read ? FileContent::Status::Unreadable : status, {}});
    if (reader->SizeHint() > kNotesFileLimit)
        return {NotesState::TooLarge, {}};
    std::string bytes;
    char buffer[16384];
    while (bytes.size() <= kNotesFileLimit) {
        const std::size_t got = reader->Read(buffer, sizeof buffer);
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    if (reader->Failed())
        return {NotesState::Unreadable, {}};
    return ReadNotes({FileContent::Status::Read, std::move(bytes)});
}

NotesSaveRules::NotesSaveRules(const NotesContent& loaded) : state_(loaded.state) {
    if (state_ == NotesState::Editable)
        written_ = loaded.text;
}

std::optional<std::string> NotesSaveRules::TakeSave(const std::string& text) {
    if (ReadOnly() || text.size() > kNotesFileLimit || (written_ && *written_ == text))
        return std::nullopt;
    written_ = text;
    return text;
}

void NotesSaveRules::SaveFailed() {
    written_.reset();
}

} // namespace orvan
