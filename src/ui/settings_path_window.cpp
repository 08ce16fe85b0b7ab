#include "ui/settings_path_window.h"

#include "core/ui/settings_layout.h"
#include "ui/modal.h"
#include "ui/pictures.h"
#include "win32/wide_text.h"

#include <commctrl.h>

#include <algorithm>

namespace orvan::ui {

namespace {

namespace layout = settings_layout;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;

// Every control with its place; the labels are the program's own and placed apart.
struct Placed {
    int id;
    const DesignedControl* place;
};
constexpr Placed kPlaces[] = {
    {PathEditorId::Path, &layout::kPathEdit},
    {PathEditorId::SpecialFolders, &layout::kSpecialFolders},
    {PathEditorId::Mask, &layout::kMaskEdit},
    {PathEditorId::Depth, &layout::kDepthEdit},
    {PathEditorId::DepthSpin, &layout::kDepthSpin},
    {PathEditorId::UnlimitedDepth, &layout::kUnlimitedDepth},
    {PathEditorId::IncludeDirectories, &layout::kIncludeDirectories},
    {PathEditorId::Active, &layout::kActive},
    {PathEditorId::Ok, &layout::kPathOk},
    {PathEditorId::Cancel, &layout::kPathCancel},
    {PathEditorId::PathLabel, &layout::kPathLabel},
    {PathEditorId::MaskLabel, &layout::kMaskLabel},
    {PathEditorId::DepthLabel, &layout::kDepthLabel},
};

HWND MakeChild(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id) {
    return ::CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                             parent, reinterpret_cast<HMENU>(INT_PTR(id)), ModuleInstance(),
                             nullptr);
}

void SetText(HWND window, const std::string& text) {
    ::SetWindowTextW(window, win32::Wide(text).c_str());
}

std::string TextOf(HWND window) {
    return win32::Narrow(WindowText(window).c_str());
}

bool IsTicked(HWND box) {
    return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Tick(HWND box, bool ticked) {
    ::SendMessageW(box, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The selection of an edit in UTF-16 units.
EditSelection SelectionOf(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

} // namespace

bool EditCatalogPath(SettingsOptionsCatalogPath& path, HWND owner) {
    SettingsPathWindow editor(path);
    {
        const WaitCursor wait; // while the window is made; it shows the normal cursor
        if (!editor.Create(owner))
            return false;
    }
    return editor.RunModal(owner);
}

HWND SettingsPathWindow::Create(HWND owner) {
    static WindowClassRegistration registration =
        RegisterWindowClass(kSettingsPathClass, 0, ::LoadCursorW(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    const HWND hwnd = CreateWindowFor(kExStyle, kSettingsPathClass, L"", kStyle, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 300, 200, owner, nullptr);
    if (!hwnd)
        return nullptr;
    SetDesignedClientSize(hwnd, layout::kPathClient, dpi_);
    CenterWindow(hwnd, CenterOn::Monitor);
    return hwnd;
}

bool SettingsPathWindow::RunModal(HWND owner) {
    ModalLoop loop(Handle(), [this](const MSG& message) { return HandleKey(message); });
    loop.Run(owner, [this] { return result_ != Result::Open; });
    return result_ == Result::Ok;
}

LRESULT SettingsPathWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        if (OnNotify(*reinterpret_cast<const NMHDR*>(lParam)))
            return TRUE;
        return DefaultProc(message, wParam, lParam);
    case WM_ACTIVATE:
        // The path edit has the focus when the editor comes up.
        if (LOWORD(wParam) != WA_INACTIVE && !::IsChild(Handle(), ::GetFocus())) {
            ::SetFocus(Control(PathEditorId::Path));
            return 0;
        }
        return DefaultProc(message, wParam, lParam);
    case DM_GETDEFID:
        return MAKELRESULT(PathEditorId::Ok, DC_HASDEFID);
    case WM_CLOSE:
        OnCancel();
        return 0;
    case WM_DPICHANGED: {
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        ApplyDpi(HIWORD(wParam));
        MoveToSuggested(Handle(), suggested);
        return 0;
    }
    case WM_SIZE:
        Layout();
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

void SettingsPathWindow::OnCreate() {
    const HWND self = Handle();
    labels_[0].Create(self, PathEditorId::PathLabel);
    labels_[1].Create(self, PathEditorId::MaskLabel);
    labels_[2].Create(self, PathEditorId::DepthLabel);
    // In the tab order: Path, the special-folder button, Mask, Depth, the three boxes, OK,
    // Cancel.
    MakeChild(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, self, PathEditorId::Path);
    MakeChild(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON | BS_ICON, 0, self,
              PathEditorId::SpecialFolders);
    MakeChild(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, self, PathEditorId::Mask);
    MakeChild(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | ES_NUMBER, WS_EX_CLIENTEDGE, self,
              PathEditorId::Depth);
    const HWND spin = MakeChild(UPDOWN_CLASSW, UDS_NOTHOUSANDS, 0, self, PathEditorId::DepthSpin);
    ::SendMessageW(spin, UDM_SETRANGE32, 0, kMaxCatalogDepth);
    for (const int id :
         {PathEditorId::UnlimitedDepth, PathEditorId::IncludeDirectories, PathEditorId::Active})
        MakeChild(L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0, self, id);
    MakeChild(L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, self, PathEditorId::Ok);
    MakeChild(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, self, PathEditorId::Cancel);

    menu_.Reset(::CreatePopupMenu());
    const auto items = orvan::SpecialFolderMenu();
    for (std::size_t i = 0; i < items.size(); ++i)
        ::AppendMenuW(menu_.Get(), MF_STRING, UINT_PTR(PathEditorId::SpecialFolderMenu + int(i)),
                      win32::Wide(std::string(items[i].caption)).c_str());

    const PathEditorTexts texts = CatalogPathEditorTexts();
    SetText(self, texts.caption);
    SetText(labels_[0].Handle(), texts.pathLabel);
    SetText(labels_[1].Handle(), texts.maskLabel);
    SetText(labels_[2].Handle(), texts.depthLabel);
    SetText(Control(PathEditorId::UnlimitedDepth), texts.unlimitedDepth);
    SetText(Control(PathEditorId::IncludeDirectories), texts.includeDirectories);
    SetText(Control(PathEditorId::Active), texts.active);
    SetText(Control(PathEditorId::Ok), texts.ok);
    SetText(Control(PathEditorId::Cancel), texts.cancel);

    const PathEditorControls controls = PathToControls(path_);
    SetText(Control(PathEditorId::Path), controls.path);
    SetText(Control(PathEditorId::Mask), controls.mask);
    SetText(Control(PathEditorId::Depth), controls.depth);
    Tick(Control(PathEditorId::UnlimitedDepth), controls.unlimitedDepth);
    Tick(Control(PathEditorId::IncludeDirectories), controls.includeDirectories);
    Tick(Control(PathEditorId::Active), controls.active);
    ::SendMessageW(Control(PathEditorId::Path), EM_SETSEL, 0, -1);

    ApplyDpi(WindowDpi(self));
    UpdateState();
}

void SettingsPathWindow::ApplyDpi(int dpi) {
    dpi_ = dpi;
    font_ = CreatePointFont(L"Tahoma", 8, dpi_);
    for (const Placed& placed : kPlaces)
        ::SendMessageW(Control(placed.id), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
    const int glyph = ScaleForDpi(layout::kSpecialFoldersGlyph, dpi_);
    ::SendMessageW(Control(PathEditorId::SpecialFolders), BM_SETIMAGE, IMAGE_ICON,
                   reinterpret_cast<LPARAM>(ProgramPictures().ButtonGlyph(Glyph::DropDown, glyph)));
    Layout();
}

void SettingsPathWindow::Layout() {
    RECT client;
    ::GetClientRect(Handle(), &client);
    const UiSize designed{ScaleForDpi(layout::kPathClient.width, dpi_),
                          ScaleForDpi(layout::kPathClient.height, dpi_)};
    for (const Placed& placed : kPlaces) {
        const UiRect r =
            AnchorInParent(ScaleForDpi(placed.place->rect, dpi_), placed.place->anchors, designed,
                           {client.right, client.bottom});
        ::MoveWindow(Control(placed.id), r.left, r.top, r.width, r.height, TRUE);
    }
}

PathEditorControls SettingsPathWindow::ReadControls() const {
    PathEditorControls controls;
    controls.path = TextOf(Control(PathEditorId::Path));
    controls.mask = TextOf(Control(PathEditorId::Mask));
    controls.depth = TextOf(Control(PathEditorId::Depth));
    controls.unlimitedDepth = IsTicked(Control(PathEditorId::UnlimitedDepth));
    controls.includeDirectories = IsTicked(Control(PathEditorId::IncludeDirectories));
    controls.active = IsTicked(Control(PathEditorId::Active));
    return controls;
}

void SettingsPathWindow::UpdateState() {
    const PathEditorState state = PathEditorStateOf(ReadControls());
    ::EnableWindow(Control(PathEditorId::Ok), state.okEnabled);
    ::EnableWindow(Control(PathEditorId::Depth), state.depthEnabled);
    ::EnableWindow(Control(PathEditorId::DepthSpin), state.depthEnabled);
}

void SettingsPathWindow::OnCommand(int id, int code) {
    switch (id) {
    case PathEditorId::Path:
        if (code == EN_CHANGE) {
            DropRefusedCharacters(Control(id));
            UpdateState();
        }
        return;
    case PathEditorId::Mask:
        if (code == EN_CHANGE)
            DropRefusedCharacters(Control(id));
        return;
    case PathEditorId::SpecialFolders:
        if (code == BN_CLICKED)
            ShowSpecialFolders();
        return;
    case PathEditorId::UnlimitedDepth:
        if (code == BN_CLICKED)
            UpdateState();
        return;
    case PathEditorId::Ok:
        OnOk();
        return;
    case PathEditorId::Cancel:
        OnCancel();
        return;
    default:
        return;
    }
}

bool SettingsPathWindow::OnNotify(const NMHDR& header) {
    if (header.idFrom != UINT_PTR(PathEditorId::DepthSpin) || header.code != UDN_DELTAPOS)
        return false;
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    StepDepth(change.iDelta > 0 ? 1 : -1);
    return true; // the spin buttons keep no value of their own
}

void SettingsPathWindow::OnOk() {
    const PathEditorControls controls = ReadControls();
    if (!PathEditorStateOf(controls).okEnabled)
        return;
    ControlsToPath(controls, path_);
    result_ = Result::Ok;
}

void SettingsPathWindow::OnCancel() {
    result_ = Result::Cancel;
}

void SettingsPathWindow::ShowSpecialFolders() {
    RECT button;
    ::GetWindowRect(Control(PathEditorId::SpecialFolders), &button);
    // Below the button, its top-left corner at the button's bottom-left.
    const UINT chosen = UINT(
        ::TrackPopupMenu(menu_.Get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON,
                         button.left, button.bottom, 0, Handle(), nullptr));
    if (chosen >= UINT(PathEditorId::SpecialFolderMenu))
        InsertSpecialFolder(chosen - UINT(PathEditorId::SpecialFolderMenu));
}

void SettingsPathWindow::InsertSpecialFolder(std::size_t item) {
    const auto items = orvan::SpecialFolderMenu();
    if (item >= items.size())
        return;
    const HWND edit = Control(PathEditorId::Path);
    const EditedText edited =
        ReplaceSelection(TextOf(edit), SelectionOf(edit), items[item].inserted);
    SetText(edit, edited.text);
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, edited.selection.start, edited.selection.end);
}

void SettingsPathWindow::StepDepth(int step) {
    const HWND edit = Control(PathEditorId::Depth);
    if (!::IsWindowEnabled(edit))
        return;
    SetText(edit, StepDepthText(TextOf(edit), step));
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
}

void SettingsPathWindow::DropRefusedCharacters(HWND edit) {
    std::wstring text = WindowText(edit);
    if (text.find(L'|') == std::wstring::npos)
        return;
    const EditSelection selection = SelectionOf(edit);
    const auto before = std::count(
        text.begin(), text.begin() + std::ptrdiff_t(std::min(selection.end, text.size())), L'|');
    std::erase(text, L'|');
    ::SetWindowTextW(edit, text.c_str());
    const std::size_t caret = selection.end - std::size_t(before);
    ::SendMessageW(edit, EM_SETSEL, caret, caret);
}

bool SettingsPathWindow::HandleKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.hwnd != Control(PathEditorId::Depth))
        return false;
    if (message.wParam != VK_UP && message.wParam != VK_DOWN)
        return false;
    StepDepth(message.wParam == VK_UP ? 1 : -1);
    return true;
}

} // namespace orvan::ui
