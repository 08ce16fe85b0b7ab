#include "app/silent_run.h"

#include "core/app/install_info.h"
#include "core/app/startup.h"
#include "core/installer/silent_install.h"
#include "core/language/language_file.h"
#include "core/robot/version.h"
#include "platform/native_install.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace orvan::app {

namespace {

// How long the helper waits for the removing process to end, and then for its file to be
// free: a process that is still there after that is not ending by itself.
constexpr DWORD kHelperWaitMilliseconds = 60 * 1000;
constexpr int kDeleteAttempts = 50;
constexpr DWORD kDeletePauseMilliseconds = 100;
constexpr LONGLONG kLogLimitBytes = 1024 * 1024;

std::wstring TemporaryFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH)
        return {};
    return std::wstring(folder, length); // ends with a backslash
}

std::string Timestamp() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char text[32] = {};
    std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    return text;
}

// Appends one run's lines under a heading that names the run, in UTF-8 with CR LF. A log that
// cannot be written costs nothing but the log.
void WriteLog(const std::string& heading, const std::vector<std::string>& lines, int exitCode) {
    const std::wstring file = SilentLogFile();
    if (file.empty())
        return;
    HANDLE handle = ::CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    // Every run appends; a log that has grown past a megabyte over the years starts anew.
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(handle, &size) && size.QuadPart > kLogLimitBytes) {
        ::CloseHandle(handle);
        handle = ::CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return;
    }
    std::string text = Timestamp() + " " + heading + "\r\n";
    for (const std::string& line : lines)
        text += "  " + line + "\r\n";
    text += "  exit code " + std::to_string(exitCode) + "\r\n";
    DWORD written = 0;
    ::WriteFile(handle, text.data(), DWORD(text.size()), &written, nullptr);
    ::CloseHandle(handle);
}

std::string Heading(const char* argument, const std::string& programPath) {
    return std::string(ORVAN_PROGRAM_FILE_NAME) + " " + argument + " (" +
           std::string(PackageVersion) + ") from " + programPath;
}

InstallerServices Steps(const ProgramServices& services, const std::string& programPath,
                        SilentLog& log) {
    InstallerServices steps{services.options,
                            services.catalog,
                            *services.registry,
                            platform::ShellLinks(),
                            platform::UserAccount(),
                            *services.clock,
                            *services.shellNames,
                            *services.shell,
                            log,
                            log,
                            programPath,
                            {}};
    steps.deleteAfterExit = [programPath, &log](const std::string& programFile) {
        if (!platform::StartRemovalHelper(programPath, programFile))
            return false;
        log.Add("The program file \"" + programFile +
                "\" is in use by this removal; a helper deletes it once this process has ended.");
        return true;
    };
    steps.shippedLanguage = [](const std::string& fileName) {
        return platform::ShippedLanguage(fileName);
    };
    return steps;
}

// The translations beside the program, else those it carries inside (the standalone
// download has no folder beside it).
std::vector<LanguageFileInfo> AvailableLanguages(const OptionsServices& options,
                                                 const std::string& programPath) {
    std::vector<LanguageFileInfo> files =
        ListLanguageFiles(LanguagesFolder(programPath), options.fileSystem, options.files);
    if (!files.empty())
        return files;
    return CarriedLanguageFiles(
        [](const std::string& fileName) { return platform::ShippedLanguage(fileName); });
}

} // namespace

std::wstring SilentLogFile() {
    const std::wstring folder = TemporaryFolder();
    return folder.empty() ? std::wstring() : folder + L"Orvan-install.log";
}

int RunSilentInstall(const ProgramServices& services, const std::string& programPath) {
    SilentLog log;
    const InstallerServices steps = Steps(services, programPath, log);
    const OptionsServices& options = services.options;
    const std::int32_t language = LanguageForLocale(std::int32_t(::GetUserDefaultLCID()),
                                                    AvailableLanguages(options, programPath));
    const int code =
        SilentInstall(SilentInstallChoices(SilentInstallFolder(options.folders), language),
                      {steps, platform::RunningInstance(), log});
    WriteLog(Heading(kSilentInstallArgument, programPath), log.lines, code);
    return code;
}

int RunSilentRemove(const ProgramServices& services, const std::string& programPath) {
    SilentLog log;
    const InstallerServices steps = Steps(services, programPath, log);
    const int code = SilentRemove({steps, platform::RunningInstance(), log});
    WriteLog(Heading(kSilentRemoveArgument, programPath), log.lines, code);
    return code;
}

int RunFinishRemoval(const ProgramServices& services, const std::string& programPath,
                     const std::vector<std::wstring>& arguments) {
    SilentLog log;
    int code = kSilentFailed;
    wchar_t* end = nullptr;
    const unsigned long process =
        arguments.size() == 3 ? std::wcstoul(arguments[1].c_str(), &end, 10) : 0;
    if (process == 0 || !end || *end != L'\0') {
        log.Add("usage: Orvan.exe -finish-remove PROCESS-ID PROGRAM-FILE");
    } else {
        const std::string file = win32::Narrow(arguments[2].c_str());
        if (const HANDLE waited = ::OpenProcess(SYNCHRONIZE, FALSE, DWORD(process))) {
            ::WaitForSingleObject(waited, kHelperWaitMilliseconds);
            ::CloseHandle(waited);
        }
        // The file may stay locked a moment after its process has ended.
        bool gone = false;
        for (int attempt = 0; attempt < kDeleteAttempts && !gone; ++attempt) {
            gone = FinishRemovalAfterExit(services.options.fileSystem, file);
            if (!gone)
                ::Sleep(kDeletePauseMilliseconds);
        }
        log.Add(gone ? "Deleted \"" + file + "\"."
                     : "Could not delete \"" + file + "\"; please delete it yourself.");
        code = gone ? kSilentSucceeded : kSilentFailed;
    }
    // The helper itself cannot go while it runs: the system deletes it at its next start
    // where it may (elevated); otherwise it stays in the temporary folder. Only the helper's
    // own copy, never a program started with this switch by hand.
    const std::string name = programPath.substr(programPath.find_last_of("\\/") + 1);
    if (name.rfind(platform::kRemovalHelperPrefix, 0) == 0)
        ::MoveFileExW(win32::Wide(programPath).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    WriteLog(Heading(kFinishRemovalArgument, programPath), log.lines, code);
    return code;
}

} // namespace orvan::app
