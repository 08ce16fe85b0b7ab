#pragma once
// TSettings, the settings dialog: the options of the search window, the tray icon, the hot
// key and the language on the General tab, the catalog's source folders on the Catalog tab,
// and the catalog's state with the Rebuild button on the Status tab. Made once at start-up
// and shown modally on every request; it edits a working copy of the options, which the
// dialog model hands back only on OK. Rebuilding runs the scanner on this thread, which lets
// the dialog's messages run once per folder: the progress timer keeps the status text
// current and the button, then reading "Stop", ends the scan.
#include "core/app/services.h"
#include "core/settings/settings_model.h"
#include "ui/controls.h"
#include "ui/gdi.h"
#include "ui/modal.h"
#include "ui/path_grid.h"
#include "ui/window.h"

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace orvan::ui {

inline constexpr const wchar_t* kSettingsClass = L"TSettings";
inline constexpr UINT_PTR kProgressTimer = 1;
inline constexpr UINT kProgressMilliseconds = 100;

namespace SettingsId {
constexpr int Ok = IDOK;
constexpr int Cancel = IDCANCEL;
constexpr int PageControl = 100;
constexpr int FirstCheck = 110; // + the box's place in the load order
constexpr int Bevel = 120;
constexpr int LanguageLabel = 121;
constexpr int Language = 122;
constexpr int HotKeyLabel = 123;
constexpr int HotKey = 124;
constexpr int Forget = 125;
constexpr int Paths = 130;
constexpr int Progress = 140;
constexpr int StatusBevel = 141;
constexpr int Rescan = 142;
constexpr int Waiter = 143;
constexpr int PathMenu = 300;   // + the item's tag
constexpr int HotKeyMenu = 310; // + the preset's position
} // namespace SettingsId

enum class SettingsPage { General = 0, Catalog = 1, Status = 2 };

// What the dialog needs of the program around it.
struct SettingsHost {
    ProgramServices services;
    // The window the dialog is shown over (the search window).
    std::function<HWND()> owner;
    // Starts the dialog's rebuild beside the interface thread (the catalog owner's background
    // scan); `ended` runs on the interface thread when it has ended.
    std::function<void(
        const SettingsOptionsCatalogPaths& paths, std::shared_ptr<CatalogScan> scan,
        std::function<void(bool completed, CatalogItems items, double lastRebuild)> ended)>
        startRebuild;
    // Hands the catalog the dialog rebuilt to the catalog's owner, which publishes it when
    // it was built for the paths now current.
    std::function<void(const SettingsOptionsCatalogPaths& paths, CatalogItems items,
                       double lastRebuild)>
        offerRebuilt;
    // After OK has applied the options: saves them and the catalog as the close command does
    // and reports a failure itself.
    std::function<void()> save;
    // The Forget button: the relevance order forgets what it learned from the starts.
    std::function<void()> forgetLaunches;
};

class SettingsWindow final : public Window {
public:
    explicit SettingsWindow(SettingsHost host);
    ~SettingsWindow() override;

    // Creates the dialog hidden.
    HWND Create();
    // Opens the dialog modally unless it is open already; applies on OK.
    void ShowSettings();
    bool Visible() const { return Handle() && ::IsWindowVisible(Handle()); }

    // Read and driven by tests and tools.
    const SettingsDialogModel& Model() const { return model_; }
    HWND Control(int id) const;
    HWND PageControl() const { return pageControl_; }
    SettingsPage ActivePage() const;
    void SelectPage(SettingsPage page);
    PathGrid& Paths() { return paths_; }
    // A command of the path grid's menu, as its items run it.
    void PathCommand(int tag);
    HMENU PathMenu() const { return pathMenu_.Get(); }
    HMENU HotKeyMenu() const { return hotKeyMenu_.Get(); }
    // Chooses a preset of the hot-key menu.
    void ChooseHotKeyPreset(std::size_t position);
    const WaiterControl& Waiter() const { return waiter_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCreate();
    void ApplyDpi(int dpi);
    void Layout();
    void OnCommand(int id, int code);
    void OnNotify(const NMHDR& header);
    void OnContextMenu(HWND from, POINT at);
    void OnTimer(UINT_PTR id);
    bool OnActivate(bool active);
    void OnOk();
    void OnCancel();
    void OnRescan();
    bool HandleKey(const MSG& message);

    void ApplyTexts();
    void OptionsToControls();
    SettingsControls ReadControls() const;
    void FillPathList(std::ptrdiff_t wanted);
    void PreparePathMenu();
    void ShowPathMenu(POINT at);
    void TrackMenu(HMENU menu, POINT at);
    void PrepareHotKeyMenu();
    void CellChanged(std::ptrdiff_t row, std::size_t cell, bool checked);
    void EditFocusedPath();
    // The buttons, the close box and the Rebuild caption as the model has them now.
    void SyncButtons();
    void UpdateProgress();
    // The dialog's rebuild has ended (on the interface thread).
    void OnRebuildEnded(std::uint64_t id, bool completed, CatalogItems items, double lastRebuild);
    void ApplyConfirmed(const SettingsOptions& confirmed);

    SettingsHost host_;
    SettingsDialogModel model_;
    enum class Result { Open, Ok, Cancel } result_ = Result::Open;
    std::optional<SettingsOptions> confirmed_;
    int dpi_ = 96;
    bool shownRebuilding_ = false;
    HWND lastFocus_ = nullptr;

    UniqueFont font_;
    UniqueMenu pathMenu_;
    UniqueMenu hotKeyMenu_;
    HWND pageControl_ = nullptr;
    std::array<ForwardingPanel, 3> pages_;
    PathGrid paths_;
    WaiterControl waiter_;
};

} // namespace orvan::ui
