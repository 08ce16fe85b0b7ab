// Entry point of Orvan.exe: reads the first command-line argument, runs the silent
// installation or removal when asked, hands over to an elevated installer when needed,
// refuses a second instance of the same mode, creates the start-up objects and runs the
// message loop. The exit code is 0, except for the silent runs, which give theirs.
#include "app/silent_run.h"
#include "core/app/install_info.h"
#include "core/app/startup.h"
#include "core/search/launch.h"
#include "platform/system_services.h"
#include "ui/application.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

using namespace orvan;

// The command line's arguments after the program's name.
std::vector<std::wstring> Arguments() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::wstring> result;
    for (int i = 1; arguments && i < count; ++i)
        result.emplace_back(arguments[i]);
    ::LocalFree(arguments);
    return result;
}

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

HWND FindInstance(std::string_view title) {
    return ::FindWindowW(win32::Wide(kMainWindowClass).c_str(), win32::Wide(title).c_str());
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The installer runs elevated from wherever the user downloaded it: a DLL planted beside
    // it or in the current folder must never be loaded, so libraries loaded from here on
    // come from the system folder only.
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    ::SetDllDirectoryW(L"");
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);
    platform::UseSystemLocaleAndClock();

    const std::wstring programPath = ProgramPath();
    const ProgramServices services = platform::SystemServices(win32::Narrow(programPath.c_str()));
    const std::vector<std::wstring> arguments = Arguments();
    const std::string argument =
        arguments.empty() ? std::string() : win32::Narrow(arguments[0].c_str());
    const std::string program = win32::Narrow(programPath.c_str());

    const StartDecision decision = DecideStart(
        argument, {[&] {
                       return InstalledOrPortable({*services.registry, services.options});
                   },
                   [](std::string_view title) { return FindInstance(title) != nullptr; }});

    switch (decision.action) {
    case StartAction::SilentInstall:
    case StartAction::SilentRemove:
    case StartAction::FinishRemoval: {
        const int code = decision.action == StartAction::SilentInstall
                             ? app::RunSilentInstall(services, program)
                         : decision.action == StartAction::SilentRemove
                             ? app::RunSilentRemove(services, program)
                             : app::RunFinishRemoval(services, program, arguments);
        ::CoUninitialize();
        return code;
    }
    case StartAction::Elevate:
        // Whatever the answer: the hand-over is done, or refused and nothing further happens.
        ShellRunAs(*services.shell, 0, win32::Narrow(programPath.c_str()), kInstallerArgument);
        return 0;
    case StartAction::PostOpenOptionsAndEnd:
        if (const HWND running = FindInstance(decision.title)) {
            // The running copy brings its window to the front; Windows lets it do that only
            // when the process the user just started hands its right to the foreground on.
            DWORD process = 0;
            ::GetWindowThreadProcessId(running, &process);
            ::AllowSetForegroundWindow(process);
            ::PostMessageW(running, kOpenOptionsMessage, kOpenOptionsWParam, kOpenOptionsLParam);
        }
        return 0;
    case StartAction::End:
        return 0;
    case StartAction::Run:
        break;
    }

    {
        ui::Application application(services);
        if (application.CreateStartupObjects() && application.Start(decision.mode))
            application.RunMessageLoop();
    }
    ::CoUninitialize();
    return 0;
}
