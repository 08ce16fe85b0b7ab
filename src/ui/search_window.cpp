#include "ui/search_window.h"

#include "core/language/language.h"
#include "core/ports/clock.h"
#include "core/robot/version.h"
#include "core/ui/available_view.h"
#include "core/ui/search_texts.h"
#include "platform/native.h"
#include "platform/native_shell.h"
#include "platform/win32/wide_text.h"
#include "ui/icon_cache.h"
#include "ui/pictures.h"

#include <shellapi.h>
#include <vsstyle.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace orvan::ui {

namespace {

using search_layout::Tab;
namespace layout = search_layout;

constexpr const wchar_t* kSearchClass = L"TSearch";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

std::wstring TextW(int id) {
    return platform::Wide(Languages::Text(id));
}

RECT Place(const DesignedControl& control, int dpi, UiSize designedParent, UiSize parent) {
    const UiRect scaled = ScaleForDpi(control.rect, dpi);
    const UiSize designed{ScaleForDpi(designedParent.width, dpi),
                          ScaleForDpi(designedParent.height, dpi)};
    const UiRect r = AnchorInParent(scaled, control.anchors, designed, parent);
    return ToRect(r.left, r.top, r.width, r.height);
}

void Move(HWND window, const RECT& rect) {
    if (window)
        ::MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     TRUE);
}

HWND MakeChild(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle,
               HWND parent, int id) {
    return ::CreateWindowExW(exStyle, className, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(INT_PTR(id)), ModuleInstance(), nullptr);
}

std::u16string ToU16(const std::wstring& text) {
    return std::u16string(text.begin(), text.end());
}

std::wstring FromU16(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

// The colour of the themed tab-page body: a 100 by 100 bitmap filled with the button
// face colour, the theme's tab body drawn over it, and the pixel in the middle.
COLORREF ReadTabBodyColor(HWND window) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    UniqueTheme theme(::OpenThemeData(window, L"TAB"));
    if (!theme)
        return face;
    WindowDc screen(window);
    UniqueMemoryDc dc(::CreateCompatibleDC(screen.Get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), 100, 100));
    if (!dc || !bitmap)
        return face;
    SelectGuard select(dc.Get(), bitmap.Get());
    RECT all{0, 0, 100, 100};
    UniqueBrush brush(::CreateSolidBrush(face));
    ::FillRect(dc.Get(), &all, brush.Get());
    ::DrawThemeBackground(theme.Get(), dc.Get(), TABP_BODY, 0, &all, nullptr);
    const COLORREF pixel = ::GetPixel(dc.Get(), 50, 50);
    return pixel == CLR_INVALID ? face : pixel;
}

} // namespace

SearchServices SystemSearchServices(const OptionsServices& options) {
    RunBuildEnvironment build;
    build.fileSystem = &platform::FileSystem();
    build.folderListing = &platform::FolderListing();
    return {
        options,
        {platform::FileStore(), platform::XmlReader()},
        build,
        [] { return CurrentClock().Now(); },
        {&platform::FileSystem(), &platform::VersionInfo(), &platform::Volumes()},
        &platform::Shell(),
    };
}

SearchWindow::SearchWindow(SearchServices services) : services_(std::move(services)) {
    for (auto& sheet : sheets_)
        sheet = std::make_unique<TabSheet>();
}

SearchWindow::~SearchWindow() {
    RegisterGeometryAccess(nullptr);
    if (applyListener_ >= 0)
        RemoveApplyListener(applyListener_);
    SetUnexpectedErrorHandler(nullptr);
}

HWND SearchWindow::Create(HWND owner) {
    static WindowClassRegistration registration = RegisterWindowClass(
        kSearchClass, CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), ProgramPictures().ProgramIcon(32));
    const HWND hwnd = CreateWindowFor(kExStyle, kSearchClass, L"", kStyle, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 400, 400, owner, nullptr);
    if (!hwnd)
        return nullptr;
    // The designed client size at the window's DPI, centred on its monitor's work area.
    dpi_ = WindowDpi(hwnd);
    RECT frame{0, 0, ScaleForDpi(layout::kClient.width, dpi_),
               ScaleForDpi(layout::kClient.height, dpi_)};
    ::AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, UINT(dpi_));
    ::SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& work = info.rcWork;
    const UiPoint at = orvan::CenterOnWorkArea(
        {work.left, work.top, work.right - work.left, work.bottom - work.top},
        frame.right - frame.left, frame.bottom - frame.top);
    ::SetWindowPos(hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);

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
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY:
        OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case WM_DRAWITEM:
        OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_ACTIVATEAPP:
        OnActivateApp(wParam != FALSE);
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
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

void SearchWindow::OnCreate() {
    dpi_ = WindowDpi(Handle());
    CreateFonts();
    CreateControls();
    robot_.SetDpi(dpi_);
}

void SearchWindow::CreateFonts() {
    font_ = CreatePointFont(L"Tahoma", 8, dpi_);
    linkFont_ = CreatePointFont(L"Tahoma", 8, dpi_, false, true);
}

void SearchWindow::CreateControls() {
    const HWND self = Handle();
    pageControl_ =
        MakeChild(WC_TABCONTROLW, L"", WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                  WS_EX_CONTROLPARENT, self, SearchId::PageControl);
    ::SendMessageW(pageControl_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    // Narrow tab padding, so that the six captions fit the designed width in one row.
    ::SendMessageW(pageControl_, TCM_SETPADDING, 0,
                   MAKELPARAM(ScaleForDpi(3, dpi_), ScaleForDpi(3, dpi_)));
    for (int tab = 0; tab < layout::kTabCount; ++tab) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(pageControl_, TCM_INSERTITEMW, WPARAM(tab), reinterpret_cast<LPARAM>(&item));
        sheets_[std::size_t(tab)]->Create(pageControl_, self, RECT{0, 0, 10, 10});
    }
    const auto sheet = [&](Tab tab) { return sheets_[std::size_t(tab)]->Handle(); };

    // The run tab.
    const HWND run = sheet(Tab::Run);
    runEdit_ = MakeChild(L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                         run, SearchId::RunEdit);
    runIcon_.Create(run, SearchId::RunIcon, RECT{});
    runLabel_.Create(run, SearchId::RunLabel, RECT{});
    Pictures& pictures = ProgramPictures();
    const int glyph = ScaleForDpi(16, dpi_);
    execute_.Create(run, SearchId::RunExecute, RECT{}, pictures.ButtonGlyph(Glyph::Execute, glyph),
                    pictures.ButtonGlyph(Glyph::Execute, glyph, true));
    detailsButton_.Create(run, SearchId::RunDetails, RECT{},
                          pictures.ButtonGlyph(Glyph::Details, glyph),
                          pictures.ButtonGlyph(Glyph::Details, glyph, true));
    copy_.Create(run, SearchId::RunCopy, RECT{}, pictures.ButtonGlyph(Glyph::Copy, glyph),
                 pictures.ButtonGlyph(Glyph::Copy, glyph, true));
    bevel_ = MakeChild(L"STATIC", L"", WS_VISIBLE | SS_ETCHEDHORZ, 0, run, SearchId::RunBevel);
    list_.Create(run, SearchId::AvailableList, RECT{},
                 ScaleForDpi(layout::kAvailableRowHeight, dpi_), *this);

    // The placeholder tabs.
    for (int i = 0; i < 3; ++i)
        placeholders_[std::size_t(i)] =
            MakeChild(L"STATIC", L"", WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0,
                      sheet(Tab(i + 1)), SearchId::Placeholder + i + 1);

    // The robot tab.
    robotPanel_.Create(sheet(Tab::Robot), self, RECT{});
    robotPanel_.SetBackground(::GetSysColor(COLOR_WINDOW));
    ::ShowWindow(robotPanel_.Handle(), SW_SHOW);
    robot_.Create(robotPanel_.Handle(), SearchId::RobotView, RECT{});
    robotEdit_ = MakeChild(L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                           sheet(Tab::Robot), SearchId::RobotEdit);

    // The about tab.
    const HWND about = sheet(Tab::About);
    aboutText_ = MakeChild(L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, about,
                           SearchId::AboutText);
    aboutIcon_.Create(about, SearchId::AboutIcon, RECT{});
    aboutIcon_.SetIcon(pictures.ProgramIcon(ScaleForDpi(48, dpi_)), ScaleForDpi(48, dpi_));
    aboutLink_.Create(about, SearchId::AboutLink, RECT{}, platform::Wide(layout::kWebCaption));
    aboutLink_.SetHint(platform::Wide(layout::kWebAddress));
    aboutLink_.SetFont(linkFont_.Get());
    aboutLink_.OnClick([this] { OpenWebLink(); });

    for (HWND control : {runEdit_, list_.Handle(), robotEdit_, aboutText_, placeholders_[0],
                         placeholders_[1], placeholders_[2]})
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    runLabel_.SetFont(font_.Get());
    robot_.Memo().SetLineHeight(ScaleForDpi(layout::kRobotLineHeight, dpi_));

    // The popup menu of the page control.
    popup_.Reset(::CreatePopupMenu());
    ::AppendMenuW(popup_.Get(), MF_STRING, SearchId::MenuBase + layout::kTagSettings, L"");
    ::AppendMenuW(popup_.Get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(popup_.Get(), MF_STRING, SearchId::MenuBase + layout::kTagHide, L"");
    ::AppendMenuW(popup_.Get(), MF_STRING, SearchId::MenuBase + layout::kTagClose, L"");

    ::ShowWindow(list_.Handle(), SW_HIDE);
    SelectTab(Tab::Run);
}

void SearchWindow::OnSize() {
    RECT client;
    ::GetClientRect(Handle(), &client);
    Move(pageControl_,
         Place(layout::kPageControl, dpi_, layout::kClient, {client.right, client.bottom}));
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
    for (auto& sheet : sheets_)
        ::MoveWindow(sheet->Handle(), display.left, display.top, page.width, page.height, TRUE);

    const auto place = [&](const DesignedControl& control) {
        return Place(control, dpi_, layout::kPage, page);
    };
    Move(runEdit_, place(layout::kRunEdit));
    Move(runIcon_.Handle(), place(layout::kRunIcon));
    Move(runLabel_.Handle(), place(layout::kRunLabel));
    Move(execute_.Handle(), place(layout::kRunExecute));
    Move(detailsButton_.Handle(), place(layout::kRunDetails));
    Move(copy_.Handle(), place(layout::kRunCopy));
    Move(bevel_, place(layout::kRunBevel));
    Move(list_.Handle(), place(layout::kAvailableList));
    for (HWND label : placeholders_)
        Move(label, place(layout::kFillPage));
    Move(robotPanel_.Handle(), place(layout::kRobotPanel));
    RECT panel;
    ::GetClientRect(robotPanel_.Handle(), &panel);
    Move(robot_.Handle(), panel);
    Move(robotEdit_, place(layout::kRobotEdit));
    Move(aboutText_, place(layout::kAboutText));
    Move(aboutIcon_.Handle(), place(layout::kAboutIcon));
    Move(aboutLink_.Handle(), place(layout::kAboutLink));
}

void SearchWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    CreateFonts();
    for (HWND control : {pageControl_, runEdit_, list_.Handle(), robotEdit_, aboutText_,
                         placeholders_[0], placeholders_[1], placeholders_[2]})
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
    runLabel_.SetFont(font_.Get());
    aboutLink_.SetFont(linkFont_.Get());
    ::SendMessageW(list_.Handle(), LB_SETITEMHEIGHT, 0,
                   ScaleForDpi(layout::kAvailableRowHeight, dpi_));
    robot_.SetDpi(dpi_);
    Pictures& pictures = ProgramPictures();
    const int glyph = ScaleForDpi(16, dpi_);
    execute_.SetGlyph(pictures.ButtonGlyph(Glyph::Execute, glyph),
                      pictures.ButtonGlyph(Glyph::Execute, glyph, true));
    detailsButton_.SetGlyph(pictures.ButtonGlyph(Glyph::Details, glyph),
                            pictures.ButtonGlyph(Glyph::Details, glyph, true));
    copy_.SetGlyph(pictures.ButtonGlyph(Glyph::Copy, glyph),
                   pictures.ButtonGlyph(Glyph::Copy, glyph, true));
    aboutIcon_.SetIcon(pictures.ProgramIcon(ScaleForDpi(48, dpi_)), ScaleForDpi(48, dpi_));
    ::SetWindowPos(Handle(), nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateRunDetails();
}

// --- initialisation, showing and hiding -------------------------------------------------

void SearchWindow::InitializeSearch() {
    ::SetWindowTextW(Handle(), platform::Wide(ApplicationTitle).c_str());
    SelectTab(Tab::Run);
    SettingsOptions options = LoadOptions(services_.options);
    LoadCatalog(options, services_.catalog);
    ApplyOptions(options);
    if (robotPage_)
        robotPage_->Setup(robot_.Memo());
    LocalizeCaptions();
    WriteLog(StartedAtText(services_.now ? services_.now() : 0.0, CurrentLocale()));
    ApplyThemeColors();
    UpdateRunDetails();
    initialized_ = true;
}

void SearchWindow::LocalizeCaptions() {
    for (int tab = 0; tab < layout::kTabCount; ++tab) {
        const std::wstring caption = TextW(layout::kTabCaptionIds[std::size_t(tab)]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(caption.c_str());
        ::SendMessageW(pageControl_, TCM_SETITEMW, WPARAM(tab), reinterpret_cast<LPARAM>(&item));
    }
    execute_.SetHint(TextW(layout::kExecuteHintId));
    detailsButton_.SetHint(TextW(layout::kDetailsHintId));
    copy_.SetHint(TextW(layout::kCopyHintId));
    const std::wstring notSupported = TextW(layout::kNotSupportedTextId);
    for (HWND label : placeholders_)
        ::SetWindowTextW(label, notSupported.c_str());
    ::SetWindowTextW(aboutText_, platform::Wide(AboutText()).c_str());
    const auto setItem = [&](int tag, int textId, const wchar_t* shortcut) {
        const std::wstring caption = TextW(textId) + L"\t" + shortcut;
        ::ModifyMenuW(popup_.Get(), UINT(SearchId::MenuBase + tag), MF_BYCOMMAND | MF_STRING,
                      UINT_PTR(SearchId::MenuBase + tag), caption.c_str());
    };
    setItem(layout::kTagSettings, layout::kOptionsCaptionId, L"F12");
    setItem(layout::kTagHide, layout::kHideCaptionId, L"Esc");
    setItem(layout::kTagClose, layout::kExitCaptionId, L"Alt+F4");
    LayoutPages(); // the tab row may have changed its height
}

void SearchWindow::ApplyThemeColors() {
    tabBody_ = ReadTabBodyColor(Handle());
    tabBodyBrush_.Reset(::CreateSolidBrush(tabBody_));
    runIcon_.SetBackground(tabBody_);
    runLabel_.SetBackground(tabBody_);
    robot_.Memo().SetBackgroundColor(MemoColor(tabBody_));
    for (auto& sheet : sheets_)
        sheet->SetBackground(tabBody_);
    execute_.SetBackground(tabBody_);
    detailsButton_.SetBackground(tabBody_);
    copy_.SetBackground(tabBody_);
    aboutIcon_.SetBackground(tabBody_);
    aboutLink_.SetBackground(tabBody_);
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
    CenterOnWorkArea();
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    if (ActiveTab() == Tab::Run) {
        ::SetFocus(runEdit_);
        ::SendMessageW(runEdit_, EM_SETSEL, 0, -1);
    }
}

void SearchWindow::OnShowing() {
    if (!initialized_)
        InitializeSearch();
    CenterOnWorkArea();
    Rebuild();
}

void SearchWindow::CenterOnWorkArea() {
    if (!CurrentOptions().autoCenter)
        return;
    RECT window;
    ::GetWindowRect(Handle(), &window);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &info);
    const RECT& work = info.rcWork;
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const UiPoint at = orvan::CenterOnWorkArea(
        {work.left, work.top, work.right - work.left, work.bottom - work.top}, width, height);
    ::SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void SearchWindow::CloseRequest() {
    ::ShowWindow(Handle(), SW_HIDE);
    if (!quitRequested_)
        return;
    std::string failure;
    try {
        SaveOptions(CurrentOptions(), services_.options);
    } catch (const OptionsWriteError& error) {
        failure = error.what();
    }
    if (failure.empty()) {
        const CatalogSaveResult saved = SaveCatalog(CurrentOptions(), services_.catalog);
        if (!saved.ok)
            failure = saved.error;
    }
    if (!failure.empty()) {
        // Ending now would lose what could not be written: stay, say so, and let the user
        // try again.
        quitRequested_ = false;
        WriteLog(ApplicationErrorText(failure));
        if (dialogs_)
            dialogs_->ShowMessageDialog(Languages::Text(0), failure);
        return;
    }
    if (closeMain_)
        closeMain_();
}

void SearchWindow::CloseCommand() {
    quitRequested_ = true;
    CloseRequest();
}

void SearchWindow::OnActivateApp(bool active) {
    if (active || !Visible() || !CurrentOptions().autoHide)
        return;
    if (SettingsVisible() || (details_.visible && details_.visible()))
        return;
    CloseRequest();
}

void SearchWindow::ApplyOptionsListener(const SettingsOptions& options) {
    ::SetWindowPos(Handle(), options.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
    robot_.Memo().AddEmptyLine();
    robot_.Memo().AddLine(text);
}

// --- tabs and commands ------------------------------------------------------------------

Tab SearchWindow::ActiveTab() const {
    const auto selected = ::SendMessageW(pageControl_, TCM_GETCURSEL, 0, 0);
    return selected < 0 || selected >= layout::kTabCount ? Tab::Run : Tab(selected);
}

void SearchWindow::SelectTab(Tab tab) {
    ::SendMessageW(pageControl_, TCM_SETCURSEL, WPARAM(tab), 0);
    for (int i = 0; i < layout::kTabCount; ++i)
        ::ShowWindow(sheets_[std::size_t(i)]->Handle(), i == int(tab) ? SW_SHOW : SW_HIDE);
    if (tab == Tab::Run && Visible())
        ::SetFocus(runEdit_);
    else if (tab == Tab::Robot && Visible())
        ::SetFocus(robotEdit_);
}

void SearchWindow::ShowPage(int page) {
    if (page >= 0 && page < layout::kTabCount)
        SelectTab(Tab(page));
}

void SearchWindow::Terminate() {
    ::PostQuitMessage(0);
}

HWND SearchWindow::Button(int tag) const {
    switch (tag) {
    case layout::kTagExecute:
        return execute_.Handle();
    case layout::kTagDetails:
        return detailsButton_.Handle();
    case layout::kTagCopy:
        return copy_.Handle();
    default:
        return nullptr;
    }
}

void SearchWindow::OnCommand(int id, int code, HWND control) {
    (void)control;
    if (id == SearchId::RunEdit && code == EN_CHANGE) {
        Rebuild();
        return;
    }
    if (id == SearchId::AvailableList) {
        if (code == LBN_SELCHANGE)
            UpdateRunDetails();
        else if (code == LBN_DBLCLK && list_.Selection() >= 0)
            RunSelected();
        return;
    }
    if (id >= SearchId::RunExecute - 3 && id <= SearchId::RunExecute && code == BN_CLICKED) {
        ButtonClick(id - 1010);
        return;
    }
    if (id > SearchId::MenuBase && id <= SearchId::MenuBase + layout::kTagClose) {
        PopupClick(id - SearchId::MenuBase);
        return;
    }
}

void SearchWindow::OnNotify(const NMHDR& header) {
    if (header.hwndFrom == pageControl_ && header.code == TCN_SELCHANGE)
        SelectTab(ActiveTab());
}

void SearchWindow::ButtonClick(int tag) {
    switch (tag) {
    case layout::kTagExecute:
        RunSelected();
        break;
    case layout::kTagDetails:
        if (details_.show)
            details_.show(platform::Narrow(WindowText(runLabel_.Handle()).c_str()),
                          runIcon_.Icon());
        break;
    case layout::kTagCopy:
        CopyDetailsToClipboard();
        break;
    default:
        break;
    }
}

void SearchWindow::PopupClick(int tag) {
    switch (tag) {
    case layout::kTagSettings:
        SettingsCommand();
        break;
    case layout::kTagHide:
        CloseRequest();
        break;
    case layout::kTagClose:
        CloseCommand();
        break;
    default:
        break;
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
    if (settings_.show)
        settings_.show();
}

void SearchWindow::OnContextMenu(HWND target, POINT at) {
    (void)target;
    if (at.x == -1 && at.y == -1) { // from the keyboard: at the page control
        RECT tabs;
        ::GetWindowRect(pageControl_, &tabs);
        at = {tabs.left + 8, tabs.top + 8};
    }
    const UINT chosen = UINT(::TrackPopupMenu(popup_.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x,
                                              at.y, 0, Handle(), nullptr));
    if (chosen)
        PopupClick(int(chosen) - SearchId::MenuBase);
}

void SearchWindow::CopyDetailsToClipboard() {
    // The label keeps single CR line breaks; other programs expect CR LF.
    const std::wstring text = WindowText(runLabel_.Handle());
    std::wstring plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        plain += text[i];
        if (text[i] == L'\r' && (i + 1 >= text.size() || text[i + 1] != L'\n'))
            plain += L'\n';
    }
    if (!::OpenClipboard(Handle()))
        return;
    ::EmptyClipboard();
    const std::size_t bytes = (plain.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = ::GlobalLock(memory)) {
            std::memcpy(target, plain.c_str(), bytes);
            ::GlobalUnlock(memory);
            if (!::SetClipboardData(CF_UNICODETEXT, memory))
                ::GlobalFree(memory);
        } else {
            ::GlobalFree(memory);
        }
    }
    ::CloseClipboard();
}

void SearchWindow::OpenWebLink() {
    ::ShellExecuteW(nullptr, L"OPEN", aboutLink_.Hint().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// --- the candidate list and the details area --------------------------------------------

void SearchWindow::Rebuild() {
    WaitCursor wait;
    const std::wstring text = WindowText(runEdit_);
    try {
        BuildRunAvailableList(platform::Narrow(text.c_str(), text.size()),
                              CurrentOptions().catalog.items, available_, services_.build);
    } catch (...) {
        // A failing step still leaves a sorted list: show it, then let the error be reported.
        FillAvailableList();
        UpdateRunDetails();
        throw;
    }
    FillAvailableList();
    UpdateRunDetails();
}

void SearchWindow::FillAvailableList() {
    const HWND list = list_.Handle();
    const std::size_t count = available_.size();
    const bool visible = count > 0;
    if (visible != (::IsWindowVisible(list) != FALSE))
        ::ShowWindow(list, visible ? SW_SHOWNA : SW_HIDE);
    if (count == list_.Count()) {
        // The same number of rows: a refill would leave every row at its number, scrolled to
        // the top with row R selected, so only the rows' contents need drawing anew. This
        // spares the list box's scroll bar update, the costly part of a refill.
        const int row = SelectionAfterFill(list_.Selection(), count);
        if (::SendMessageW(list, LB_GETTOPINDEX, 0, 0) != 0)
            ::SendMessageW(list, LB_SETTOPINDEX, 0, 0);
        if (row != kNoRow)
            list_.Select(row);
        ::InvalidateRect(list, nullptr, FALSE);
        return;
    }
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const int previous = list_.Selection();
    list_.SetCount(count);
    const int row = SelectionAfterFill(previous, count);
    if (row != kNoRow)
        list_.Select(row);
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

std::wstring SearchWindow::RowName(std::size_t row) const {
    if (row >= available_.size())
        return {};
    return platform::Wide(available_[row].name);
}

void SearchWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem != list_.Handle())
        return;
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const RowColors colors = ChooseRowColors(selected, ::GetFocus() == list_.Handle());
    TextStateGuard state(dc);
    ::FillRect(dc, &r, ::GetSysColorBrush(colors.background));
    if (item.itemID != UINT(-1) && item.itemID < available_.size()) {
        const RunAvailableRow row = available_[item.itemID];
        const RowGeometry geometry =
            PlaceRow({r.left, r.top, r.right - r.left, r.bottom - r.top}, dpi_);
        // The shell is asked for icons once the window is idle, not while the rows are drawn
        // after a keystroke: until then a row shows the image of a file without an icon.
        HICON fileIcon = nullptr;
        if (RowWantsFileIcon(row.kind) &&
            PeekFileIcon(std::string(row.path), true, &fileIcon) == CachedIcon::Unknown)
            WantIcons();
        const RowIcon icon = ChooseRowIcon(row.kind, fileIcon != nullptr);
        const HICON picture =
            icon.fileIcon ? fileIcon : ProgramPictures().MainImage(icon.image, geometry.icon.width);
        ::DrawIconEx(dc, geometry.icon.left, geometry.icon.top, picture, geometry.icon.width,
                     geometry.icon.height, 0, nullptr, DI_NORMAL);
        SelectGuard font(dc, font_.Get());
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(colors.text));
        RECT text = ToRect(geometry.text.left, geometry.text.top, geometry.text.width,
                           geometry.text.height);
        const std::wstring name = platform::Wide(row.name);
        ::DrawTextW(dc, name.c_str(), int(name.size()), &text,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT);
    }
    if (item.itemState & ODS_FOCUS) {
        UniquePen pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_WINDOW)));
        SelectGuard penGuard(dc, pen.Get());
        SelectGuard brushGuard(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
        ::DrawFocusRect(dc, &r);
    }
}

void SearchWindow::UpdateRunDetails() {
    if (runPage_)
        runPage_->UpdateRunDetails(*this);
}

void SearchWindow::ShowDetails(const DetailsArea& area) {
    const int size = ScaleForDpi(layout::kRunIconImageSize, dpi_);
    HICON picture = nullptr;
    if (!area.iconPath.empty()) {
        picture = GetFileIcon(area.iconPath, false);
        runIcon_.SetIcon(picture ? picture : ProgramPictures().MainImage(2, size),
                         picture ? 0 : size);
    } else {
        runIcon_.SetIcon(ProgramPictures().MainImage(area.image, size), size);
    }
    ::SetWindowTextW(runLabel_.Handle(), platform::Wide(area.text).c_str());
    ::EnableWindow(execute_.Handle(), area.buttonsEnabled);
    ::EnableWindow(detailsButton_.Handle(), area.buttonsEnabled);
    if (area.timerOn != timerOn_) {
        timerOn_ = area.timerOn;
        if (timerOn_)
            ::SetTimer(Handle(), kRunLabelTimer, 500, nullptr);
        else
            ::KillTimer(Handle(), kRunLabelTimer);
    }
    ::InvalidateRect(runIcon_.Handle(), nullptr, FALSE);
}

bool SearchWindow::HasLargeIcon(const std::string& path) {
    switch (PeekFileIcon(path, false)) {
    case CachedIcon::Present:
        return true;
    case CachedIcon::None:
        return false;
    case CachedIcon::Unknown:
        break;
    }
    // Not asked yet: shown as a file without an icon until the idle fetch has it.
    detailsIconPath_ = path;
    WantIcons();
    return false;
}

void SearchWindow::OnTimer(UINT_PTR id) {
    if (id == kRunLabelTimer)
        Rebuild();
    else if (id == kIconTimer)
        LoadWantedIcons();
}

void SearchWindow::WantIcons() {
    if (iconTimerOn_ || !Handle())
        return;
    // A timer message comes only when no input and no painting wait, so typing goes first.
    iconTimerOn_ = ::SetTimer(Handle(), kIconTimer, 10, nullptr) != 0;
}

void SearchWindow::LoadWantedIcons() {
    ::KillTimer(Handle(), kIconTimer);
    iconTimerOn_ = false;
    const HWND list = list_.Handle();
    bool rows = false;
    if (::IsWindowVisible(list)) {
        RECT client;
        ::GetClientRect(list, &client);
        const auto top = ::SendMessageW(list, LB_GETTOPINDEX, 0, 0);
        const auto height = std::max<LRESULT>(1, ::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
        const std::size_t first = top < 0 ? 0 : std::size_t(top);
        const std::size_t last =
            std::min(available_.size(), first + std::size_t(client.bottom / height) + 1);
        for (std::size_t i = first; i < last; ++i) {
            const RunAvailableRow row = available_[i];
            const std::string path(row.path);
            if (RowWantsFileIcon(row.kind) && PeekFileIcon(path, true) == CachedIcon::Unknown) {
                GetFileIcon(path, true);
                rows = true;
            }
        }
    }
    if (rows)
        ::InvalidateRect(list, nullptr, FALSE);
    if (!detailsIconPath_.empty()) {
        GetFileIcon(detailsIconPath_, false);
        detailsIconPath_.clear();
        UpdateRunDetails(); // asked again, the probe finds the icon fetched
    }
}

std::u16string SearchWindow::InputText() const {
    return ToU16(WindowText(runEdit_));
}

std::size_t SearchWindow::Caret() const {
    DWORD start = 0, end = 0;
    ::SendMessageW(runEdit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    return end;
}

void SearchWindow::SetInput(const std::u16string& text, std::size_t caret) {
    ::SetWindowTextW(runEdit_, FromU16(text).c_str());
    ::SendMessageW(runEdit_, EM_SETSEL, caret, LPARAM(caret));
}

std::optional<std::size_t> SearchWindow::SelectedRow() const {
    if (!::IsWindowVisible(list_.Handle()))
        return std::nullopt;
    const int row = list_.Selection();
    return row < 0 ? std::nullopt : std::optional<std::size_t>(std::size_t(row));
}

void SearchWindow::RunSelected() {
    if (!runPage_ || list_.Count() == 0 || list_.Selection() < 0)
        return;
    if (runPage_->RunSelected(*this))
        ::SetWindowTextW(runEdit_, L"");
}

// --- keys -------------------------------------------------------------------------------

SearchFocus SearchWindow::FocusKind() const {
    const HWND focus = ::GetFocus();
    if (focus && focus == runEdit_)
        return SearchFocus::RunEdit;
    if (focus && focus == robotEdit_)
        return SearchFocus::RobotEdit;
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
    const SearchKeyAction action = ClassifySearchKey(key, ActiveTab(), FocusKind());
    return RunKey(action);
}

bool SearchWindow::RunKey(SearchKeyAction action) {
    switch (action) {
    case SearchKeyAction::PassOn:
        return false;
    case SearchKeyAction::Consume:
        return true;
    case SearchKeyAction::RunSelected:
        RunSelected();
        return true;
    case SearchKeyAction::RobotEnter:
        RobotEnter();
        return true;
    case SearchKeyAction::CloseRequest:
        CloseRequest();
        return true;
    case SearchKeyAction::Complete:
        if (runPage_)
            runPage_->Complete(*this);
        return true;
    case SearchKeyAction::CutPathComponent:
        if (runPage_)
            runPage_->CutPathComponent(*this);
        return true;
    case SearchKeyAction::HistoryRecall:
        if (runPage_)
            runPage_->RecallHistory(*this);
        return true;
    case SearchKeyAction::SelectPrevious:
    case SearchKeyAction::SelectNext: {
        const std::optional<int> row =
            MoveSelection(list_.Selection(), list_.Count(), ::IsWindowVisible(list_.Handle()),
                          action == SearchKeyAction::SelectPrevious);
        if (row) {
            list_.Select(*row);
            UpdateRunDetails();
        }
        return true;
    }
    case SearchKeyAction::RobotOlder:
        if (robotPage_)
            SetRobotLine(robotPage_->Older());
        return true;
    case SearchKeyAction::RobotNewer:
        if (robotPage_)
            SetRobotLine(robotPage_->Newer());
        return true;
    case SearchKeyAction::RobotScrollNewer:
        if (robotPage_)
            robotPage_->ScrollNewer(robot_.Memo());
        return true;
    case SearchKeyAction::RobotScrollOlder:
        if (robotPage_)
            robotPage_->ScrollOlder(robot_.Memo());
        return true;
    case SearchKeyAction::Settings:
        SettingsCommand();
        return true;
    case SearchKeyAction::CloseCommand:
        CloseCommand();
        return true;
    }
    return false;
}

void SearchWindow::RobotEnter() {
    if (!robotPage_)
        return;
    const std::wstring line = WindowText(robotEdit_);
    const int key = robotPage_->Enter(robot_.Memo(), platform::Narrow(line.c_str(), line.size()));
    if (key >= 0)
        ExecuteCommand(*this, key);
    ::SetWindowTextW(robotEdit_, L"");
}

void SearchWindow::SetRobotLine(const std::string& text) {
    ::SetWindowTextW(robotEdit_, platform::Wide(text).c_str());
    ::SendMessageW(robotEdit_, EM_SETSEL, 0, -1);
}

LRESULT SearchWindow::OnCtlColor(HDC dc, HWND control) {
    (void)control;
    ::SetBkColor(dc, tabBody_);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(tabBodyBrush_ ? tabBodyBrush_.Get()
                                                   : ::GetSysColorBrush(COLOR_BTNFACE));
}

} // namespace orvan::ui
