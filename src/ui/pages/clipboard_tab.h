#pragma once
// The Clipboard page: the texts copied while the launcher runs, newest first, with a filter
// line over them, the "keep between starts" choice and its clear button under them. Enter
// puts the selected text back on the clipboard and hides the window (the user pastes with
// Ctrl+V); Delete removes it; typing on the list filters. With the choice on, the history
// is written beside the options a second after it changed, on a thread of its own, and at
// exit.
#include "core/config/options.h"
#include "core/pages/background_save.h"
#include "core/pages/clipboard_history.h"
#include "core/ports/search_window.h"
#include "ui/pages/clipboard_listener.h"
#include "ui/pages/page_list.h"
#include "ui/search_tab.h"

#include <functional>
#include <string>
#include <vector>

namespace orvan::ui {

namespace ClipboardId {
constexpr int FilterLabel = 1070;
constexpr int Filter = 1071;
constexpr int List = 1072;
constexpr int Keep = 1073;
constexpr int Clear = 1074;
constexpr int Hint = 1075;
} // namespace ClipboardId

inline constexpr UINT_PTR kClipboardSaveTimer = 1;
inline constexpr UINT kClipboardSaveQuietMs = 1000;

class ClipboardTab final : public SearchTab {
public:
    // window hides the search window after Enter; log receives failed writes.
    ClipboardTab(const OptionsServices& options, SearchWindowPort* window,
                 std::function<void(const std::string&)> log);
    ~ClipboardTab() override;

    HWND CreatePage(HWND pageControl, const TabFonts& fonts) override;
    void Layout(const PagePlacer& place) override;
    void SetFonts(const TabFonts& fonts) override;
    void LocalizeCaptions() override;
    HWND InputLine() const override { return list_.Handle(); }
    bool HandleKey(SearchKeyAction action) override;
    void Activated() override;

    // Reads the kept history (when the options keep it) and starts listening to the
    // clipboard.
    void Start(const std::string& optionsFileName);
    // Writes a changed history when it is kept, and waits until it is on the disk.
    void Flush();
    // A copied text, as the listener hands it on.
    void Record(const std::string& text);

    const ClipboardHistory& History() const { return history_; }
    bool Listening() const { return listener_.Listening(); }
    HWND List() const { return list_.Handle(); }
    HWND Filter() const { return filter_; }
    HWND KeepBox() const { return keep_; }
    HWND ClearButton() const { return clear_; }
    const std::string& FileName() const { return fileName_; }

protected:
    void OnCommand(int id, int code, HWND control) override;
    void OnDrawItem(const DRAWITEMSTRUCT& item) override;
    void OnTimer(UINT_PTR id) override;

private:
    void CopySelected();
    void RemoveSelected();
    void KeepChanged();
    void ClearHistory();
    void Typed(wchar_t c);
    void Changed();
    void SaveNow();
    void ShowRows(int selected);
    std::vector<std::wstring> RowTexts() const;
    int SelectedEntry() const;

    const OptionsServices& options_;
    SearchWindowPort* window_;
    std::function<void(const std::string&)> log_;
    ClipboardHistory history_;
    std::vector<std::size_t> shown_;
    std::vector<std::wstring> rows_; // the shown rows' texts
    std::string fileName_;
    bool fileBlocked_ = false; // the kept file could not be read: never written over
    bool dirty_ = false;
    HFONT font_ = nullptr;
    int dpi_ = 96;

    HWND filterLabel_ = nullptr;
    HWND filter_ = nullptr;
    PageListBox list_;
    HWND keep_ = nullptr;
    HWND clear_ = nullptr;
    HWND hint_ = nullptr;
    ClipboardListener listener_;
    BackgroundFileSave save_;
};

} // namespace orvan::ui
