#pragma once
// The search window: a frame of six tab pages, of which the first holds the launcher and
// the fifth the robot. The frame owns the tab control, the popup menu, the key table,
// showing and hiding, and the window's geometry; each page owns its controls. Created
// hidden at start-up, initialised once, shown by the hot key, the tray icon or a second
// start, hidden by Esc and (with AutoHide) when the application loses the activation.
// Closing it only hides it, unless the close command asked to end the program.
#include "core/app/services.h"
#include "core/catalog/catalog_keeper.h"
#include "core/config/options.h"
#include "core/ports/message_dialog.h"
#include "core/ports/search_window.h"
#include "core/robot/command.h"
#include "core/ui/search_layout.h"
#include "ui/about_tab.h"
#include "ui/pages/clipboard_tab.h"
#include "ui/pages/notes_tab.h"
#include "ui/pages/quick_tab.h"
#include "ui/robot_tab.h"
#include "ui/run_tab.h"
#include "ui/window.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace orvan::ui {

// The settings command: the modal settings dialog.
struct SettingsSlot {
    std::function<void()> show;
    std::function<bool()> visible;
};

namespace SearchId {
constexpr int PageControl = 1000;
} // namespace SearchId

class SearchWindow final : public Window,
                           public CommandPort,
                           public SearchWindowPort,
                           public OptionsGeometryAccess {
public:
    SearchWindow(const ProgramServices& services, MessageDialogPort& dialogs);
    ~SearchWindow() override;

    // Creates the window hidden and registers with the options store.
    HWND Create();

    void SetSettingsSlot(SettingsSlot slot) { settings_ = std::move(slot); }
    // What the close command does once the window is hidden: the application saves and ends
    // the program, or keeps it running when that fails.
    void SetQuitHandler(std::function<void()> quit) { quit_ = std::move(quit); }

    // The catalog's owner, which the application keeps; set before InitializeSearch.
    void SetCatalogKeeper(CatalogKeeper* keeper);
    // Loads and applies the options and starts loading the catalog.
    void InitializeSearch();
    // Waits until the catalog file's load is published (tests and measurements only: the
    // program itself never waits for it).
    void WaitForCatalog();
    // Waits for the catalog file's background save, whose failures go to the log.
    void WaitForCatalogSave();
    // The catalog's owner (read by tests).
    const CatalogKeeper* AutoUpdate() const { return keeper_; }
    // The catalog was replaced: the list is made again for the typed text, the selected
    // row kept.
    void OnCatalogPublished();
    void ShowSearch();
    void ApplyThemeColors();
    // Hides; with QuitRequested hands over to the quit handler.
    void CloseRequest();
    // Alt+F4: QuitRequested, then the close request.
    void CloseCommand();
    // Writes a line into the robot display, where the program's messages go.
    void WriteLog(const std::string& text);
    // Writes what the pages hold and have not written yet (the notes, a kept clipboard
    // history) and waits until it is on the disk: at exit.
    void SavePages();
    // Ctrl+D or the menu: pins the run page's selected row to the Quick page.
    void PinSelectedRow();

    bool QuitRequested() const { return quitRequested_; }
    void SetQuitRequested(bool value) { quitRequested_ = value; }
    bool Initialized() const { return initialized_; }
    bool Visible() const;
    bool SettingsVisible() const;

    // The window's shortcut handler: takes the key presses of the table before the
    // focused control sees them. True when the message was consumed.
    bool PreTranslateMessage(const MSG& message);

    // CommandPort
    bool SearchWindowVisible() const override { return Visible(); }
    void ShowPage(int page) override;
    void Terminate() override;
    // SearchWindowPort
    void RequestClose() override { CloseRequest(); }
    // OptionsGeometryAccess
    WindowGeometry ReadGeometry() const override;
    void ApplyGeometry(const WindowGeometry& geometry) override;

    RunTab& Run() { return *run_; }
    RobotTab& Robot() { return *robot_; }
    AboutTab& About() { return *about_; }
    QuickTab& Quick() { return *quick_; }
    NotesTab& Notes() { return *notes_; }
    ClipboardTab& Clipboard() { return *clipboard_; }
    search_layout::Tab ActiveTab() const;
    HWND PageControl() const { return pageControl_; }
    HWND Page(search_layout::Tab tab) const { return tabs_[std::size_t(tab)]->Handle(); }
    HMENU PopupMenu() const { return popup_.Get(); }
    int Dpi() const { return dpi_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCreate();
    void OnSize();
    void OnShowing();
    void OnCommand(int id);
    // True when the activation's focus was set here.
    bool OnActivate(bool active);
    void OnActivateApp(bool active);
    // The active page's input line, or the tab row on a page without one.
    void FocusActivePage();
    void OnContextMenu(POINT at);
    void OnDpiChanged(int dpi, const RECT& suggested);

    // Fonts, the tab row's padding and every page's scaled parts for a DPI.
    void ApplyDpi(int dpi);
    void LocalizeCaptions();
    void SelectTab(search_layout::Tab tab);
    static LRESULT CALLBACK PageControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR self);
    void LayoutPages();
    void SettingsCommand();
    void ApplyOptionsListener(const SettingsOptions& options);
    SearchFocus FocusKind() const;
    bool RunKey(SearchKeyAction action, int pinnedSlot = 0);

    ProgramServices services_;
    CatalogKeeper* keeper_ = nullptr;
    bool quitRequested_ = false;
    bool initialized_ = false;
    int dpi_ = 96;
    int applyListener_ = -1;

    RunTab* run_;
    QuickTab* quick_;
    NotesTab* notes_;
    ClipboardTab* clipboard_;
    RobotTab* robot_;
    AboutTab* about_;
    std::array<std::unique_ptr<SearchTab>, search_layout::kTabCount> tabs_;
    SettingsSlot settings_;
    std::function<void()> quit_;

    UniqueFont font_;
    UniqueFont linkFont_;
    UniqueMenu popup_;
    HWND pageControl_ = nullptr;
    HWND lastFocus_ = nullptr;  // the control that had the focus when the window lost it
    bool selectingTab_ = false; // SelectTab is choosing the tab itself
};

} // namespace orvan::ui
