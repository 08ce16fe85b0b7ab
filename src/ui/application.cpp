#include "ui/application.h"

#include "core/robot/version.h"
#include "platform/win32/hotkey.h"

namespace orvan::ui {

Application::Application(SearchServices services)
    : search_(std::make_unique<SearchWindow>(services)),
      main_(std::make_unique<MainWindow>(*search_)) {
    runPage_ = std::make_unique<RunPage>(
        services.fileInfo, LaunchServices{services.shell, &messageDialogs_, search_.get()});
    search_->SetRunPageHandler(runPage_.get());
}

Application::~Application() {
    SetHotKeyRegistration(nullptr);
    main_.reset();
    search_.reset();
}

bool Application::CreateStartupObjects() {
    // 1. The main window, then 2. the search window, owned by it.
    if (!main_->Create())
        return false;
    // Applying options registers the hot key for the main window.
    SetHotKeyRegistration([](std::int32_t hotKey) { platform::RegisterMainHotKey(hotKey); });
    // Not owned by the main window: under Wine an owned window cannot be made topmost and
    // back again, which the stay-on-top option needs. The tool-window style keeps it off
    // the taskbar all the same.
    if (!search_->Create(nullptr))
        return false;
    search_->SetCloseMainWindow([this] { ::SendMessageW(main_->Handle(), WM_CLOSE, 0, 0); });
    search_->SetRobotPageHandler(&robotPage_);
    search_->SetMessageDialogs(&messageDialogs_);
    // 3. The installer window and 4. the settings dialog register themselves in their slots;
    // the windows read the settings slot whenever they need it.
    search_->SetSettingsSlot({[this] {
                                  if (settings_.show)
                                      settings_.show();
                              },
                              [this] { return settings_.visible && settings_.visible(); }});
    main_->SetSettingsSlot({[this] {
                                if (settings_.show)
                                    settings_.show();
                            },
                            [this] { return settings_.visible && settings_.visible(); }});
    // 5. The pictures.
    ProgramPictures();
    // 6. The file dialogs.
    if (dialogs_.create)
        dialogs_.create();
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
        main_->SetTitle(kInstallerWindowTitle);
        return installer_.run && installer_.run();
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
