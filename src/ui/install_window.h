#pragma once
// The installer window: three operations (Install, Repair, Remove) as radio buttons, the
// options page for a new installation, the details page of an existing one, the status and
// the action button, which stops a resident copy while one runs. The window puts the core's
// state (core/installer/install_form.h) on the screen and runs the core's steps; a timer
// refreshes the state every second while the window is visible. Closing it ends the
// program.
#include "core/app/hot_key.h"
#include "core/app/services.h"
#include "core/installer/install_form.h"
#include "core/installer/installer.h"
#include "ui/window.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvan::ui {

inline constexpr const wchar_t* kInstallWindowClass = L"TInstall";
inline constexpr UINT_PTR kInstallTimer = 1;
inline constexpr UINT kInstallTimerMilliseconds = 1000;

// The child windows, by their control identifiers.
namespace install_ids {
inline constexpr int ActionButton = IDOK;    // btInstall: Enter
inline constexpr int CloseButton = IDCANCEL; // btClose: Esc
inline constexpr int Description = 100;
inline constexpr int OperationLabel = 101;
inline constexpr int InstallRadio = 102;
inline constexpr int RepairRadio = 103;
inline constexpr int RemoveRadio = 104;
inline constexpr int LanguageLabel = 110;
inline constexpr int Language = 111;
inline constexpr int HotKeyLabel = 112;
inline constexpr int HotKey = 113;
inline constexpr int PathLabel = 114;
inline constexpr int Path = 115;
inline constexpr int ScopeLabel = 116;
inline constexpr int Scope = 117;
inline constexpr int StartMenu = 118;
inline constexpr int AutoStart = 119;
inline constexpr int DetailsFirst = 120; // caption, value, caption, value, ... (12 windows)
inline constexpr int OrderByRelevance = 135;
inline constexpr int Status = 140;
inline constexpr int TopLine = 141;
inline constexpr int BottomLine = 142;
} // namespace install_ids

// What the installer window reaches the system and the user through.
struct InstallWindowServices {
    ProgramServices program; // options, catalog, registry, shell, clock, display names
    const ShellLinkPort& links;
    const UserAccountPort& account;
    const RunningInstancePort& instance;
    MessageDialogPort& messages;
    QuestionDialogPort& questions;
    std::string programPath; // the running program's full file name
    // Ends the program: the installer closes the main window. May be empty.
    std::function<void()> closeProgram;
    // Lets window messages run during the catalog rebuild. When empty, the window runs
    // them itself.
    std::function<void()> processMessages;
    // Deletes the running program file once the program has ended, for a removal started
    // from the installed copy. May be empty: the file then stays.
    std::function<bool(const std::string& programFile)> deleteAfterExit = {};
    // The translations the program carries inside, by file name. May be empty.
    std::function<std::optional<std::string>(const std::string& fileName)> shippedLanguage = {};
};

// The program's Yes/No/Cancel dialog behind the core's question port.
class Win32QuestionDialogs final : public QuestionDialogPort {
public:
    DialogAnswer AskYesNoCancel(const std::string& title, const std::string& text) override;
};

class InstallWindow final : public Window {
public:
    explicit InstallWindow(InstallWindowServices services);
    ~InstallWindow() override;

    // Creates the hidden window with its controls and starts the timer.
    HWND Create();
    // Shows the window; the first time it fills the form and focuses Install.
    void Show();
    // Reads the installation state again and shows it.
    void Refresh();
    // The action button: Stop, Install, Repair or Remove.
    void RunAction();
    // Hides the window and ends the program.
    void Close();

    HWND Control(int id) const { return ::GetDlgItem(Handle(), id); }
    const InstallState& State() const { return state_; }
    // The choices the options page holds now.
    InstallChoices Choices() const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void ApplyTexts();
    void Fill();
    // Shows the window in the language just chosen, keeping every choice made.
    void ChangeLanguage();
    void ShowPage(InstallPage page);
    void OnCommand(int id, int code);
    void KeepPathClean();
    std::optional<InstallOperation> SelectedOperation() const;
    InstallerServices Steps();
    // Lets the window's and every other window's messages run while an operation works,
    // at most every few dozen milliseconds.
    void PumpMessages();

    InstallWindowServices services_;
    InstallState state_;
    InstallForm form_;
    bool filled_ = false;
    bool busy_ = false;     // an operation runs; timer ticks, commands and closing wait
    bool quitSeen_ = false; // the quit message came while an operation ran
    int quitCode_ = 0;
    unsigned long long lastPump_ = 0;
    UniqueFont font_;
    std::vector<std::unique_ptr<Window>> labels_; // the labels that keep their colon
};

} // namespace orvan::ui
