#include "ui/settings_window.h"

#include "core/base/line_breaks.h"
#include "core/catalog/scanner.h"
#include "core/language/language.h"
#include "core/language/language_file.h"
#include "core/settings/catalog_path_list.h"
#include "core/settings/hot_key_choice.h"
#include "core/ui/settings_layout.h"
#include "platform/native.h"
#include "ui/hot_key_registration.h"
#include "ui/message_dialog.h"
#include "ui/settings_path_window.h"
#include "win32/wide_text.h"

#include <commctrl.h>
#include <windowsx.h>

namespace orvan::ui {

namespace {

namespace layout = settings_layout;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
constexpr int kPageCount = 3;

// A control of a page with its designed place on the page.
struct PagePlace {
    SettingsPage page;
    int id;
    DesignedControl place;
};

DesignedControl CheckPlace(std::size_t position) {
    // The first four boxes form the left column, the next four the right one; the order box
    // comes under the left column.
    UiRect rect = position < 4 || position >= 8 ? layout::kLeftColumn : layout::kRightColumn;
    rect.top += int(position < 8 ? position % 4 : 4) * layout::kCheckPitch;
    return {rect, Anchor::TopLeft};
}

std::vector<PagePlace> PagePlaces() {
    std::vector<PagePlace> places;
    for (std::size_t i = 0; i < kSettingsCheckCount; ++i)
        places.push_back({SettingsPage::General, SettingsId::FirstCheck + int(i), CheckPlace(i)});
    DesignedControl language = layout::kLanguage;
    language.rect.height += layout::kLanguageDropHeight;
    places.insert(places.end(),
                  {
                      {SettingsPage::General, SettingsId::Forget, layout::kForget},
                      {SettingsPage::General, SettingsId::Bevel, layout::kGeneralBevel},
                      {SettingsPage::General, SettingsId::LanguageLabel, layout::kLanguageLabel},
                      {SettingsPage::General, SettingsId::Language, language},
                      {SettingsPage::General, SettingsId::HotKeyLabel, layout::kHotKeyLabel},
                      {SettingsPage::General, SettingsId::HotKey, layout::kHotKey},
                      {SettingsPage::Catalog, SettingsId::Paths, layout::kPathGrid},
                      {SettingsPage::Status, SettingsId::Progress, layout::kProgress},
                      {SettingsPage::Status, SettingsId::StatusBevel, layout::kStatusBevel},
                      {SettingsPage::Status, SettingsId::Rescan, layout::kRescan},
                      {SettingsPage::Status, SettingsId::Waiter, layout::kWaiter},
                  });
    return places;
}

HWND MakeChild(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id) {
    return ::CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                             parent, reinterpret_cast<HMENU>(INT_PTR(id)), ModuleInstance(),
                             nullptr);
}

void SetText(HWND window, const std::string& text) {
    const std::wstring wide = win32::Wide(text);
    if (WindowText(window) != wide)
        ::SetWindowTextW(window, wide.c_str());
}

UiRect Placed(const DesignedControl& control, int dpi, UiSize designedParent, UiSize parent) {
    return AnchorInParent(ScaleForDpi(control.rect, dpi), control.anchors, designedParent, parent);
}

void MoveTo(HWND window, const UiRect& r) {
    ::MoveWindow(window, r.left, r.top, r.width, r.height, TRUE);
}

} // namespace

SettingsWindow::SettingsWindow(SettingsHost host) : host_(std::move(host)) {}

SettingsWindow::~SettingsWindow() = default;

HWND SettingsWindow::Create() {
    static WindowClassRegistration registration =
        RegisterWindowClass(kSettingsClass, 0, ::LoadCursorW(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    const HWND hwnd = CreateWindowFor(kExStyle, kSettingsClass, L"", kStyle, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 400, 300, nullptr, nullptr);
    if (!hwnd)
        return nullptr;
    SetDesignedClientSize(hwnd, layout::kClient, dpi_);
    return hwnd;
}

HWND SettingsWindow::Control(int id) const {
    switch (id) {
    case SettingsId::Ok:
    case SettingsId::Cancel:
        return ::GetDlgItem(Handle(), id);
    case SettingsId::PageControl:
        return pageControl_;
    default:
        for (const ForwardingPanel& page : pages_)
            if (const HWND control = ::GetDlgItem(page.Handle(), id))
                return control;
        return nullptr;
    }
}

// --- messages ---------------------------------------------------------------------------

LRESULT SettingsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_ACTIVATE:
        if (OnActivate(LOWORD(wParam) != WA_INACTIVE))
            return 0;
        return DefaultProc(message, wParam, lParam);
    case DM_GETDEFID:
        return MAKELRESULT(SettingsId::Ok, DC_HASDEFID);
    case WM_CLOSE:
        // Never while a rebuild runs: Stop comes first.
        if (model_.CloseQuery())
            OnCancel();
        return 0;
    case WM_DPICHANGED: {
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        ApplyDpi(HIWORD(wParam));
        MoveToSuggested(Handle(), suggested);
        return 0;
    }
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
        for (ForwardingPanel& page : pages_)
            page.SetBackground(TabBodyColor(Handle()));
        return DefaultProc(message, wParam, lParam);
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

void SettingsWindow::OnCreate() {
    const HWND self = Handle();
    pageControl_ = ::CreateWindowExW(
        WS_EX_CONTROLPARENT, WC_TABCONTROLW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, self,
        reinterpret_cast<HMENU>(INT_PTR(SettingsId::PageControl)), ModuleInstance(), nullptr);
    for (int tab = 0; tab < kPageCount; ++tab) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(pageControl_, TCM_INSERTITEMW, WPARAM(tab), reinterpret_cast<LPARAM>(&item));
    }
    const COLORREF body = TabBodyColor(self);
    for (ForwardingPanel& page : pages_) {
        page.SetTarget(self);
        page.Create(pageControl_, RECT{0, 0, 10, 10});
        page.SetBackground(body);
    }

    // General: the boxes in their load order (left column, then right), the language, the
    // hot key.
    const HWND general = pages_[std::size_t(SettingsPage::General)].Handle();
    for (std::size_t i = 0; i < kSettingsCheckCount; ++i) {
        const HWND box = MakeChild(L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0, general,
                                   SettingsId::FirstCheck + int(i));
        // Show on desktop and Portable mode only show their stored values.
        ::EnableWindow(box, kSettingsCheckBoxes[i].enabled);
    }
    MakeChild(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, general, SettingsId::Forget);
    MakeChild(L"STATIC", SS_ETCHEDHORZ, 0, general, SettingsId::Bevel);
    MakeChild(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, general, SettingsId::LanguageLabel);
    MakeChild(WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, general,
              SettingsId::Language);
    MakeChild(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, general, SettingsId::HotKeyLabel);
    MakeChild(HOTKEY_CLASSW, WS_TABSTOP, WS_EX_CLIENTEDGE, general, SettingsId::HotKey);

    // Catalog: the path grid.
    paths_.Create(pages_[std::size_t(SettingsPage::Catalog)].Handle(), SettingsId::Paths);
    paths_.OnChangeValue([this](std::ptrdiff_t row, std::size_t cell, bool checked) {
        CellChanged(row, cell, checked);
    });
    paths_.OnExecute([this](std::ptrdiff_t) { EditFocusedPath(); });
    paths_.OnContextMenu([this](POINT at) { ShowPathMenu(at); });

    // Status: the progress text, the Rebuild button and the band.
    const HWND status = pages_[std::size_t(SettingsPage::Status)].Handle();
    MakeChild(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, status, SettingsId::Progress);
    MakeChild(L"STATIC", SS_ETCHEDHORZ, 0, status, SettingsId::StatusBevel);
    MakeChild(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, status, SettingsId::Rescan);
    waiter_.Create(status, SettingsId::Waiter, true);

    MakeChild(L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, self, SettingsId::Ok);
    MakeChild(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, self, SettingsId::Cancel);

    ApplyDpi(WindowDpi(self));
    SelectPage(SettingsPage::General);
}

void SettingsWindow::ApplyDpi(int dpi) {
    dpi_ = dpi;
    font_ = CreatePointFont(L"Tahoma", 8, dpi_);
    ::EnumChildWindows(
        Handle(),
        [](HWND child, LPARAM font) -> BOOL {
            ::SendMessageW(child, WM_SETFONT, WPARAM(font), TRUE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font_.Get()));
    paths_.SetDpi(dpi_, font_.Get());
    Layout();
}

void SettingsWindow::Layout() {
    if (!pageControl_)
        return;
    RECT client;
    ::GetClientRect(Handle(), &client);
    const UiSize designed{ScaleForDpi(layout::kClient.width, dpi_),
                          ScaleForDpi(layout::kClient.height, dpi_)};
    const UiSize actual{client.right, client.bottom};
    MoveTo(pageControl_, Placed(layout::kPageControl, dpi_, designed, actual));
    MoveTo(Control(SettingsId::Ok), Placed(layout::kOk, dpi_, designed, actual));
    MoveTo(Control(SettingsId::Cancel), Placed(layout::kCancel, dpi_, designed, actual));

    RECT display;
    ::GetClientRect(pageControl_, &display);
    ::SendMessageW(pageControl_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    const UiSize page{std::max(0, int(display.right - display.left)),
                      std::max(0, int(display.bottom - display.top))};
    for (ForwardingPanel& panel : pages_)
        ::MoveWindow(panel.Handle(), display.left, display.top, page.width, page.height, TRUE);
    const UiSize designedPage{ScaleForDpi(layout::kPage.width, dpi_),
                              ScaleForDpi(layout::kPage.height, dpi_)};
    for (const PagePlace& place : PagePlaces())
        MoveTo(Control(place.id), Placed(place.place, dpi_, designedPage, page));
}

SettingsPage SettingsWindow::ActivePage() const {
    const auto selected = ::SendMessageW(pageControl_, TCM_GETCURSEL, 0, 0);
    return selected < 0 || selected >= kPageCount ? SettingsPage::General : SettingsPage(selected);
}

void SettingsWindow::SelectPage(SettingsPage page) {
    ::SendMessageW(pageControl_, TCM_SETCURSEL, WPARAM(page), 0);
    for (int i = 0; i < kPageCount; ++i)
        ::ShowWindow(pages_[std::size_t(i)].Handle(), i == int(page) ? SW_SHOW : SW_HIDE);
    // A control on a page now hidden cannot keep the focus.
    const HWND focus = ::GetFocus();
    if (focus && ::IsChild(Handle(), focus) && !::IsWindowVisible(focus))
        ::SetFocus(pageControl_);
}

bool SettingsWindow::OnActivate(bool active) {
    if (!active) {
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(Handle(), focus))
            lastFocus_ = focus;
        return false;
    }
    const HWND focus = lastFocus_ && ::IsChild(Handle(), lastFocus_) &&
                               ::IsWindowVisible(lastFocus_) && ::IsWindowEnabled(lastFocus_)
                           ? lastFocus_
                           : pageControl_;
    ::SetFocus(focus);
    return true;
}

// --- opening and closing ----------------------------------------------------------------

void SettingsWindow::ShowSettings() {
    if (!Handle() || Visible() || model_.IsOpen())
        return;
    const HWND owner = host_.owner ? host_.owner() : nullptr;
    {
        const WaitCursor wait; // while the texts, the language list and the values load
        const int dpi = WindowDpi(Handle());
        if (dpi != dpi_)
            ApplyDpi(dpi);
        ApplyTexts();
        model_.Open(CurrentOptions());
        result_ = Result::Open;
        confirmed_.reset();
        OptionsToControls();
        ::EnableWindow(Control(SettingsId::Forget), host_.forgetLaunches != nullptr);
        SelectPage(SettingsPage::General);
        shownRebuilding_ = !model_.Rebuilding(); // makes SyncButtons show every part
        SyncButtons();
        UpdateProgress();
        lastFocus_ = nullptr;
        ::SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
        CenterWindow(Handle(), CenterOn::Monitor);
    }
    ::SetTimer(Handle(), kProgressTimer, kProgressMilliseconds, nullptr);
    ModalLoop loop(Handle(), [this](const MSG& message) { return HandleKey(message); });
    loop.Run(owner, [this] { return result_ != Result::Open; });
    ::KillTimer(Handle(), kProgressTimer);
    waiter_.SetActive(false);
    // The program is ending (the quit message came): a rebuild stops, and nothing of the
    // copy is kept.
    model_.StopRebuild();
    if (model_.IsOpen())
        model_.Cancel();
    if (confirmed_) {
        const SettingsOptions confirmed = std::move(*confirmed_);
        confirmed_.reset();
        ApplyConfirmed(confirmed);
    }
}

void SettingsWindow::ApplyConfirmed(const SettingsOptions& confirmed) {
    // Stay-on-top, the tray icon and the hot key take effect at once. The catalog is
    // published by its owner alone, which judges the dialog's rebuild as any other: a
    // catalog that finished loading or was updated meanwhile is not replaced behind its back.
    SettingsOptions options = confirmed;
    const SettingsOptions& current = CurrentOptions();
    const bool rebuilt = !confirmed.catalog.items.SharesWith(current.catalog.items);
    options.catalog.items = current.catalog.items;
    options.catalog.lastRebuild = current.catalog.lastRebuild;
    ApplyOptions(options);
    if (rebuilt && host_.offerRebuilt)
        host_.offerRebuilt(confirmed.catalog.paths, confirmed.catalog.items,
                           confirmed.catalog.lastRebuild);
    // The warning names the combination as the user's keyboard layout does.
    if (const auto notice = HotKeyRegistrationNotice(CurrentOptions().hotKey,
                                                     MainHotKeyRegistered(), platform::KeyNames()))
        ShowMessageDialog(notice->title, notice->text);
    // Saved now rather than only by the close command, so that ending the program by the
    // tray menu or with the session does not lose a confirmed change.
    if (host_.save)
        host_.save();
}

void SettingsWindow::OnOk() {
    std::optional<SettingsOptions> confirmed = model_.Confirm(ReadControls(), CurrentOptions());
    if (!confirmed)
        return;
    confirmed_ = std::move(confirmed);
    result_ = Result::Ok;
}

void SettingsWindow::OnCancel() {
    if (model_.Cancel())
        result_ = Result::Cancel;
}

// --- texts and values -------------------------------------------------------------------

void SettingsWindow::ApplyTexts() {
    const SettingsDialogTexts texts = SettingsTexts();
    SetText(Handle(), texts.caption);
    SetText(Control(SettingsId::Ok), texts.ok);
    SetText(Control(SettingsId::Cancel), texts.cancel);
    for (int tab = 0; tab < kPageCount; ++tab) {
        const std::wstring caption = win32::Wide(texts.tabs[std::size_t(tab)]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(caption.c_str());
        ::SendMessageW(pageControl_, TCM_SETITEMW, WPARAM(tab), reinterpret_cast<LPARAM>(&item));
    }
    SetText(Control(SettingsId::Rescan), texts.rescan);
    SetText(Control(SettingsId::Forget), texts.forget);
    for (std::size_t i = 0; i < kSettingsCheckCount; ++i)
        SetText(Control(SettingsId::FirstCheck + int(i)), texts.checks[i]);
    SetText(Control(SettingsId::HotKeyLabel), texts.hotKeyLabel);
    SetText(Control(SettingsId::LanguageLabel), texts.languageLabel);

    const HWND language = Control(SettingsId::Language);
    ::SendMessageW(language, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(language, CB_RESETCONTENT, 0, 0);
    const OptionsServices& services = host_.services.options;
    const std::vector<LanguageFileInfo> files = ListLanguageFiles(
        LanguagesFolder(services.programFileName), services.fileSystem, services.files);
    for (const LanguageChoice& choice : LanguageChoices(files)) {
        const LRESULT at = ::SendMessageW(
            language, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::Wide(choice.text).c_str()));
        if (at >= 0)
            ::SendMessageW(language, CB_SETITEMDATA, WPARAM(at), LPARAM(choice.lcid));
    }
    ::SendMessageW(language, WM_SETREDRAW, TRUE, 0);

    paths_.SetColumns(CatalogPathColumns());
    Layout(); // the tab row's height follows its captions
}

void SettingsWindow::OptionsToControls() {
    const SettingsControls controls = orvan::OptionsToControls(model_.Options());
    for (std::size_t i = 0; i < kSettingsCheckCount; ++i)
        ::SendMessageW(Control(SettingsId::FirstCheck + int(i)), BM_SETCHECK,
                       controls.checks[i] ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageW(Control(SettingsId::HotKey), HKM_SETHOTKEY, HotKeyEntryValue(controls.hotKey),
                   0);
    ::SendMessageW(Control(SettingsId::Language), CB_SETCURSEL, WPARAM(controls.languageIndex), 0);
    FillPathList(0);
}

SettingsControls SettingsWindow::ReadControls() const {
    SettingsControls controls;
    for (std::size_t i = 0; i < kSettingsCheckCount; ++i)
        controls.checks[i] = ::SendMessageW(Control(SettingsId::FirstCheck + int(i)), BM_GETCHECK,
                                            0, 0) == BST_CHECKED;
    controls.hotKey = ShortCutFromHotKeyEntry(
        LOWORD(::SendMessageW(Control(SettingsId::HotKey), HKM_GETHOTKEY, 0, 0)));
    controls.languageIndex =
        std::ptrdiff_t(::SendMessageW(Control(SettingsId::Language), CB_GETCURSEL, 0, 0));
    return controls;
}

// --- commands ---------------------------------------------------------------------------

void SettingsWindow::OnCommand(int id, int code) {
    if (id >= SettingsId::PathMenu && id <= SettingsId::PathMenu + PathMenuTag::Edit) {
        PathCommand(id - SettingsId::PathMenu);
        return;
    }
    if (id >= SettingsId::HotKeyMenu && id < SettingsId::HotKeyMenu + 3) {
        ChooseHotKeyPreset(std::size_t(id - SettingsId::HotKeyMenu));
        return;
    }
    switch (id) {
    case SettingsId::Ok:
        OnOk();
        return;
    case SettingsId::Cancel:
        OnCancel();
        return;
    case SettingsId::Rescan:
        if (code == BN_CLICKED)
            OnRescan();
        return;
    case SettingsId::Forget:
        // At once, not with OK: it is no setting but the answer to "forget what you saw".
        if (code == BN_CLICKED && host_.forgetLaunches) {
            host_.forgetLaunches();
            ::EnableWindow(Control(SettingsId::Forget), FALSE);
        }
        return;
    default:
        return;
    }
}

void SettingsWindow::OnNotify(const NMHDR& header) {
    if (header.hwndFrom == pageControl_ && header.code == TCN_SELCHANGE)
        SelectPage(ActivePage());
}

void SettingsWindow::OnContextMenu(HWND from, POINT at) {
    // The grid opens its own menu (ShowPathMenu); this is the hot-key entry's.
    if (from != Control(SettingsId::HotKey))
        return;
    if (at.x == -1 && at.y == -1) { // from the keyboard: below the entry
        RECT box;
        ::GetWindowRect(from, &box);
        at = {box.left, box.bottom};
    }
    PrepareHotKeyMenu();
    TrackMenu(hotKeyMenu_.Get(), at);
}

void SettingsWindow::ShowPathMenu(POINT at) {
    PreparePathMenu();
    TrackMenu(pathMenu_.Get(), at);
}

void SettingsWindow::TrackMenu(HMENU menu, POINT at) {
    const UINT chosen = UINT(
        ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr));
    if (chosen)
        OnCommand(int(chosen), 0);
}

void SettingsWindow::PrepareHotKeyMenu() {
    hotKeyMenu_.Reset(::CreatePopupMenu());
    // The presets carry their fixed English captions, whatever the keyboard layout calls
    // the keys.
    const auto presets = HotKeyPresets();
    for (std::size_t i = 0; i < presets.size(); ++i)
        ::AppendMenuW(hotKeyMenu_.Get(), MF_STRING, UINT_PTR(SettingsId::HotKeyMenu + int(i)),
                      win32::Wide(presets[i].caption).c_str());
}

void SettingsWindow::ChooseHotKeyPreset(std::size_t position) {
    const auto presets = HotKeyPresets();
    if (position < presets.size())
        ::SendMessageW(Control(SettingsId::HotKey), HKM_SETHOTKEY,
                       HotKeyEntryValue(presets[position].shortCut), 0);
}

void SettingsWindow::PreparePathMenu() {
    pathMenu_.Reset(::CreatePopupMenu());
    // No path changes while a rebuild runs: an editor opened now would hold the scan until
    // it closes.
    const bool rebuilding = model_.Rebuilding();
    for (const PathMenuItem& item : PathMenuItems(paths_.ItemIsSelected())) {
        if (item.separatorBefore)
            ::AppendMenuW(pathMenu_.Get(), MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(pathMenu_.Get(), MF_STRING | (item.enabled && !rebuilding ? 0 : MF_GRAYED),
                      UINT_PTR(SettingsId::PathMenu + item.tag), win32::Wide(item.caption).c_str());
    }
}

void SettingsWindow::PathCommand(int tag) {
    if (!model_.IsOpen() || model_.Rebuilding())
        return;
    SettingsOptionsCatalogPaths& paths = model_.Options().catalog.paths;
    const auto edit = [this](SettingsOptionsCatalogPath& path) {
        return EditCatalogPath(path, Handle());
    };
    switch (tag) {
    case PathMenuTag::Add:
        FillPathList(AddCatalogPath(paths, edit));
        return;
    case PathMenuTag::Delete: {
        if (!paths_.ItemIsSelected())
            return;
        const DeleteQuestion question = DeletePathQuestion();
        if (!AskYesNo(question.title, question.text))
            return;
        if (const auto row =
                DeleteCatalogPath(paths, paths_.FocusedData(), paths_.ItemFocusedRow()))
            FillPathList(*row);
        return;
    }
    case PathMenuTag::Edit:
        EditFocusedPath();
        return;
    default:
        return;
    }
}

void SettingsWindow::EditFocusedPath() {
    if (!model_.IsOpen() || model_.Rebuilding() || !paths_.ItemIsSelected())
        return;
    const auto row = EditCatalogPathAt(
        model_.Options().catalog.paths, paths_.FocusedData(),
        [this](SettingsOptionsCatalogPath& path) { return EditCatalogPath(path, Handle()); });
    if (row)
        FillPathList(*row);
}

void SettingsWindow::CellChanged(std::ptrdiff_t row, std::size_t cell, bool checked) {
    if (model_.IsOpen() && row >= 0)
        CatalogPathCellChanged(model_.Options().catalog.paths, paths_.Data(row), cell, checked);
}

void SettingsWindow::FillPathList(std::ptrdiff_t wanted) {
    paths_.Fill(orvan::FillPathList(model_.Options().catalog.paths, wanted));
}

// --- rebuilding -------------------------------------------------------------------------

void SettingsWindow::OnRescan() {
    // The scan runs beside the interface thread: the dialog, the progress text and Stop
    // answer at once whatever the folders hold, and nothing re-enters this window.
    model_.RescanClick([this](const DialogRebuild& rebuild) {
        if (!host_.startRebuild) {
            model_.RebuildEnded(rebuild.id, false, {}, 0);
            return;
        }
        host_.startRebuild(
            rebuild.paths, rebuild.scan,
            [this, id = rebuild.id](bool completed, CatalogItems items, double lastRebuild) {
                OnRebuildEnded(id, completed, std::move(items), lastRebuild);
            });
    });
    SyncButtons();
    UpdateProgress();
}

void SettingsWindow::OnRebuildEnded(std::uint64_t id, bool completed, CatalogItems items,
                                    double lastRebuild) {
    model_.RebuildEnded(id, completed, std::move(items), lastRebuild);
    SyncButtons();
    UpdateProgress();
}

void SettingsWindow::SyncButtons() {
    const SettingsButtons buttons = model_.Buttons();
    const bool rebuilding = !buttons.closeButton;
    if (rebuilding == shownRebuilding_)
        return;
    shownRebuilding_ = rebuilding;
    ::EnableWindow(Control(SettingsId::Ok), buttons.okEnabled);
    ::EnableWindow(Control(SettingsId::Cancel), buttons.cancelEnabled);
    SetText(Control(SettingsId::Rescan), Languages::Text(buttons.rescanCaptionId));
    const LONG_PTR style = ::GetWindowLongPtrW(Handle(), GWL_STYLE);
    const LONG_PTR wanted =
        buttons.closeButton ? (style | LONG_PTR(WS_SYSMENU)) : (style & ~LONG_PTR(WS_SYSMENU));
    if (wanted != style) {
        ::SetWindowLongPtrW(Handle(), GWL_STYLE, wanted);
        ::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

void SettingsWindow::UpdateProgress() {
    const std::optional<SettingsProgress> progress = model_.Progress(CurrentLocale());
    if (!progress)
        return;
    SetText(Control(SettingsId::Progress), CrToCrLf(progress->text));
    ::ShowWindow(waiter_.Handle(), progress->waiterVisible ? SW_SHOW : SW_HIDE);
    waiter_.SetActive(progress->waiterVisible);
}

void SettingsWindow::OnTimer(UINT_PTR id) {
    if (id == kProgressTimer && Visible()) {
        SyncButtons();
        UpdateProgress();
    }
}

// --- keys -------------------------------------------------------------------------------

bool SettingsWindow::HandleKey(const MSG& message) {
    if (message.message != WM_KEYDOWN)
        return false;
    const auto key = message.wParam;
    const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
    // Tab from the tabs goes into the page shown: the dialog navigation would step from the
    // tab control (a tab stop that holds the pages) straight to OK.
    if (key == VK_TAB && !ctrl && ::GetKeyState(VK_SHIFT) >= 0 && message.hwnd == pageControl_) {
        const HWND page = pages_[std::size_t(ActivePage())].Handle();
        const HWND first = ::GetNextDlgTabItem(page, nullptr, FALSE);
        if (first && ::IsChild(page, first)) {
            ::SetFocus(first);
            if (::SendMessageW(first, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                ::SendMessageW(first, EM_SETSEL, 0, -1);
            return true;
        }
    }
    if (ctrl && (key == VK_TAB || key == VK_NEXT || key == VK_PRIOR)) {
        const bool back = key == VK_PRIOR || (key == VK_TAB && ::GetKeyState(VK_SHIFT) < 0);
        SelectPage(SettingsPage((int(ActivePage()) + (back ? kPageCount - 1 : 1)) % kPageCount));
        ::SetFocus(pageControl_);
        return true;
    }
    return false;
}

} // namespace orvan::ui
