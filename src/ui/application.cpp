#include "ui/application.h"

#include "core/catalog/catalog_file.h"
#include "core/language/language.h"
#include "core/ports/clock.h"
#include "core/robot/version.h"
#include "core/ui/search_texts.h"
#include "platform/native.h"
#include "platform/native_install.h"
#include "ui/hot_key_registration.h"

namespace orvan::ui {

Application::Application(const ProgramServices& services)
    : services_(services),
      catalog_(std::make_unique<CatalogHost>(
          services_, [this] { search_->OnCatalogPublished(); },
          [this](const std::string& text) { search_->WriteLog(ApplicationErrorText(text)); })),
      search_(std::make_unique<SearchWindow>(services, messageDialogs_)),
      main_(std::make_unique<MainWindow>(*search_)) {
    search_->SetCatalogKeeper(&catalog_->Keeper());
}

Application::~Application() {
    // What the pages hold goes to the disk however the program ends (close command, tray,
    // the installer's quit message).
    search_->SavePages();
    // Background work ends first (a scan within one entry, the last save in full): nothing
    // is reported to the windows once they go.
    catalog_->Keeper().Shutdown();
    SetHotKeyRegistration(nullptr);
    settingsWindow_.reset();
    install_.reset();
    main_.reset();
    search_.reset();
}

bool Application::CreateStartupObjects() {
    // 1. The main window, then 2. the search window; before them the catalog's own window,
    // which its background work reports to.
    if (!catalog_->Create())
        return false;
    if (!main_->Create())
        return false;
    // Applying options registers the hot key for the main window.
    SetHotKeyRegistration([](std::int32_t hotKey) { RegisterMainHotKey(hotKey); });
    if (!search_->Create())
        return false;
    search_->SetQuitHandler([this] { SaveAndQuit(); });
    // The details button opens the details window over the search window; the search
    // window's auto-hide leaves it alone while the details window is up.
    search_->Run().SetDetailsSlot({[this](const std::string& text, HICON picture) {
                                       ShowDetails(search_->Handle(), text, picture,
                                                   services_.textFiles, &details_);
                                   },
                                   [this] { return details_ && details_->Visible(); }});
    // 3. The installer window, hidden until installer mode shows it; closing it closes the
    // main window, which ends the program.
    install_ = std::make_unique<InstallWindow>(InstallWindowServices{
        services_, platform::ShellLinks(), platform::UserAccount(), platform::RunningInstance(),
        messageDialogs_, questionDialogs_, services_.options.programFileName,
        [this] { ::SendMessageW(main_->Handle(), WM_CLOSE, 0, 0); }, nullptr,
        [program = services_.options.programFileName](const std::string& file) {
            return platform::StartRemovalHelper(program, file);
        },
        [](const std::string& fileName) { return platform::ShippedLanguage(fileName); }});
    if (!install_->Create())
        return false;
    // 4. The settings dialog, which fills the settings slot; both windows open it through
    // the slot.
    settingsWindow_ = std::make_unique<SettingsWindow>(SettingsHost{
        services_, [this] { return search_->Handle(); },
        [this](const SettingsOptionsCatalogPaths& paths, std::shared_ptr<CatalogScan> scan,
               std::function<void(bool, CatalogItems, double)> ended) {
            catalog_->Keeper().StartDialogRebuild(paths, std::move(scan), std::move(ended));
        },
        [this](const SettingsOptionsCatalogPaths& paths, CatalogItems items, double lastRebuild) {
            catalog_->Keeper().OfferRebuilt(paths, std::move(items), lastRebuild);
        },
        [this] {
            const std::string failure = SaveOptionsAndCatalog();
            if (!failure.empty())
                ReportSaveFailure(failure);
        },
        [this] { catalog_->Keeper().ForgetLaunches(); }});
    if (!settingsWindow_->Create())
        return false;
    settings_ = {[this] { settingsWindow_->ShowSettings(); },
                 [this] { return settingsWindow_->Visible(); }};
    const SettingsSlot settings{[this] {
                                    if (settings_.show)
                                        settings_.show();
                                },
                                [this] { return settings_.visible && settings_.visible(); }};
    search_->SetSettingsSlot(settings);
    main_->SetSettingsSlot(settings);
    // 5. The pictures.
    ProgramPictures();
    return true;
}

bool Application::Start(StartMode mode) {
    // Before anything is saved: what saves cut short by a crash left in the options folder.
    RemoveStaleOptionsTemporaryFiles(services_.options, CurrentClock().Now());
    switch (mode) {
    case StartMode::OpenOptions:
        main_->SetTitle(kMainWindowTitle);
        main_->SetOpenOptionsPending(true);
        search_->InitializeSearch();
        return true;
    case StartMode::Installer:
        main_->SetTitle(kInstallerWindowTitle);
        install_->Show();
        return true;
    case StartMode::ShowSearch:
        main_->SetTitle(kMainWindowTitle);
        search_->InitializeSearch();
        search_->ShowSearch();
        return true;
    case StartMode::Resident:
        main_->SetTitle(kMainWindowTitle);
        search_->InitializeSearch();
        return true;
    }
    return false;
}

std::string Application::SaveOptionsAndCatalog() {
    CatalogKeeper& keeper = catalog_->Keeper();
    keeper.WaitForSave(); // the file is written by one at a time
    // A catalog file that could not be read, or is still being read, keeps what it holds:
    // writing the catalog there is now would lose every entry.
    if (!keeper.CatalogSaveAllowed()) {
        const FileResult saved = SaveOptions(CurrentOptions(), services_.options);
        return saved ? std::string() : saved.Error();
    }
    const FileResult saved = ::orvan::SaveOptionsAndCatalog(
        CurrentOptions(), services_.options, services_.catalog, keeper.Memory().Counts().get());
    if (saved)
        keeper.NoteSaved();
    return saved ? std::string() : saved.Error();
}

void Application::ReportSaveFailure(const std::string& failure) {
    search_->WriteLog(ApplicationErrorText(failure));
    messageDialogs_.ShowMessageDialog(Languages::Text(0), failure);
}

void Application::SaveAndQuit() {
    search_->SavePages();
    const std::string failure = SaveOptionsAndCatalog();
    if (!failure.empty()) {
        // The program stays: ending now would lose what could not be written.
        search_->SetQuitRequested(false);
        ReportSaveFailure(failure);
        return;
    }
    ::SendMessageW(main_->Handle(), WM_CLOSE, 0, 0);
}

void Application::TranslateAndDispatch(MSG& message) {
    if (search_->PreTranslateMessage(message))
        return;
    const HWND search = search_->Handle();
    if (search && (message.hwnd == search || ::IsChild(search, message.hwnd)) &&
        ::IsDialogMessageW(search, &message))
        return;
    // The installer window: Tab between its controls, Enter for the action, Esc to close.
    const HWND install = install_ ? install_->Handle() : nullptr;
    if (install && (message.hwnd == install || ::IsChild(install, message.hwnd)) &&
        ::IsDialogMessageW(install, &message))
        return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

int Application::RunMessageLoop() {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        try {
            TranslateAndDispatch(message);
        } catch (...) {
            ReportCurrentException();
        }
    }
    return 0;
}

bool Application::PumpPending() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            return false;
        try {
            TranslateAndDispatch(message);
        } catch (...) {
            ReportCurrentException();
        }
    }
    return true;
}

} // namespace orvan::ui
