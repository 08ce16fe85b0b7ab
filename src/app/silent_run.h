#pragma once
// The runs of Orvan.exe without any window, for package managers: the silent installation
// and removal, and the helper that deletes the installed program file once the removal
// that the installed copy ran has ended. Each writes what it did, or why it failed, to the
// log file and gives the process's exit code.
#include "core/app/services.h"

#include <string>
#include <vector>

namespace orvan::app {

// The log all three append to: "Orvan-install.log" in the user's temporary folder, where
// package managers and support look for installer logs.
std::wstring SilentLogFile();

int RunSilentInstall(const ProgramServices& services, const std::string& programPath);
int RunSilentRemove(const ProgramServices& services, const std::string& programPath);
// arguments: the whole command line after the program, the switch first.
int RunFinishRemoval(const ProgramServices& services, const std::string& programPath,
                     const std::vector<std::wstring>& arguments);

} // namespace orvan::app
