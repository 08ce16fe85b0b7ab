#pragma once
// The Quick page: the pinned entries with their icons, a filter line over them and a line
// of key hints under them. Enter or a double click starts the selected entry the way the
// run page starts its rows; Delete removes it, Ctrl+Up and Ctrl+Down move it, typing on the
// list filters it by name. Every change is written to the options file at once.
#include "core/config/options.h"
#include "core/search/launch.h"
#include "ui/pages/page_list.h"
#include "ui/search_tab.h"

#include <functional>
#include <string>
#include <vector>

namespace orvan::ui {

namespace QuickId {
constexpr int FilterLabel = 1050;
constexpr int Filter = 1051;
constexpr int List = 1052;
constexpr int Hint = 1053;
} // namespace QuickId

inline constexpr UINT_PTR kQuickIconTimer = 1;

class QuickTab final : public SearchTab {
public:
    // log receives the texts of failed writes of the options file.
    QuickTab(LaunchServices launch, const OptionsServices& options,
             std::function<void(const std::string&)> log);

    HWND CreatePage(HWND pageControl, const TabFonts& fonts) override;
    void Layout(const PagePlacer& place) override;
    void SetFonts(const TabFonts& fonts) override;
    void LocalizeCaptions() override;
    HWND InputLine() const override { return list_.Handle(); }
    bool HandleKey(SearchKeyAction action) override;
    void Activated() override;

    // Ctrl+D or the menu on the run page: pins a path and selects it here.
    void Pin(const std::string& path, const std::string& name);
    // Alt+1 .. Alt+9: starts the entry in that place of the whole list (1-based); false
    // when there is none.
    bool StartSlot(int slot);
    // Shows the pinned entries of the current options again.
    void Refill();

    HWND List() const { return list_.Handle(); }
    HWND Filter() const { return filter_; }
    HWND Hint() const { return hint_; }

protected:
    void OnCommand(int id, int code, HWND control) override;
    void OnDrawItem(const DRAWITEMSTRUCT& item) override;
    void OnTimer(UINT_PTR id) override;

private:
    void StartSelected();
    void RemoveSelected();
    void MoveSelected(bool up);
    void Typed(wchar_t c);
    // Writes the options file; a failure goes to the log.
    void Save();
    void ShowRows(int selected);
    std::wstring FilterText() const;

    LaunchServices launch_;
    const OptionsServices& options_;
    std::function<void(const std::string&)> log_;
    std::vector<std::size_t> shown_; // positions in the options' list of the rows shown
    HFONT font_ = nullptr;
    int dpi_ = 96;
    bool iconTimerOn_ = false;

    HWND filterLabel_ = nullptr;
    HWND filter_ = nullptr;
    PageListBox list_;
    HWND hint_ = nullptr;
};

} // namespace orvan::ui
