#include "ui/details_window.h"

#include "core/base/line_breaks.h"
#include "core/ui/details_layout.h"
#include "ui/clipboard.h"
#include "ui/file_dialogs.h"
#include "ui/message_dialog.h"
#include "ui/modal.h"
#include "ui/pictures.h"
#include "ui/search_tab.h"
#include "win32/system_message.h"
#include "win32/wide_text.h"

#include <commctrl.h>

namespace orvan::ui {

namespace {

namespace layout = details_layout;

constexpr const wchar_t* kDetailsClass = L"TStatus";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

constexpr int kDetailsTab = 0;
constexpr int kMemoTab = 1;

// Where a control designed at 96 DPI in a parent of `designed` size goes in a parent of
// `actual` size at a DPI.
RECT Place(const DesignedControl& control, UiSize designed, UiSize actual, int dpi) {
    const UiRect r = AnchorInParent(
        ScaleForDpi(control.rect, dpi), control.anchors,
        {ScaleForDpi(designed.width, dpi), ScaleForDpi(designed.height, dpi)}, actual);
    return ToRect(r.left, r.top, r.width, r.height);
}

bool DefaultSaveDialog(HWND owner, SaveDialogRequest& request) {
    return ExecuteSaveDialog(owner, request.fileName, request.title, request.addAllFiles,
                             request.filter, request.defaultExtension);
}

} // namespace

DetailsWindow::DetailsWindow(TextFileServices files)
    : files_(files), saveDialog_(DefaultSaveDialog) {}

DetailsWindow::~DetailsWindow() = default;

bool DetailsWindow::Create(HWND owner, const std::string& detailsText, HICON picture) {
    static WindowClassRegistration registration = RegisterWindowClass(
        kDetailsClass, 0, ::LoadCursorW(nullptr, IDC_ARROW),
        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), ProgramPictures().ProgramIcon(32));
    owner_ = owner;
    picture_ = picture;
    const HWND hwnd = CreateWindowFor(kExStyle, kDetailsClass, L"", kStyle, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 400, 360, owner, nullptr);
    if (!hwnd)
        return false;
    // The designed client size at the window's DPI, centred on its screen.
    SetDesignedClientSize(hwnd, layout::kClient, dpi_);
    CenterWindow(hwnd);
    Fill(detailsText, picture);
    return true;
}

// --- messages ---------------------------------------------------------------------------

LRESULT DetailsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.hwndFrom == pageControl_ && header.code == TCN_SELCHANGE)
            SelectTab(int(::SendMessageW(pageControl_, TCM_GETCURSEL, 0, 0)));
        return 0;
    }
    case WM_CLOSE:
        Close();
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE: {
        const COLORREF body = TabBodyColor(Handle());
        detailsPage_.SetBackground(body);
        icon_.SetBackground(body);
        return DefaultProc(message, wParam, lParam);
    }
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

void DetailsWindow::OnCreate() {
    dpi_ = WindowDpi(Handle());
    pageControl_ = ::CreateWindowExW(
        WS_EX_CONTROLPARENT, WC_TABCONTROLW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0,
        Handle(), reinterpret_cast<HMENU>(INT_PTR(DetailsId::PageControl)), ModuleInstance(),
        nullptr);
    for (int tab = 0; tab < 2; ++tab) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(pageControl_, TCM_INSERTITEMW, WPARAM(tab), reinterpret_cast<LPARAM>(&item));
    }
    detailsPage_.Create(pageControl_, RECT{0, 0, 10, 10});
    memoPage_.Create(pageControl_, RECT{0, 0, 10, 10});
    icon_.Create(detailsPage_.Handle(), DetailsId::Icon, RECT{});
    heading_ = CreateChild(L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 0,
                           detailsPage_.Handle(), DetailsId::Heading);
    grid_.Create(detailsPage_.Handle(), DetailsId::Grid, RECT{});
    memo_ = CreateChild(L"EDIT", L"",
                        WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                            ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL,
                        WS_EX_CLIENTEDGE, memoPage_.Handle(), DetailsId::Memo);
    toClipboard_ = CreateChild(L"BUTTON", L"", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, Handle(),
                               DetailsId::ToClipboard);
    close_ = CreateChild(L"BUTTON", L"", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, Handle(),
                         DetailsId::Close);

    // The icon and the heading sit on the theme's tab body, as on the search window.
    const COLORREF body = TabBodyColor(Handle());
    detailsPage_.SetBackground(body);
    memoPage_.SetBackground(body);
    icon_.SetBackground(body);

    grid_.OnContextMenu([this](POINT screen) { ShowPopup(screen); });
    popup_.Reset(::CreatePopupMenu());
    for (const DetailsCommand command :
         {DetailsCommand::CopyValue, DetailsCommand::CopyAllValues, DetailsCommand::SaveToFile}) {
        if (command == DetailsCommand::SaveToFile)
            ::AppendMenuW(popup_.Get(), MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(popup_.Get(), MF_STRING, UINT_PTR(kDetailsMenuBase + int(command)), L"");
    }

    const DetailsWindowTexts texts = MakeDetailsWindowTexts();
    ::SetWindowTextW(Handle(), win32::Wide(texts.caption).c_str());
    const std::wstring tabs[2] = {win32::Wide(texts.caption), win32::Wide(texts.memoTab)};
    for (int tab = 0; tab < 2; ++tab) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(tabs[tab].c_str());
        ::SendMessageW(pageControl_, TCM_SETITEMW, WPARAM(tab), reinterpret_cast<LPARAM>(&item));
    }
    ::SetWindowTextW(toClipboard_, win32::Wide(texts.toClipboard).c_str());
    ::SetWindowTextW(close_, win32::Wide(texts.close).c_str());
    ApplyDpi(dpi_);
    SelectTab(kDetailsTab);
}

void DetailsWindow::ApplyDpi(int dpi) {
    dpi_ = dpi;
    font_ = CreatePointFont(L"Tahoma", 8, dpi_);
    for (const HWND control : {pageControl_, heading_, memo_, toClipboard_, close_})
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
    grid_.SetDpi(dpi_, font_.Get());
    const int iconSize = ScaleForDpi(32, dpi_);
    icon_.SetIcon(picture_, iconSize);
}

void DetailsWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    ApplyDpi(dpi);
    MoveToSuggested(Handle(), suggested);
}

void DetailsWindow::OnSize() {
    RECT client;
    ::GetClientRect(Handle(), &client);
    const UiSize size{client.right, client.bottom};
    MoveTo(pageControl_, Place(layout::kPageControl, layout::kClient, size, dpi_));
    MoveTo(toClipboard_, Place(layout::kToClipboard, layout::kClient, size, dpi_));
    MoveTo(close_, Place(layout::kClose, layout::kClient, size, dpi_));
    LayoutPages();
}

void DetailsWindow::LayoutPages() {
    if (!pageControl_)
        return;
    RECT tabs;
    ::GetClientRect(pageControl_, &tabs);
    RECT display = tabs;
    ::SendMessageW(pageControl_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    const UiSize page{std::max(0, int(display.right - display.left)),
                      std::max(0, int(display.bottom - display.top))};
    for (const HWND panel : {detailsPage_.Handle(), memoPage_.Handle()})
        ::MoveWindow(panel, display.left, display.top, page.width, page.height, TRUE);
    MoveTo(icon_.Handle(), Place(layout::kIcon, layout::kPage, page, dpi_));
    MoveTo(heading_, Place(layout::kHeading, layout::kPage, page, dpi_));
    MoveTo(grid_.Handle(), Place(layout::kGrid, layout::kPage, page, dpi_));
    MoveTo(memo_, Place(layout::kMemo, layout::kPage, page, dpi_));
}

void DetailsWindow::SelectTab(int tab) {
    ::SendMessageW(pageControl_, TCM_SETCURSEL, WPARAM(tab), 0);
    ::ShowWindow(detailsPage_.Handle(), tab == kDetailsTab ? SW_SHOW : SW_HIDE);
    ::ShowWindow(memoPage_.Handle(), tab == kMemoTab ? SW_SHOW : SW_HIDE);
}

// --- content ----------------------------------------------------------------------------

void DetailsWindow::Fill(const std::string& detailsText, HICON picture) {
    content_ = ParseDetailsText(detailsText);
    picture_ = picture;
    icon_.SetIcon(picture_, ScaleForDpi(32, dpi_));
    std::string memo;
    for (const std::string& line : DetailsMemoLines(content_)) {
        if (!memo.empty())
            memo += "\r\n";
        memo += line;
    }
    ::SetWindowTextW(memo_, win32::Wide(memo).c_str());
    ::SetWindowTextW(heading_, win32::Wide(DetailsHeading(content_.objectName)).c_str());
    FillDetailsGrid(grid_.Model(), content_);
    SelectTab(kDetailsTab);
}

// --- showing and closing ----------------------------------------------------------------

void DetailsWindow::Show() {
    closed_ = false;
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    ::SetFocus(grid_.Handle());
}

bool DetailsWindow::Visible() const {
    return Handle() && !closed_ && ::IsWindowVisible(Handle());
}

void DetailsWindow::Close() {
    closed_ = true;
    // A modal run hides the window itself once the owner is back; hiding it while the owner
    // is still disabled would leave the program without an active window.
    if (!modal_)
        ::ShowWindow(Handle(), SW_HIDE);
}

void DetailsWindow::RunModal() {
    // The program's modal loop: the owner disabled meanwhile, the dialog keys (Esc is the
    // Close button's), and the owner enabled and active again before this window hides.
    ModalLoop loop(Handle(), nullptr);
    modal_ = true;
    Show();
    loop.Run(owner_, [this] { return closed_ || !Handle(); });
    modal_ = false;
}

// --- commands ---------------------------------------------------------------------------

void DetailsWindow::OnCommand(int id) {
    switch (id) {
    case DetailsId::Close:
        Close();
        return;
    case DetailsId::ToClipboard:
        CopyAllToClipboard();
        return;
    default:
        if (id >= kDetailsMenuBase && id <= kDetailsMenuBase + int(DetailsCommand::SaveToFile))
            Command(DetailsCommand(id - kDetailsMenuBase));
        return;
    }
}

void DetailsWindow::ShowPopup(POINT screen) {
    // Captions and enabling are set anew each time the menu opens.
    for (const DetailsMenuItem& item : PlanDetailsMenu(grid_.Model())) {
        const UINT id = UINT(kDetailsMenuBase + int(item.command));
        ::ModifyMenuW(popup_.Get(), id, MF_BYCOMMAND | MF_STRING, id,
                      win32::Wide(item.caption).c_str());
        ::EnableMenuItem(popup_.Get(), id, MF_BYCOMMAND | (item.enabled ? MF_ENABLED : MF_GRAYED));
    }
    const UINT chosen = UINT(::TrackPopupMenu(popup_.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                              screen.x, screen.y, 0, Handle(), nullptr));
    if (chosen)
        OnCommand(int(chosen));
}

void DetailsWindow::Command(DetailsCommand command) {
    // The menu shows only what may run; a command that arrives otherwise does nothing.
    for (const DetailsMenuItem& item : PlanDetailsMenu(grid_.Model()))
        if (item.command == command && !item.enabled)
            return;
    switch (command) {
    case DetailsCommand::CopyValue:
        CopyText(DetailsSelectedValue(grid_.Model()));
        break;
    case DetailsCommand::CopyAllValues:
        CopyAllToClipboard();
        break;
    case DetailsCommand::SaveToFile:
        SaveWithDialog();
        break;
    }
}

void DetailsWindow::CopyAllToClipboard() {
    CopyText(DetailsClipboardText(grid_.Model()));
}

void DetailsWindow::CopyText(const std::string& text) {
    DWORD error = 0;
    if (!CopyTextToClipboard(Handle(), win32::Wide(text), &error))
        ShowFailure(win32::SystemMessage(error));
}

void DetailsWindow::SaveWithDialog() {
    SaveDialogRequest request = DetailsSaveRequest(content_.objectName);
    if (saveDialog_ && saveDialog_(Handle(), request))
        SaveToFile(request.fileName);
    // The dialogs took the focus; the user goes on where they were.
    if (Handle() && !closed_) {
        ::SetActiveWindow(Handle());
        ::SetFocus(grid_.Handle());
    }
}

bool DetailsWindow::SaveToFile(const std::string& fileName) {
    std::string error;
    if (SaveTextToFile(DetailsExportText(grid_.Model()), fileName, files_, error))
        return true;
    ShowFailure(error);
    return false;
}

void DetailsWindow::ShowFailure(const std::string& errorText) {
    const DetailsMessage message = DetailsFailureMessage(errorText);
    ShowMessageDialog(message.title, message.text);
}

// --- the entry --------------------------------------------------------------------------

void ShowDetails(HWND owner, const std::string& detailsText, HICON picture,
                 const TextFileServices& files, DetailsWindow** current) {
    DetailsWindow window(files);
    {
        WaitCursor wait; // while the window is built
        if (!window.Create(owner, detailsText, picture))
            return;
    }
    struct Publish {
        DetailsWindow** current;
        ~Publish() {
            if (current)
                *current = nullptr;
        }
    } publish{current};
    if (current)
        *current = &window;
    window.RunModal();
}

} // namespace orvan::ui
