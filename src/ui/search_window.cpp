#include "ui/search_window.h"

#include "core/catalog/catalog_file.h"
#include "core/language/language.h"
#include "core/language/language_file.h"
#include "core/pages/page_layout.h"
#include "core/robot/version.h"
#include "core/ui/search_texts.h"
#include "ui/pictures.h"
#include "win32/wide_text.h"

#include <commctrl.h>
#include <windowsx.h>

namespace orvan::ui {

namespace {

using search_layout::Tab;
namespace layout = search_layout;

constexpr const wchar_t* kSearchClass = L"TSearch";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

// The popup menu's items: identifier, caption, shortcut shown and the command.
constexpr int kMenuBase = 2000;
struct MenuCommand {
    int tag;
    int captionId;
    const wchar_t* shortcut;
    void (SearchWindow::*run)();
};
constexpr MenuCommand kMenu[] = {
    {layout::kTagPin, page_layout::kPinMenuId, L"Ctrl+D", &SearchWindow::PinSelectedRow},
    {layout::kTagSettings, layout::kOptionsCaptionId, L"F12", nullptr}, // the settings command
    {layout::kTagHide, layout::kHideCaptionId, L"Esc", &SearchWindow::CloseRequest},
    {layout::kTagClose, layout::kExitCaptionId, L"Alt+F4", &SearchWindow::CloseCommand},
};

constexpr UINT_PTR kTabSubclassId = 1;

} // namespace

LRESULT CALLBACK SearchWindow::PageControlProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
    // A tab chosen by TCM_SETCURSEL (another program, an accessibility tool) sends no
    // TCN_SELCHANGE: its page is shown all the same.
    auto* self = reinterpret_cast<SearchWindow*>(data);
    if (message == TCM_SETCURSEL && !self->selectingTab_)
        self->SelectTab(self->ActiveTab());
    return result;
}

SearchWindow::SearchWindow(const ProgramServices& services, MessageDialogPort& dialogs)
    : services_(services) {
    const LaunchServices launch{services.shell, &dialogs, this};
    auto run = std::make_unique<RunTab>(RunTabServices{services.build, services.fileInfo, launch});
    const auto log = [this](const std::string& text) { WriteLog(ApplicationErrorText(text)); };
    auto quick = std::make_unique<QuickTab>(launch, services_.options, log);
    auto notes = std::make_unique<NotesTab>(services_.options.files);
    auto clipboard = std::make_unique<ClipboardTab>(services_.options, this, log);
    auto robot = std::make_unique<RobotTab>(*this);
    auto about = std::make_unique<AboutTab>(launch);
    run_ = run.get();
    quick_ = quick.get();
    notes_ = notes.get();
    clipboard_ = clipboard.get();
    robot_ = robot.get();
    about_ = about.get();
    tabs_[std::size_t(Tab::Run)] = std::move(run);
    tabs_[std::size_t(Tab::Quick)] = std::move(quick);
    tabs_[std::size_t(Tab::Notes)] = std::move(notes);
    tabs_[std::size_t(Tab::Clipboard)] = std::move(clipboard);
    tabs_[std::size_t(Tab::Robot)] = std::move(robot);
    tabs_[std::size_t(Tab::About)] = std::move(about);
}

SearchWindow::~SearchWindow() {
    if (pageControl_ && ::IsWindow(pageControl_))
        ::RemoveWindowSubclass(pageControl_, PageControlProc, kTabSubclassId);
    RegisterGeometryAccess(nullptr);
    if (applyListener_ >= 0)
        RemoveApplyListener(applyListener_);
    SetUnexpectedErrorHandler(nullptr);
}

HWND SearchWindow::Create() {
    static WindowClassRegistration registration = RegisterWindowClass(
        kSearchClass, CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), ProgramPictures().ProgramIcon(32));
    // Not owned by the main window: under Wine an owned window cannot be made topmost and
    // back again, which the stay-on-top option needs. The tool-window style keeps it off
    // the taskbar all the same.
    const HWND hwnd = CreateWindowFor(kExStyle, kSearchClass, L"", kStyle, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 400, 400, nullptr, nullptr);
    if (!hwnd)
        return nullptr;
    // The designed client size at the window's DPI, centred on its monitor's work area.
    SetDesignedClientSize(hwnd, layout::kClient, dpi_);
    CenterWindow(hwnd);

    RegisterGeometryAccess(this);
    applyListener_ =
        AddApplyListener([this](const SettingsOptions& options) { ApplyOptionsListener(options); });
    SetUnexpectedErrorHandler(
        [this](const std::string& message) { WriteLog(ApplicationErrorText(message)); });
    return hwnd;
}

// --- messages ---------------------------------------------------------------------------

LRESULT SearchWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_SHOWWINDOW:
        if (wParam)
            OnShowing();
        return 0;
    case WM_CLOSE:
        CloseRequest();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.hwndFrom == pageControl_ && header.code == TCN_SELCHANGE)
            SelectTab(ActiveTab());
        return 0;
    }
    case WM_ACTIVATE:
        if (OnActivate(LOWORD(wParam) != WA_INACTIVE))
            return 0;
        return DefaultProc(message, wParam, lParam);
    case WM_ACTIVATEAPP:
        OnActivateApp(wParam != FALSE);
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
        ApplyThemeColors();
        return DefaultProc(message, wParam, lParam);
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

void SearchWindow::SetCatalogKeeper(CatalogKeeper* keeper) {
    keeper_ = keeper;
    run_->SetCatalogKeeper(keeper);
}

void SearchWindow::OnCreate() {
    pageControl_ = ::CreateWindowExW(
        WS_EX_CONTROLPARENT, WC_TABCONTROLW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0,
        Handle(), reinterpret_cast<HMENU>(INT_PTR(SearchId::PageControl)), ModuleInstance(),
        nullptr);
    for (int tab = 0; tab < layout::kTabCount; ++tab) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(pageControl_, TCM_INSERTITEMW, WPARAM(tab), reinterpret_cast<LPARAM>(&item));
    }
    ::SetWindowSubclass(pageControl_, PageControlProc, kTabSubclassId,
                        reinterpret_cast<DWORD_PTR>(this));
    ApplyDpi(WindowDpi(Handle()));
    const TabFonts fonts{dpi_, font_.Get(), linkFont_.Get()};
    for (const auto& tab : tabs_)
        tab->CreatePage(pageControl_, fonts);

    popup_.Reset(::CreatePopupMenu());
    for (const MenuCommand& item : kMenu) {
        if (item.tag == layout::kTagHide || item.tag == layout::kTagSettings)
            ::AppendMenuW(popup_.Get(), MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(popup_.Get(), MF_STRING, UINT_PTR(kMenuBase + item.tag), L"");
    }
    SelectTab(Tab::Run);
}

void SearchWindow::ApplyDpi(int dpi) {
    dpi_ = dpi;
    font_ = CreatePointFont(L"Tahoma", 8, dpi_);
    linkFont_ = CreatePointFont(L"Tahoma", 8, dpi_, false, true);
    ::SendMessageW(pageControl_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
    // Narrow tab padding, so that the six captions fit the designed width in one row.
    ::SendMessageW(pageControl_, TCM_SETPADDING, 0,
                   MAKELPARAM(ScaleForDpi(3, dpi_), ScaleForDpi(3, dpi_)));
    const TabFonts fonts{dpi_, font_.Get(), linkFont_.Get()};
    for (const auto& tab : tabs_)
        if (tab->Handle())
            tab->SetFonts(fonts);
}

void SearchWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    ApplyDpi(dpi);
    MoveToSuggested(Handle(), suggested);
}

void SearchWindow::OnSize() {
    RECT client;
    ::GetClientRect(Handle(), &client);
    const UiRect tabs = AnchorInParent(
        ScaleForDpi(layout::kPageControl.rect, dpi_), layout::kPageControl.anchors,
        {ScaleForDpi(layout::kClient.width, dpi_), ScaleForDpi(layout::kClient.height, dpi_)},
        {client.right, client.bottom});
    MoveTo(pageControl_, ToRect(tabs.left, tabs.top, tabs.width, tabs.height));
    LayoutPages();
}

void SearchWindow::LayoutPages() {
    if (!pageControl_)
        return;
    RECT tabs;
    ::GetClientRect(pageControl_, &tabs);
    RECT display = tabs;
    ::SendMessageW(pageControl_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    // The page keeps its designed size at the designed window size, whatever height the
    // tab row has, and grows and shrinks with the page control.
    const UiSize designedTabs{ScaleForDpi(layout::kPageControl.rect.width, dpi_),
                              ScaleForDpi(layout::kPageControl.rect.height, dpi_)};
    const UiSize page{
        std::max(0, ScaleForDpi(layout::kPage.width, dpi_) + int(tabs.right) - designedTabs.width),
        std::max(0,
                 ScaleForDpi(layout::kPage.height, dpi_) + int(tabs.bottom) - designedTabs.height)};
    const PagePlacer place{dpi_, page};
    for (const auto& tab : tabs_) {
        ::MoveWindow(tab->Handle(), display.left, display.top, page.width, page.height, TRUE);
        tab->Layout(place);
    }
}

// --- initialisation, showing and hiding -------------------------------------------------

void SearchWindow::InitializeSearch() {
    ::SetWindowTextW(Handle(), win32::Wide(ApplicationTitle).c_str());
    SelectTab(Tab::Run);
    // The options are small and decide the hot key and the tray icon; the catalog may be
    // large, so it is read meanwhile on a thread of its own and published when it is there.
    ApplyOptions(LoadOptions(services_.options));
    if (keeper_)
        keeper_->StartLoad();
    // The pages' files lie beside the options file; read once, so that a second
    // initialisation never replaces what was typed since.
    if (!initialized_) {
        notes_->Load(CurrentOptions().fileName);
        clipboard_->Start(CurrentOptions().fileName);
    }
    quick_->Refill();
    robot_->Setup();
    LocalizeCaptions();
    WriteLog(StartedAtText(services_.clock ? services_.clock->Now() : 0.0, CurrentLocale()));
    ApplyThemeColors();
    run_->UpdateRunDetails();
    initialized_ = true;
}

void SearchWindow::WaitForCatalog() {
    if (keeper_)
        keeper_->WaitForLoad();
}

void SearchWindow::OnCatalogPublished() {
    // What was typed meanwhile gets its catalog rows without another keystroke.
    if (initialized_)
        run_->RebuildKeepingSelection();
}

void SearchWindow::WaitForCatalogSave() {
    if (keeper_)
        keeper_->WaitForSave();
}

void SearchWindow::LocalizeCaptions() {
    for (int tab = 0; tab < layout::kTabCount; ++tab) {
        const std::wstring caption =
            win32::Wide(Languages::Text(layout::kTabCaptionIds[std::size_t(tab)]));
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(caption.c_str());
        ::SendMessageW(pageControl_, TCM_SETITEMW, WPARAM(tab), reinterpret_cast<LPARAM>(&item));
    }
    for (const MenuCommand& item : kMenu) {
        const std::wstring caption =
            win32::Wide(Languages::Text(item.captionId)) + L"\t" + item.shortcut;
        ::ModifyMenuW(popup_.Get(), UINT(kMenuBase + item.tag), MF_BYCOMMAND | MF_STRING,
                      UINT_PTR(kMenuBase + item.tag), caption.c_str());
    }
    for (const auto& tab : tabs_)
        tab->LocalizeCaptions();
    LayoutPages(); // the tab row may have changed its height
}

void SearchWindow::ApplyThemeColors() {
    const COLORREF body = TabBodyColor(Handle());
    for (const auto& tab : tabs_)
        tab->ApplyColors(body);
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

bool SearchWindow::Visible() const {
    return Handle() && ::IsWindowVisible(Handle());
}

bool SearchWindow::SettingsVisible() const {
    return settings_.visible && settings_.visible();
}

void SearchWindow::ShowSearch() {
    if (Visible() && ::GetActiveWindow() != Handle()) {
        ::SetForegroundWindow(Handle());
        return;
    }
    if (CurrentOptions().autoCenter)
        CenterWindow(Handle());
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    if (ActiveTab() == Tab::Run)
        run_->SelectInput();
    else
        FocusActivePage();
}

void SearchWindow::OnShowing() {
    if (!initialized_)
        InitializeSearch();
    if (CurrentOptions().autoCenter)
        CenterWindow(Handle());
    run_->Rebuild();
}

void SearchWindow::CloseRequest() {
    ::ShowWindow(Handle(), SW_HIDE);
    if (quitRequested_ && quit_)
        quit_();
}

void SearchWindow::CloseCommand() {
    quitRequested_ = true;
    CloseRequest();
}

bool SearchWindow::OnActivate(bool active) {
    if (!active) {
        // Remembered so that the user types on where they left off when the window comes
        // back (after a dialog, another program or the hot key).
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(Handle(), focus))
            lastFocus_ = focus;
        return false;
    }
    if (lastFocus_ && ::IsWindow(lastFocus_) && ::IsChild(Handle(), lastFocus_) &&
        ::IsWindowVisible(lastFocus_) && ::IsWindowEnabled(lastFocus_)) {
        ::SetFocus(lastFocus_);
        return true;
    }
    FocusActivePage();
    return true;
}

void SearchWindow::FocusActivePage() {
    const HWND input = tabs_[std::size_t(ActiveTab())]->InputLine();
    ::SetFocus(input ? input : pageControl_);
}

void SearchWindow::OnActivateApp(bool active) {
    if (active || !Visible() || !CurrentOptions().autoHide)
        return;
    if (SettingsVisible() || run_->DetailsVisible())
        return;
    CloseRequest();
}

void SearchWindow::ApplyOptionsListener(const SettingsOptions& options) {
    ::SetWindowPos(Handle(), options.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // Another language takes effect at once: the table switches whole, then the window reads
    // its captions again (menus and dialogs read theirs each time they open).
    if (options.language != CurrentLanguageCode()) {
        LoadProgramLanguage(options.language, services_.options.programFileName,
                            services_.options.fileSystem, services_.options.files);
        if (initialized_) {
            LocalizeCaptions();
            run_->UpdateRunDetails();
        }
    }
    if (initialized_)
        quick_->Refill(); // a record of other options brings its own pinned entries
    // Paths, interval or the switch itself may have changed.
    if (keeper_)
        keeper_->Apply(options);
}

WindowGeometry SearchWindow::ReadGeometry() const {
    RECT window{};
    ::GetWindowRect(Handle(), &window);
    return {window.top, window.left, window.right - window.left, window.bottom - window.top};
}

void SearchWindow::ApplyGeometry(const WindowGeometry& geometry) {
    if (geometry.width <= 0 || geometry.height <= 0)
        return;
    ::SetWindowPos(Handle(), nullptr, geometry.left, geometry.top, geometry.width, geometry.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void SearchWindow::WriteLog(const std::string& text) {
    robot_->WriteLog(text);
}

void SearchWindow::SavePages() {
    notes_->Flush();
    clipboard_->Flush();
}

void SearchWindow::PinSelectedRow() {
    if (const std::optional<RunAvailable> row = run_->SelectedStartable())
        quick_->Pin(row->path, row->name);
}

// --- tabs and commands ------------------------------------------------------------------

Tab SearchWindow::ActiveTab() const {
    const auto selected = ::SendMessageW(pageControl_, TCM_GETCURSEL, 0, 0);
    return selected < 0 || selected >= layout::kTabCount ? Tab::Run : Tab(selected);
}

void SearchWindow::SelectTab(Tab tab) {
    selectingTab_ = true;
    ::SendMessageW(pageControl_, TCM_SETCURSEL, WPARAM(tab), 0);
    selectingTab_ = false;
    for (int i = 0; i < layout::kTabCount; ++i)
        ::ShowWindow(tabs_[std::size_t(i)]->Handle(), i == int(tab) ? SW_SHOW : SW_HIDE);
    tabs_[std::size_t(tab)]->Activated();
    if (Visible())
        FocusActivePage();
}

void SearchWindow::ShowPage(int page) {
    if (page >= 0 && page < layout::kTabCount)
        SelectTab(Tab(page));
}

void SearchWindow::Terminate() {
    ::PostQuitMessage(0);
}

void SearchWindow::OnCommand(int id) {
    for (const MenuCommand& item : kMenu) {
        if (id != kMenuBase + item.tag)
            continue;
        if (item.run)
            (this->*item.run)();
        else
            SettingsCommand();
    }
}

void SearchWindow::SettingsCommand() {
    // No border icons while the modal settings dialog is up.
    const LONG_PTR style = ::GetWindowLongPtrW(Handle(), GWL_STYLE);
    ::SetWindowLongPtrW(Handle(), GWL_STYLE, style & ~LONG_PTR(WS_SYSMENU));
    ::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    struct Restore {
        HWND window;
        ~Restore() {
            const LONG_PTR now = ::GetWindowLongPtrW(window, GWL_STYLE);
            ::SetWindowLongPtrW(window, GWL_STYLE, now | WS_SYSMENU);
            ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                               SWP_FRAMECHANGED);
        }
    } restore{Handle()};
    // The dialog rebuilds into its own copy; no automatic rebuild runs beside it.
    struct HoldAutoUpdate {
        CatalogKeeper* keeper;
        explicit HoldAutoUpdate(CatalogKeeper* k) : keeper(k) {
            if (keeper)
                keeper->SetSettingsOpen(true);
        }
        ~HoldAutoUpdate() {
            if (keeper)
                keeper->SetSettingsOpen(false);
        }
        HoldAutoUpdate(const HoldAutoUpdate&) = delete;
        HoldAutoUpdate& operator=(const HoldAutoUpdate&) = delete;
    } hold{keeper_};
    if (settings_.show)
        settings_.show();
}

void SearchWindow::OnContextMenu(POINT at) {
    if (at.x == -1 && at.y == -1) { // from the keyboard: at the page control
        RECT tabs;
        ::GetWindowRect(pageControl_, &tabs);
        at = {tabs.left + 8, tabs.top + 8};
    }
    const UINT chosen = UINT(::TrackPopupMenu(popup_.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x,
                                              at.y, 0, Handle(), nullptr));
    if (chosen)
        OnCommand(int(chosen));
}

// --- keys -------------------------------------------------------------------------------

SearchFocus SearchWindow::FocusKind() const {
    const HWND focus = ::GetFocus();
    if (focus && focus == run_->Edit())
        return SearchFocus::RunEdit;
    if (focus && focus == robot_->Edit())
        return SearchFocus::RobotEdit;
    if (focus && (focus == quick_->List() || focus == clipboard_->List()))
        return SearchFocus::PageList;
    if (focus && (focus == quick_->Filter() || focus == clipboard_->Filter()))
        return SearchFocus::PageFilter;
    return SearchFocus::Other;
}

bool SearchWindow::PreTranslateMessage(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        return false;
    if (!Handle() || (message.hwnd != Handle() && !::IsChild(Handle(), message.hwnd)))
        return false;
    SearchKeyStroke key;
    key.virtualKey = std::uint32_t(message.wParam);
    key.ctrl = ::GetKeyState(VK_CONTROL) < 0;
    key.shift = ::GetKeyState(VK_SHIFT) < 0;
    key.alt = ::GetKeyState(VK_MENU) < 0 ||
              (message.message == WM_SYSKEYDOWN && (message.lParam & (1 << 29)) != 0);
    return RunKey(ClassifySearchKey(key, ActiveTab(), FocusKind()), PinnedSlot(key));
}

bool SearchWindow::RunKey(SearchKeyAction action, int pinnedSlot) {
    switch (action) {
    case SearchKeyAction::PassOn:
        return false;
    case SearchKeyAction::Consume:
        return true;
    case SearchKeyAction::CloseRequest:
        CloseRequest();
        return true;
    case SearchKeyAction::Settings:
        SettingsCommand();
        return true;
    case SearchKeyAction::CloseCommand:
        CloseCommand();
        return true;
    case SearchKeyAction::NextTab:
    case SearchKeyAction::PreviousTab: {
        const int step = action == SearchKeyAction::NextTab ? 1 : layout::kTabCount - 1;
        SelectTab(Tab((int(ActiveTab()) + step) % layout::kTabCount));
        return true;
    }
    case SearchKeyAction::PinSelected:
        PinSelectedRow();
        return true;
    case SearchKeyAction::StartPinned:
        quick_->StartSlot(pinnedSlot);
        return true;
    default:
        // The rest belong to the page the key table chose them for.
        return tabs_[std::size_t(ActiveTab())]->HandleKey(action);
    }
}

} // namespace orvan::ui
