#pragma once
// The Notes page: a multi-line edit that fills the page, kept in a UTF-8 file beside the
// options. What is typed is written a second after the last keystroke, on a thread of its
// own, and at exit; the file is replaced crash-safely, so a killed program loses at most the
// last second. A file too large or not readable as text is left alone: the page shows why
// and stays read-only.
#include "core/pages/background_save.h"
#include "core/pages/notes.h"
#include "core/ports/file_store.h"
#include "ui/search_tab.h"

#include <functional>
#include <optional>
#include <string>

namespace orvan::ui {

namespace NotesId {
constexpr int Edit = 1060;
constexpr int Reason = 1061;
} // namespace NotesId

inline constexpr UINT_PTR kNotesSaveTimer = 1;
// The quiet time after the last keystroke before the text is written.
inline constexpr UINT kNotesQuietMs = 1000;

class NotesTab final : public SearchTab {
public:
    explicit NotesTab(const FileStorePort& files);
    ~NotesTab() override;

    HWND CreatePage(HWND pageControl, const TabFonts& fonts) override;
    void Layout(const PagePlacer& place) override;
    void SetFonts(const TabFonts& fonts) override;
    void LocalizeCaptions() override;
    HWND InputLine() const override { return edit_; }

    // Reads the notes file beside the options file and shows it.
    void Load(const std::string& optionsFileName);
    // Writes what was typed and not yet written, and waits until it is on the disk.
    void Flush();

    HWND Edit() const { return edit_; }
    HWND Reason() const { return reason_; }
    const std::string& FileName() const { return fileName_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code, HWND control) override;
    void OnTimer(UINT_PTR id) override;

private:
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    // The text changed: written once the quiet time has passed.
    void Edited();
    void Save();
    void ShowReason();

    const FileStorePort& files_;
    std::string fileName_;
    std::optional<NotesSaveRules> rules_;
    bool saveFailed_ = false;
    bool loading_ = false;
    PagePlacer place_;
    HWND edit_ = nullptr;
    HWND reason_ = nullptr;
    // Last, so that it ends (waiting for its write) before the rest goes.
    BackgroundFileSave save_;
};

} // namespace orvan::ui
