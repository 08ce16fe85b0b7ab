#include "ui/application.h"

#include "core/catalog/catalog_file.h"
#include "core/language/language.h"
#include "core/robot/version.h"
#include "core/ui/search_texts.h"
#include "ui/hot_key_registration.h"

namespace orvan::ui {

Application::Application(const ProgramServices& services)
    : services_(services), search_(std::make_unique<SearchWindow>(services, messageDialogs_)),
      main_(std::make_unique<MainWindow>(*search_)) {}

Application::~Application() {
    SetHotKeyRegistration(nullptr);
    main_.reset();
    search_.reset();
}

bool Application::CreateStartupObjects() {
    // 1. The main window, then 2. the search window.
    if (!main_->Create())
        return false;
    // Applying options registers the hot key for the main window.
    SetHotKeyRegistration([](std::int32_t hotKey) { RegisterMainHotKey(hotKey); });
    if (!search_->Create())
        return false;
    search_->SetQuitHandler([this] { SaveAndQuit(); });
    // The settings dialog fills the settings slot; both windows open it through the slot.
    const SettingsSlot settings{[this] {
                                    if (settings_.show)
                                        settings_.show();
                                },
                                [this] { return settings_.visible && settings_.visible(); }};
    search_->SetSettingsSlot(settings);
    main_->SetSettingsSlot(settings);
    // 3. The pictures.
    ProgramPictures();
    return true;
}

bool Application::Start(StartMode mode) {
    switch (mode) {
    case StartMode::OpenOptions:
        main_->SetTitle(kMainWindowTitle);
        main_->SetOpenOptionsPending(true);
        search_->InitializeSearch();
        return true;
    case StartMode::Installer:
        // Until the installer window exists, installer mode ends the program at once.
        main_->SetTitle(kInstallerWindowTitle);
        return false;
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

void Application::SaveAndQuit() {
    search_->WaitForCatalog(); // a catalog still loading is part of what is saved
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
        search_->SetQuitRequested(false);
        search_->WriteLog(ApplicationErrorText(failure));
        messageDialogs_.ShowMessageDialog(Languages::Text(0), failure);
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
