// A console stand-in for the installer window, for checks from outside the program: it runs
// the installation or the removal with the real system's ports and prints what the window
// would have shown. The checks then read the registry, the shortcut files and the copied
// file with tools that are not ours (tests/install_probe/run_install_checks.sh).
//   install_probe install FOLDER all|user [--no-menu] [--no-auto]
//   install_probe remove
//   install_probe folders       the start menus, the application-data folder and the local
//                               one, one a line
#include "core/installer/installer.h"
#include "core/language/language.h"
#include "platform/native.h"
#include "platform/native_install.h"
#include "platform/native_shell.h"
#include "platform/system_services.h"
#include "platform/win32/registry.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace orvan;

class PrintedMessages final : public MessageDialogPort {
public:
    void ShowMessageDialog(const std::string& title, const std::string& text) override {
        std::printf("%s: %s\n", title.c_str(), text.c_str());
    }
};

// Answers No: the installation ends without starting the installed copy.
class AnswerNo final : public QuestionDialogPort {
public:
    DialogAnswer AskYesNoCancel(const std::string& title, const std::string& text) override {
        std::printf("%s: %s\n", title.c_str(), text.c_str());
        return DialogAnswer::No;
    }
};

std::string ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return win32::Narrow(path.c_str());
        }
        path.resize(path.size() * 2);
    }
}

int Usage() {
    std::fputs("usage: install_probe install FOLDER all|user [--no-menu] [--no-auto]\n"
               "       install_probe remove | folders\n",
               stderr);
    return 2;
}

} // namespace

int wmain(int count, wchar_t** wideArguments) {
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(win32::Narrow(wideArguments[i]));
    if (arguments.empty())
        return Usage();

    platform::UseSystemLocaleAndClock();
    const std::string programPath = ProgramPath();
    const ProgramServices system = platform::SystemServices(programPath);
    PrintedMessages messages;
    AnswerNo questions;
    const InstallerServices services{system.options,
                                     system.catalog,
                                     platform::Registry(),
                                     platform::ShellLinks(),
                                     platform::UserAccount(),
                                     *system.clock,
                                     *system.shellNames,
                                     *system.shell,
                                     messages,
                                     questions,
                                     programPath,
                                     {}};

    if (arguments[0] == "folders" && arguments.size() == 1) {
        for (const int number :
             {Csidl::StartMenu, Csidl::CommonStartMenu, Csidl::AppData, Csidl::LocalAppData})
            std::printf("%s\n", system.options.folders.GetSpecialFolder(number).c_str());
        return 0;
    }
    if (arguments[0] == "remove" && arguments.size() == 1) {
        DetectInstallation({platform::Registry(), system.options});
        return RemoveProgram(CurrentInstallInfo(), true, services).ok ? 0 : 1;
    }
    if (arguments[0] != "install" || arguments.size() < 3 ||
        (arguments[2] != "all" && arguments[2] != "user"))
        return Usage();
    InstallChoices choices;
    choices.folder = arguments[1];
    choices.allUsers = arguments[2] == "all";
    for (std::size_t i = 3; i < arguments.size(); ++i) {
        if (arguments[i] == "--no-menu")
            choices.createStartMenu = false;
        else if (arguments[i] == "--no-auto")
            choices.autoStart = false;
        else
            return Usage();
    }
    return InstallProgram(choices, services).ok ? 0 : 1;
}
