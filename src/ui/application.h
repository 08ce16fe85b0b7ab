#pragma once
// The start-up objects of Orvan.exe in their fixed order (the main window, the search
// window, the installer window, the settings dialog, the pictures), the start modes, the
// message loop, and how the options and the catalog are saved.
#include "core/app/services.h"
#include "core/app/startup.h"
#include "ui/catalog_host.h"
#include "ui/details_window.h"
#include "ui/install_window.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"
#include "ui/pictures.h"
#include "ui/search_window.h"
#include "ui/settings_window.h"

#include <memory>

namespace orvan::ui {

class Application {
public:
    explicit Application(const ProgramServices& services);
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
    InstallWindow& Install() { return *install_; }
    // The settings dialog's place; both the search window and the tray menu open it.
    SettingsSlot& Settings() { return settings_; }
    SettingsWindow& SettingsDialog() { return *settingsWindow_; }
    CatalogKeeper& Catalog() { return catalog_->Keeper(); }
    // The details window while it is up, else nullptr.
    DetailsWindow* Details() const { return details_; }

private:
    // The close command: saves options and catalog, then ends the program; when a file
    // cannot be written the program stays and says so, since ending would lose it.
    void SaveAndQuit();
    // Saves the current options, then the catalog; the first failure's text, empty when
    // both were written.
    std::string SaveOptionsAndCatalog();
    // Writes a failure to save into the robot display and shows it.
    void ReportSaveFailure(const std::string& failure);

    ProgramServices services_;
    Win32MessageDialogs messageDialogs_;
    Win32QuestionDialogs questionDialogs_;
    SettingsSlot settings_;
    DetailsWindow* details_ = nullptr; // the modal details window while it runs
    // The catalog's owner: made first and ended last of all, after the windows that show
    // the catalog, so that its jobs never outlive what they report to.
    std::unique_ptr<CatalogHost> catalog_;
    std::unique_ptr<SearchWindow> search_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<InstallWindow> install_;
    std::unique_ptr<SettingsWindow> settingsWindow_;
};

} // namespace orvan::ui
