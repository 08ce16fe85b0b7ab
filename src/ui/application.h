#pragma once
// The start-up objects of Orvan.exe in their fixed order (main window, search window, the
// installer window's place, the settings dialog's place, the pictures, the file dialogs'
// place), the start modes and the message loop.
#include "core/app/startup.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"
#include "ui/pictures.h"
#include "ui/robot_page.h"
#include "ui/run_page.h"
#include "ui/search_window.h"

#include <functional>
#include <memory>

namespace orvan::ui {

// The action of installer mode; the installer window registers it here. It returns false
// when there is no installer window, and the program then ends at once.
struct InstallerSlot {
    std::function<bool()> run;
};

// The data module with the file open and save dialogs; the details window registers it.
struct DialogsSlot {
    std::function<void()> create;
};

class Application {
public:
    explicit Application(SearchServices services);
    ~Application();

    // Creates the start-up objects in their order; false when a window cannot be created.
    bool CreateStartupObjects();
    // Chooses the mode: sets the main window's title and initialises (and shows) the
    // search window as the mode asks. Returns false when the program is to end at once.
    bool Start(StartMode mode);
    // Runs the message loop until the program ends.
    int RunMessageLoop();
    // One message as the loop handles it: the search window's keys first, then the
    // dialog navigation, then the ordinary translation and dispatch.
    void TranslateAndDispatch(MSG& message);
    // Handles every message waiting in the queue; false once the quit message came.
    bool PumpPending();

    MainWindow& Main() { return *main_; }
    SearchWindow& Search() { return *search_; }
    InstallerSlot& Installer() { return installer_; }
    SettingsSlot& Settings() { return settings_; }
    DialogsSlot& Dialogs() { return dialogs_; }
    RobotPage& Robot() { return robotPage_; }

private:
    std::unique_ptr<SearchWindow> search_;
    std::unique_ptr<MainWindow> main_;
    InstallerSlot installer_;
    SettingsSlot settings_;
    DialogsSlot dialogs_;
    RobotPage robotPage_;
    Win32MessageDialogs messageDialogs_;
    std::unique_ptr<RunPage> runPage_;
};

} // namespace orvan::ui
