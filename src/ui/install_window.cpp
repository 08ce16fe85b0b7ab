#include "ui/install_window.h"

#include "core/language/language.h"
#include "core/language/language_file.h"
#include "core/robot/version.h"
#include "core/ui/layout.h"
#include "ui/gdi.h"
#include "ui/message_dialog.h"
#include "ui/pictures.h"
#include "win32/wide_text.h"

#include <commctrl.h>

namespace orvan::ui {

namespace {

using namespace install_ids;

constexpr const wchar_t* kColonLabelClass = L"OrvanColonLabel";

// The window as designed at 96 DPI.
constexpr UiSize kClient{409, 428};
constexpr int kMargin = 8;
constexpr int kPageLeft = 9;
constexpr int kPageTop = 144;
constexpr int kPageWidth = 391;
constexpr int kPageHeight = 177;
constexpr int kLabelWidth = 94;
constexpr int kFieldLeft = kPageLeft + 100;
constexpr int kFieldWidth = kPageLeft + kPageWidth - kFieldLeft;

constexpr int kTextCaption = 8000000;
constexpr int kTextDescription = 8000020;
constexpr int kTextOperation = 8000021;
constexpr int kTextInstallRadio = 8000011;
constexpr int kTextRepairRadio = 8000015;
constexpr int kTextRemoveRadio = 8000013;
constexpr int kTextLanguage = 8000022;
constexpr int kTextHotKey = 8000023;
constexpr int kTextPath = 8000024;
constexpr int kTextScope = 8000025;
constexpr int kTextStartMenu = 8000035;
constexpr int kTextAutoStart = 8000036;
constexpr int kTextOrderByRelevance = 8000064;
constexpr int kTextClose = 3;

// A label whose last character (the colon) stays visible: when the caption does not fit,
// the text before it ends in an ellipsis and the colon keeps the right edge. Its window
// text is the whole caption.
class ColonLabel final : public Window {
public:
    ColonLabel() : Window(Painting::Self) {}
    HWND Create(HWND parent, int id, const RECT& rect) {
        static WindowClassRegistration registration =
            RegisterWindowClass(kColonLabelClass, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
        return CreateWindowFor(0, kColonLabelClass, L"", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                               rect.right - rect.left, rect.bottom - rect.top, parent,
                               reinterpret_cast<HMENU>(INT_PTR(id)));
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam))
                ::InvalidateRect(Handle(), nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_SETTEXT: {
            const LRESULT result = DefaultProc(message, wParam, lParam);
            ::InvalidateRect(Handle(), nullptr, TRUE);
            return result;
        }
        default:
            return DefaultProc(message, wParam, lParam);
        }
    }

private:
    void Paint(HDC dc, const RECT& client) override {
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
        const std::wstring text = WindowText(Handle());
        SelectGuard select(dc, font_ ? font_ : HFONT(::GetStockObject(DEFAULT_GUI_FONT)));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc,
                       ::GetSysColor(::IsWindowEnabled(Handle()) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        const UINT format = DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER;
        SIZE whole{};
        ::GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &whole);
        RECT box = client;
        if (text.empty() || whole.cx <= client.right - client.left) {
            ::DrawTextW(dc, text.c_str(), int(text.size()), &box, format);
            return;
        }
        const std::wstring tail = text.substr(text.size() - 1);
        SIZE tailSize{};
        ::GetTextExtentPoint32W(dc, tail.c_str(), 1, &tailSize);
        box.right -= tailSize.cx;
        ::DrawTextW(dc, text.c_str(), int(text.size() - 1), &box, format | DT_END_ELLIPSIS);
        RECT tailBox = client;
        tailBox.left = tailBox.right - tailSize.cx;
        ::DrawTextW(dc, tail.c_str(), 1, &tailBox, format);
    }

    HFONT font_ = nullptr;
};

std::wstring Wide(std::string_view text) {
    return win32::Wide(text);
}

} // namespace

DialogAnswer Win32QuestionDialogs::AskYesNoCancel(const std::string& title,
                                                  const std::string& text) {
    switch (ui::AskYesNoCancel(title, text)) {
    case kResultYes:
        return DialogAnswer::Yes;
    case kResultNo:
        return DialogAnswer::No;
    default:
        return DialogAnswer::Cancel;
    }
}

InstallWindow::InstallWindow(InstallWindowServices services) : services_(std::move(services)) {}

InstallWindow::~InstallWindow() {
    if (Handle())
        ::DestroyWindow(Handle());
}

HWND InstallWindow::Create() {
    static WindowClassRegistration registration =
        RegisterWindowClass(kInstallWindowClass, 0, ::LoadCursorW(nullptr, IDC_ARROW),
                            ::GetSysColorBrush(COLOR_BTNFACE), ProgramPictures().ProgramIcon(32));
    const HWND hwnd =
        CreateWindowFor(WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, kInstallWindowClass, L"",
                        WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 100, 100, nullptr, nullptr);
    if (!hwnd)
        return nullptr;
    const int dpi = WindowDpi(hwnd);
    SetDesignedClientSize(hwnd, kClient, dpi);
    font_ = CreatePointFont(L"Tahoma", 8, dpi);
    CreateControls();
    ApplyTexts();
    ::SetTimer(hwnd, kInstallTimer, kInstallTimerMilliseconds, nullptr);
    return hwnd;
}

void InstallWindow::CreateControls() {
    const HWND hwnd = Handle();
    const int dpi = WindowDpi(hwnd);
    const auto place = [&](const wchar_t* className, DWORD style, int id, UiRect rect,
                           DWORD exStyle = 0) {
        const UiRect r = ScaleForDpi(rect, dpi);
        const HWND control = ::CreateWindowExW(
            exStyle, className, L"", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.width,
            r.height, hwnd, reinterpret_cast<HMENU>(INT_PTR(id)), ModuleInstance(), nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        return control;
    };
    const auto colonLabel = [&](int id, UiRect rect) {
        auto label = std::make_unique<ColonLabel>();
        const UiRect r = ScaleForDpi(rect, dpi);
        const HWND control = label->Create(hwnd, id, ToRect(r.left, r.top, r.width, r.height));
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        labels_.push_back(std::move(label));
    };
    const int wide = kClient.width - 2 * kMargin;

    place(L"STATIC", SS_LEFT | SS_NOPREFIX, Description, {kMargin, kMargin, wide, 40});
    colonLabel(OperationLabel, {kMargin, 52, wide, 14});
    place(L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, InstallRadio,
          {kMargin + 8, 68, wide - 8, 20});
    place(L"BUTTON", BS_AUTORADIOBUTTON, RepairRadio, {kMargin + 8, 89, wide - 8, 20});
    place(L"BUTTON", BS_AUTORADIOBUTTON, RemoveRadio, {kMargin + 8, 110, wide - 8, 20});
    place(L"STATIC", SS_ETCHEDHORZ, TopLine, {kMargin, 136, wide, 2});

    // Page 0: the options of a new installation.
    const int rows[] = {kPageTop + 4, kPageTop + 30, kPageTop + 56, kPageTop + 82};
    const std::pair<int, int> fields[] = {
        {LanguageLabel, Language}, {HotKeyLabel, HotKey}, {PathLabel, Path}, {ScopeLabel, Scope}};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        colonLabel(fields[i].first, {kPageLeft, rows[i] + 3, kLabelWidth, 16});
        const bool path = fields[i].second == Path;
        // The program folder is typed or chosen from the suggestions; the others are lists.
        place(WC_COMBOBOXW,
              (path ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST) | WS_VSCROLL | WS_TABSTOP |
                  WS_GROUP,
              fields[i].second, {kFieldLeft, rows[i], kFieldWidth, 200});
    }
    place(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, StartMenu,
          {kFieldLeft, kPageTop + 108, kFieldWidth, 20});
    place(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, AutoStart,
          {kFieldLeft, kPageTop + 130, kFieldWidth, 20});
    place(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, OrderByRelevance,
          {kFieldLeft, kPageTop + 152, kFieldWidth, 20});
    ::SendMessageW(Control(Language), CB_SETMINVISIBLE, 16, 0);

    // Page 1: what is installed.
    for (int row = 0; row < 6; ++row) {
        const int top = kPageTop + 4 + row * 22;
        colonLabel(DetailsFirst + 2 * row, {kPageLeft, top, kLabelWidth, 16});
        place(L"STATIC", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, DetailsFirst + 2 * row + 1,
              {kFieldLeft, top, kFieldWidth, 16});
    }

    place(L"STATIC", SS_ETCHEDHORZ, BottomLine, {kMargin, kPageTop + kPageHeight + 6, wide, 2});
    place(L"STATIC", SS_LEFT | SS_NOPREFIX, Status,
          {kMargin, kPageTop + kPageHeight + 14, wide, 52});
    place(L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, ActionButton,
          {kClient.width - 2 * (kMargin + 75) - 2, kClient.height - kMargin - 25, 75, 25});
    place(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, CloseButton,
          {kClient.width - kMargin - 75, kClient.height - kMargin - 25, 75, 25});
    ShowPage(InstallPage::Empty);
}

void InstallWindow::ApplyTexts() {
    const auto set = [&](int id, const std::string& text) {
        ::SetWindowTextW(Control(id), Wide(text).c_str());
    };
    ::SetWindowTextW(Handle(), Wide(Languages::TextFmt(kTextCaption, {ProductTitle})).c_str());
    set(Description, Languages::Text(kTextDescription));
    set(OperationLabel, Languages::TextColon(kTextOperation));
    set(InstallRadio, Languages::Text(kTextInstallRadio));
    set(RepairRadio, Languages::Text(kTextRepairRadio));
    set(RemoveRadio, Languages::Text(kTextRemoveRadio));
    set(LanguageLabel, Languages::TextColon(kTextLanguage));
    set(HotKeyLabel, Languages::TextColon(kTextHotKey));
    set(PathLabel, Languages::TextColon(kTextPath));
    set(ScopeLabel, Languages::TextColon(kTextScope));
    set(StartMenu, Languages::Text(kTextStartMenu));
    set(AutoStart, Languages::Text(kTextAutoStart));
    set(OrderByRelevance, Languages::Text(kTextOrderByRelevance));
    set(CloseButton, Languages::Text(kTextClose));
    const auto details = InstalledDetails(CurrentInstallInfo());
    for (std::size_t row = 0; row < details.size(); ++row)
        set(DetailsFirst + 2 * int(row), details[row].first);
}

void InstallWindow::Show() {
    if (!filled_) {
        filled_ = true;
        WaitCursor wait;
        Refresh();
        Fill();
        CenterWindow(Handle(), CenterOn::WorkArea);
    }
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    ::SetFocus(Control(InstallRadio));
}

void InstallWindow::Fill() {
    const OptionsServices& options = services_.program.options;
    // Without a "Languages" folder beside it (the standalone download) the program offers
    // the translations it carries inside, which the installation writes.
    std::vector<LanguageFileInfo> languageFiles = ListLanguageFiles(
        LanguagesFolder(options.programFileName), options.fileSystem, options.files);
    if (languageFiles.empty())
        languageFiles = CarriedLanguageFiles(services_.shippedLanguage);
    form_ = FillInstallForm(CurrentInstallInfo(), options.folders, languageFiles);
    const auto fillList = [&](int id, const std::vector<InstallListItem>& items,
                              std::size_t selected) {
        const HWND list = Control(id);
        ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
        for (const InstallListItem& item : items) {
            const LRESULT index = ::SendMessageW(list, CB_ADDSTRING, 0,
                                                 reinterpret_cast<LPARAM>(Wide(item.text).c_str()));
            ::SendMessageW(list, CB_SETITEMDATA, WPARAM(index), LPARAM(item.value));
        }
        ::SendMessageW(list, CB_SETCURSEL, selected, 0);
    };
    const HWND path = Control(Path);
    ::SendMessageW(path, CB_RESETCONTENT, 0, 0);
    for (const std::string& suggestion : form_.folderSuggestions)
        ::SendMessageW(path, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(suggestion).c_str()));
    ::SetWindowTextW(path, Wide(form_.path).c_str());
    fillList(Language, form_.languages, form_.language);
    fillList(HotKey, form_.hotKeys, form_.hotKey);
    fillList(Scope, form_.scopes, form_.scope);
    ::SendMessageW(Control(StartMenu), BM_SETCHECK, form_.createStartMenu ? BST_CHECKED : 0, 0);
    ::SendMessageW(Control(AutoStart), BM_SETCHECK, form_.autoStart ? BST_CHECKED : 0, 0);
    ::SendMessageW(Control(OrderByRelevance), BM_SETCHECK, form_.orderByRelevance ? BST_CHECKED : 0,
                   0);
}

void InstallWindow::ChangeLanguage() {
    // The installer speaks the language being chosen at once: it is the first thing a new
    // user sees of the program, and nothing is stored before Install.
    const InstallChoices chosen = Choices();
    const std::wstring path = WindowText(Control(Path));
    const OptionsServices& options = services_.program.options;
    LoadProgramLanguage(chosen.language, options.programFileName, options.fileSystem,
                        options.files);
    ApplyTexts();
    Fill(); // the lists' names in the new language
    const auto select = [&](int id, std::int32_t value) {
        const HWND list = Control(id);
        const LRESULT count = ::SendMessageW(list, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i)
            if (std::int32_t(::SendMessageW(list, CB_GETITEMDATA, WPARAM(i), 0)) == value) {
                ::SendMessageW(list, CB_SETCURSEL, WPARAM(i), 0);
                return;
            }
    };
    select(Language, chosen.language);
    select(HotKey, chosen.hotKey);
    select(Scope, chosen.allUsers ? 0 : 1);
    ::SetWindowTextW(Control(Path), path.c_str());
    ::SendMessageW(Control(StartMenu), BM_SETCHECK, chosen.createStartMenu ? BST_CHECKED : 0, 0);
    ::SendMessageW(Control(AutoStart), BM_SETCHECK, chosen.autoStart ? BST_CHECKED : 0, 0);
    ::SendMessageW(Control(OrderByRelevance), BM_SETCHECK,
                   chosen.orderByRelevance ? BST_CHECKED : 0, 0);
    Refresh(); // the status and the button
}

std::optional<InstallOperation> InstallWindow::SelectedOperation() const {
    const std::pair<int, InstallOperation> radios[] = {{InstallRadio, InstallOperation::Install},
                                                       {RepairRadio, InstallOperation::Repair},
                                                       {RemoveRadio, InstallOperation::Remove}};
    for (const auto& [id, operation] : radios)
        if (::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED)
            return operation;
    return std::nullopt;
}

void InstallWindow::Refresh() {
    const bool running = services_.instance.IsRunning();
    const bool installed =
        DetectInstallation({*services_.program.registry, services_.program.options});
    state_ = RefreshInstallState(running, installed, SelectedOperation());
    ::SetWindowTextW(Control(Status), Wide(state_.status).c_str());
    const std::pair<int, bool> enabled[] = {{InstallRadio, state_.installEnabled},
                                            {RepairRadio, state_.repairEnabled},
                                            {RemoveRadio, state_.removeEnabled}};
    for (const auto& [id, on] : enabled)
        ::EnableWindow(Control(id), on);
    const std::pair<int, InstallOperation> radios[] = {{InstallRadio, InstallOperation::Install},
                                                       {RepairRadio, InstallOperation::Repair},
                                                       {RemoveRadio, InstallOperation::Remove}};
    for (const auto& [id, operation] : radios)
        ::SendMessageW(Control(id), BM_SETCHECK,
                       state_.selected == operation ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SetWindowTextW(Control(ActionButton), Wide(state_.buttonCaption).c_str());
    if (state_.page == InstallPage::Details) {
        const auto details = InstalledDetails(CurrentInstallInfo());
        for (std::size_t row = 0; row < details.size(); ++row)
            ::SetWindowTextW(Control(DetailsFirst + 2 * int(row) + 1),
                             Wide(details[row].second).c_str());
    }
    ShowPage(state_.page);
}

void InstallWindow::ShowPage(InstallPage page) {
    const int options[] = {LanguageLabel, Language, HotKeyLabel, HotKey,    PathLabel,       Path,
                           ScopeLabel,    Scope,    StartMenu,   AutoStart, OrderByRelevance};
    for (const int id : options)
        ::ShowWindow(Control(id), page == InstallPage::Options ? SW_SHOW : SW_HIDE);
    for (int id = DetailsFirst; id < DetailsFirst + 12; ++id)
        ::ShowWindow(Control(id), page == InstallPage::Details ? SW_SHOW : SW_HIDE);
}

InstallChoices InstallWindow::Choices() const {
    const auto selectedValue = [&](int id, std::int32_t fallback) {
        const HWND list = Control(id);
        const LRESULT index = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
        return index == CB_ERR
                   ? fallback
                   : std::int32_t(::SendMessageW(list, CB_GETITEMDATA, WPARAM(index), 0));
    };
    InstallChoices choices;
    choices.folder = win32::Narrow(WindowText(Control(Path)).c_str());
    choices.language = selectedValue(Language, 1);
    choices.hotKey = selectedValue(HotKey, 0x8020);
    choices.allUsers = selectedValue(Scope, 0) == 0;
    choices.createStartMenu = ::SendMessageW(Control(StartMenu), BM_GETCHECK, 0, 0) == BST_CHECKED;
    choices.autoStart = ::SendMessageW(Control(AutoStart), BM_GETCHECK, 0, 0) == BST_CHECKED;
    choices.orderByRelevance =
        ::SendMessageW(Control(OrderByRelevance), BM_GETCHECK, 0, 0) == BST_CHECKED;
    return choices;
}

InstallerServices InstallWindow::Steps() {
    const ProgramServices& program = services_.program;
    InstallerServices steps{program.options,     program.catalog,       *program.registry,
                            services_.links,     services_.account,     *program.clock,
                            *program.shellNames, *program.shell,        services_.messages,
                            services_.questions, services_.programPath, services_.processMessages};
    if (!steps.processMessages)
        steps.processMessages = [this] { PumpMessages(); };
    steps.deleteAfterExit = services_.deleteAfterExit;
    steps.shippedLanguage = services_.shippedLanguage;
    steps.showProgress = [this](const std::string& text) {
        ::SetWindowTextW(Control(Status), Wide(text).c_str());
    };
    return steps;
}

void InstallWindow::PumpMessages() {
    constexpr unsigned long long kPumpMilliseconds = 50;
    const unsigned long long now = ::GetTickCount64();
    if (now - lastPump_ < kPumpMilliseconds || quitSeen_)
        return;
    lastPump_ = now;
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Posted again once the operation is over, for the program's own loop.
            quitSeen_ = true;
            quitCode_ = int(message.wParam);
            return;
        }
        if (::IsDialogMessageW(Handle(), &message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void InstallWindow::RunAction() {
    if (busy_)
        return;
    busy_ = true;
    InstallResult result;
    {
        WaitCursor wait;
        if (services_.instance.IsRunning()) {
            StopRunningInstance(services_.instance, services_.messages);
        } else {
            switch (SelectedOperation().value_or(InstallOperation::Install)) {
            case InstallOperation::Install:
                if (state_.installEnabled)
                    result = InstallProgram(Choices(), Steps());
                break;
            case InstallOperation::Repair:
                if (state_.repairEnabled)
                    result = RepairProgram(CurrentInstallInfo(), Choices(), Steps());
                break;
            case InstallOperation::Remove:
                if (state_.removeEnabled)
                    result = RemoveProgram(CurrentInstallInfo(), true, Steps());
                break;
            }
        }
    }
    busy_ = false;
    if (quitSeen_) {
        quitSeen_ = false;
        ::PostQuitMessage(quitCode_);
    }
    if (result.closeWindow) {
        Close();
        return;
    }
    Refresh();
}

void InstallWindow::Close() {
    ::ShowWindow(Handle(), SW_HIDE);
    if (services_.closeProgram)
        services_.closeProgram();
}

void InstallWindow::KeepPathClean() {
    // "|" separates paths in the options; it has no place in a folder name.
    const HWND path = Control(Path);
    std::wstring text = WindowText(path);
    const std::size_t before = text.size();
    std::erase(text, L'|');
    if (text.size() == before)
        return;
    DWORD start = 0;
    ::SendMessageW(path, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), 0);
    ::SetWindowTextW(path, text.c_str());
    const DWORD caret = DWORD(std::min<std::size_t>(
        start >= before - text.size() ? start - (before - text.size()) : 0, text.size()));
    ::SendMessageW(path, CB_SETEDITSEL, 0, MAKELPARAM(caret, caret));
}

void InstallWindow::OnCommand(int id, int code) {
    // While an operation runs, its messages keep the window painting, but nothing the user
    // does may start another or close the window under it.
    if (busy_)
        return;
    switch (id) {
    case ActionButton:
        if (code == BN_CLICKED)
            RunAction();
        break;
    case CloseButton:
        if (code == BN_CLICKED)
            Close();
        break;
    case InstallRadio:
    case RepairRadio:
    case RemoveRadio:
        if (code == BN_CLICKED)
            Refresh();
        break;
    case Path:
        if (code == CBN_EDITCHANGE)
            KeepPathClean();
        break;
    case Language:
        if (code == CBN_SELCHANGE)
            ChangeLanguage();
        break;
    default:
        break;
    }
}

LRESULT InstallWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == kInstallTimer && !busy_ && ::IsWindowVisible(Handle()))
            Refresh();
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CLOSE:
        if (!busy_)
            Close();
        return 0;
    case WM_DESTROY:
        ::KillTimer(Handle(), kInstallTimer);
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

} // namespace orvan::ui
