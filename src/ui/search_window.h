#pragma once
// The search window: six tabs, of which the first holds the launcher (input
// line, details area, candidate list) and the fifth the robot. Created hidden at start-up,
// initialised once, shown by the hot key, the tray icon or a second start, hidden by Esc
// and (with AutoHide) when the application loses the activation. Closing it only hides
// it, unless the close command asked to end the program.
#include "core/catalog/catalog_file.h"
#include "core/config/options.h"
#include "core/fileinfo/file_info.h"
#include "core/ports/message_dialog.h"
#include "core/ports/search_window.h"
#include "core/ports/shell.h"
#include "core/robot/command.h"
#include "core/search/run_available.h"
#include "core/ui/search_keys.h"
#include "core/ui/search_layout.h"
#include "ui/available_list.h"
#include "ui/controls.h"
#include "ui/robot_view.h"
#include "ui/search_slots.h"
#include "ui/window.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace orvan::ui {

// What the search window reaches outside itself through.
struct SearchServices {
    OptionsServices options;
    CatalogFileServices catalog;
    RunBuildEnvironment build;
    std::function<double()> now; // the current moment, for the start message
    FileInfoServices fileInfo;   // the details area's folder and file texts
    const ShellPort* shell = nullptr;
};

// The services over this system's own file system, shell, XML reader and clock, as the
// program runs with them.
SearchServices SystemSearchServices(const OptionsServices& options);

// Control identifiers; 1 and 2 stay free for the dialog manager's IDOK and IDCANCEL.
namespace SearchId {
constexpr int PageControl = 1000;
constexpr int RunEdit = 1001;
constexpr int RunIcon = 1002;
constexpr int RunLabel = 1003;
constexpr int RunExecute = 1010 + search_layout::kTagExecute;
constexpr int RunDetails = 1010 + search_layout::kTagDetails;
constexpr int RunCopy = 1010 + search_layout::kTagCopy;
constexpr int RunBevel = 1004;
constexpr int AvailableList = 1005;
constexpr int RobotView = 1020;
constexpr int RobotEdit = 1021;
constexpr int AboutText = 1030;
constexpr int AboutIcon = 1031;
constexpr int AboutLink = 1032;
constexpr int Placeholder = 1040; // + tab number
constexpr int MenuBase = 2000;    // + the popup menu item's tag
} // namespace SearchId

inline constexpr UINT_PTR kRunLabelTimer = 1;
// Fetches the shell's icons of the rows on screen once the window is idle.
inline constexpr UINT_PTR kIconTimer = 2;

class SearchWindow final : public Window,
                           public CommandPort,
                           public SearchWindowPort,
                           public OptionsGeometryAccess,
                           private RowSource,
                           private RunPageAccess {
public:
    explicit SearchWindow(SearchServices services);
    ~SearchWindow() override;

    // Creates the window hidden (owned by `owner` if given) and registers with the options
    // store.
    HWND Create(HWND owner);

    // Slots.
    void SetRunPageHandler(RunPageHandler* handler) { runPage_ = handler; }
    void SetRobotPageHandler(RobotPageHandler* handler) { robotPage_ = handler; }
    void SetDetailsSlot(DetailsSlot slot) { details_ = std::move(slot); }
    void SetSettingsSlot(SettingsSlot slot) { settings_ = std::move(slot); }
    // Closing the main window, which ends the program.
    void SetCloseMainWindow(std::function<void()> close) { closeMain_ = std::move(close); }
    // Where user-level failures (an options file that cannot be written) are shown.
    void SetMessageDialogs(MessageDialogPort* dialogs) { dialogs_ = dialogs; }

    void InitializeSearch();
    void ShowSearch();
    void ApplyThemeColors();
    // Hides; with QuitRequested saves options and catalog and closes the main window.
    void CloseRequest();
    // Alt+F4: QuitRequested, then the close request.
    void CloseCommand();
    void WriteLog(const std::string& text);

    bool QuitRequested() const { return quitRequested_; }
    void SetQuitRequested(bool value) { quitRequested_ = value; }
    bool Initialized() const { return initialized_; }
    bool Visible() const;
    bool SettingsVisible() const;
    COLORREF TabBodyColor() const { return tabBody_; }

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

    // Read by tests and tools.
    const RunAvailableList& Available() const { return available_; }
    search_layout::Tab ActiveTab() const;
    HWND PageControl() const { return pageControl_; }
    HWND RunEdit() const { return runEdit_; }
    HWND RobotEdit() const { return robotEdit_; }
    HWND ListBox() const { return list_.Handle(); }
    HWND RunLabel() const { return runLabel_.Handle(); }
    HWND RunIcon() const { return runIcon_.Handle(); }
    HICON RunIconPicture() const { return runIcon_.Icon(); }
    HWND Button(int tag) const;
    HWND RobotDisplay() const { return robot_.Handle(); }
    HWND AboutLink() const { return aboutLink_.Handle(); }
    HWND Sheet(search_layout::Tab tab) const { return sheets_[std::size_t(tab)]->Handle(); }
    RobotMemo& Robot() { return robot_.Memo(); }
    HMENU PopupMenu() const { return popup_.Get(); }
    int Dpi() const { return dpi_; }
    // Rebuilds the candidate list for the current input, as a text change does.
    void Rebuild();
    // Fetches the icons the rows and the details area wait for at once (tests, tools).
    void LoadIconsNow() { LoadWantedIcons(); }
    int SelectedRowNumber() const { return list_.Selection(); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // RowSource
    std::size_t RowCount() const override { return available_.size(); }
    std::wstring RowName(std::size_t row) const override;
    // RunPageAccess
    std::u16string InputText() const override;
    std::size_t Caret() const override;
    void SetInput(const std::u16string& text, std::size_t caret) override;
    const RunAvailableList& Candidates() const override { return available_; }
    std::optional<std::size_t> SelectedRow() const override;
    void ShowDetails(const DetailsArea& area) override;
    bool HasLargeIcon(const std::string& path) override;

    void OnCreate();
    void OnSize();
    void OnShowing();
    void OnCommand(int id, int code, HWND control);
    void OnNotify(const NMHDR& header);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnActivateApp(bool active);
    void OnTimer(UINT_PTR id);
    void WantIcons();
    void LoadWantedIcons();
    void OnContextMenu(HWND target, POINT at);
    void OnDpiChanged(int dpi, const RECT& suggested);
    LRESULT OnCtlColor(HDC dc, HWND control);

    void CreateControls();
    void CreateFonts();
    void LocalizeCaptions();
    void CenterOnWorkArea();
    void FillAvailableList();
    void UpdateRunDetails();
    void SelectTab(search_layout::Tab tab);
    void LayoutPages();
    void ButtonClick(int tag);
    void PopupClick(int tag);
    void RunSelected();
    void CopyDetailsToClipboard();
    void OpenWebLink();
    void SettingsCommand();
    void RobotEnter();
    void SetRobotLine(const std::string& text);
    void ApplyOptionsListener(const SettingsOptions& options);
    SearchFocus FocusKind() const;
    bool RunKey(SearchKeyAction action);

    SearchServices services_;
    RunAvailableList available_;
    bool quitRequested_ = false;
    bool initialized_ = false;
    int dpi_ = 96;
    int applyListener_ = -1;

    RunPageHandler* runPage_ = nullptr;
    RobotPageHandler* robotPage_ = nullptr;
    DetailsSlot details_;
    SettingsSlot settings_;
    std::function<void()> closeMain_;
    MessageDialogPort* dialogs_ = nullptr;

    UniqueFont font_;
    UniqueFont linkFont_;
    UniqueBrush tabBodyBrush_;
    COLORREF tabBody_ = ::GetSysColor(COLOR_BTNFACE);
    UniqueMenu popup_;

    HWND pageControl_ = nullptr;
    std::array<std::unique_ptr<TabSheet>, search_layout::kTabCount> sheets_;
    HWND runEdit_ = nullptr;
    ImageBox runIcon_;
    ScrollLabel runLabel_;
    FlatButton execute_;
    FlatButton detailsButton_;
    FlatButton copy_;
    HWND bevel_ = nullptr;
    AvailableListBox list_;
    std::array<HWND, 3> placeholders_{};
    TabSheet robotPanel_;
    RobotView robot_;
    HWND robotEdit_ = nullptr;
    HWND aboutText_ = nullptr;
    ImageBox aboutIcon_;
    LinkLabel aboutLink_;
    bool timerOn_ = false;
    bool iconTimerOn_ = false;
    std::string detailsIconPath_; // the details area waits for this file's icon
};

} // namespace orvan::ui
