#include "core/app/startup.h"
#include "platform/native_install.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <string>

namespace orvan::platform {

bool StartRemovalHelper(const std::string& programPath, const std::string& programFile) {
    wchar_t temporary[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temporary);
    if (length == 0 || length > MAX_PATH)
        return false;
    const std::wstring folder(temporary, length); // ends with a backslash
    const std::wstring process = std::to_wstring(::GetCurrentProcessId());
    const std::wstring helper = folder + win32::Wide(kRemovalHelperPrefix) + process + L".exe";
    if (!::CopyFileW(win32::Wide(programPath).c_str(), helper.c_str(), FALSE))
        return false;
    std::wstring commandLine = L"\"" + helper + L"\" " + win32::Wide(kFinishRemovalArgument) +
                               L" " + process + L" \"" + win32::Wide(programFile) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    // Started in the temporary folder: a helper whose current folder is the program folder
    // would keep that folder from being deleted.
    if (!::CreateProcessW(helper.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &started)) {
        ::DeleteFileW(helper.c_str());
        return false;
    }
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return true;
}

} // namespace orvan::platform
