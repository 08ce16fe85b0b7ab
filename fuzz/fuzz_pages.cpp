// The pages' stored forms of any content: the clipboard history file, the notes file and
// the pinned entries' lines. Reading never crashes or hangs, keeps the history's limits, and
// what was read and written again reads back alike.
#include "core/pages/clipboard_history.h"
#include "core/pages/notes.h"
#include "core/pages/quick_list.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const orvan::ClipboardHistory history = orvan::ClipboardHistory::Parse(bytes);
    if (history.Entries().size() > orvan::kClipboardHistoryEntries)
        std::abort();
    for (const orvan::ClipboardEntry& entry : history.Entries())
        if (entry.text.empty() || entry.text.size() > orvan::kClipboardTextLimit)
            std::abort();
    if (orvan::ClipboardHistory::Parse(history.Serialize()).Entries() != history.Entries())
        std::abort();
    orvan::ClipboardHistory recorded = history;
    if (recorded.Record(bytes) &&
        recorded.Entries().front().text != orvan::CutUtf8(bytes, orvan::kClipboardTextLimit))
        std::abort();
    for (const orvan::ClipboardEntry& entry : history.Entries())
        (void)orvan::ClipboardRowText(entry, "(cut)", 40);

    orvan::FileContent file;
    file.status = orvan::FileContent::Status::Read;
    file.bytes = bytes;
    const orvan::NotesContent notes = orvan::ReadNotes(file);
    orvan::NotesSaveRules rules(notes);
    // Shown and saved unchanged, a readable file is never written.
    if (notes.state == orvan::NotesState::Editable && rules.TakeSave(notes.text))
        std::abort();

    if (const auto item = orvan::ParseQuickLine(bytes)) {
        const auto again = orvan::ParseQuickLine(orvan::FormatQuickLine(*item));
        if (!again || !(*again == *item))
            std::abort();
    }
    return 0;
}
