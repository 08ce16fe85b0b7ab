#pragma once
// The launcher's page of the search window: the input line, the details area (picture,
// scrolling label, the run, details and copy buttons) and the candidate list. Every change
// of the input line rebuilds the candidate list; the details area describes the selected
// row; Enter, a double-click or the run button starts it.
#include "core/catalog/catalog_keeper.h"
#include "core/fileinfo/file_info.h"
#include "core/search/launch.h"
#include "core/search/run_available.h"
#include "core/search/run_details.h"
#include "ui/available_list.h"
#include "ui/search_tab.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace orvan::ui {

struct RunTabServices {
    RunBuildEnvironment build;
    FileInfoServices fileInfo;
    LaunchServices launch;
};

// The details command: shows the details window with the details text and picture.
struct DetailsSlot {
    std::function<void(const std::string& text, HICON picture)> show;
    std::function<bool()> visible; // whether the details window exists and is visible
};

// Control identifiers of the page; 1 and 2 stay free for the dialog manager.
namespace RunId {
constexpr int Edit = 1001;
constexpr int Icon = 1002;
constexpr int Label = 1003;
constexpr int Bevel = 1004;
constexpr int List = 1005;
// The buttons keep the numbers outside clients know them by.
constexpr int Details = 1011;
constexpr int Copy = 1012;
constexpr int Execute = 1013;
} // namespace RunId

// The details label's refresh while a date is selected, and the idle icon fetch.
inline constexpr UINT_PTR kRunLabelTimer = 1;
inline constexpr UINT_PTR kIconTimer = 2;

class RunTab final : public SearchTab {
public:
    explicit RunTab(RunTabServices services);

    HWND CreatePage(HWND pageControl, const TabFonts& fonts) override;
    void Layout(const PagePlacer& place) override;
    void SetFonts(const TabFonts& fonts) override;
    void LocalizeCaptions() override;
    void ApplyColors(COLORREF body) override;
    HWND InputLine() const override { return edit_; }
    bool HandleKey(SearchKeyAction action) override;

    void SetDetailsSlot(DetailsSlot slot) { details_ = std::move(slot); }
    // Where the relevance order's memory lives, and where starts of catalog rows are
    // recorded; may be nullptr (nothing is learned then).
    void SetCatalogKeeper(CatalogKeeper* keeper) { keeper_ = keeper; }
    bool DetailsVisible() const { return details_.visible && details_.visible(); }
    // Rebuilds the candidate list for the input line's text, as a change of it does.
    void Rebuild();
    // The same after the catalog was replaced: the row selected before stays selected when
    // the new list still has its path.
    void RebuildKeepingSelection();
    // Shows the details area for the current list and selection.
    void UpdateRunDetails();
    // Gives the input line the focus with its whole text selected.
    void SelectInput();

    // Read by tests and tools.
    const RunAvailableList& Available() const { return available_; }
    HWND Edit() const { return edit_; }
    HWND ListBox() const { return list_.Handle(); }
    HWND Label() const { return label_.Handle(); }
    HWND Icon() const { return icon_.Handle(); }
    HICON IconPicture() const { return icon_.Icon(); }
    // The flat button with a tag of the button group (search_layout::kTag...).
    HWND Button(int tag) const;
    int SelectedRowNumber() const { return list_.Selection(); }
    // The selected row when it is one that starts something (a folder, a file, a catalog
    // entry): what Ctrl+D pins.
    std::optional<RunAvailable> SelectedStartable() const;

protected:
    void OnCommand(int id, int code, HWND control) override;
    void OnDrawItem(const DRAWITEMSTRUCT& item) override;
    void OnTimer(UINT_PTR id) override;

private:
    void ShowDetails(const RunDetailsView& view);
    bool HasLargeIcon(const std::string& path);
    void WantIcons();
    void LoadWantedIcons();
    void RunSelected();
    void ShowDetailsWindow();
    void CopyDetails();
    void Complete();
    void CutPathComponent();
    void RecallHistory();
    void MoveSelection(bool up);

    CatalogKeeper* keeper_ = nullptr;

    std::u16string InputText() const;
    std::size_t Caret() const;
    // Puts a text into the input line (which rebuilds the list) with the caret at `caret`
    // and nothing selected.
    void SetInput(const std::u16string& text, std::size_t caret);
    std::optional<std::size_t> SelectedRow() const;

    RunTabServices services_;
    RunAvailableList available_;
    DetailsSlot details_;
    int dpi_ = 96;

    HWND edit_ = nullptr;
    ImageBox icon_;
    ScrollLabel label_;
    FlatButton execute_;
    FlatButton detailsButton_;
    FlatButton copy_;
    HWND bevel_ = nullptr;
    AvailableListBox list_;
    bool labelTimerOn_ = false;
    bool iconTimerOn_ = false;
    std::string detailsIconPath_; // the details area waits for this file's icon
};

} // namespace orvan::ui
