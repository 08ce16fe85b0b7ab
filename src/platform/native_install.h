#pragma once
// The ports only the installer needs: shortcut files, the resident copy of the program and
// the user's logon name. Windows provides them; the Linux build has no installer and leaves
// them out.
#include "core/ports/running_instance.h"
#include "core/ports/shell_links.h"
#include "core/ports/user_account.h"

#include <optional>
#include <string>

namespace orvan::platform {

const ShellLinkPort& ShellLinks();
const RunningInstancePort& RunningInstance();
const UserAccountPort& UserAccount();

// Copies the running program (programPath) to the temporary folder and starts the copy with
// "-finish-remove", the process's id and programFile: once this process has ended, it
// deletes programFile, the translations beside it and the folders left empty. For a
// removal started from the installed copy, whose running file cannot be deleted; true when
// the helper runs.
bool StartRemovalHelper(const std::string& programPath, const std::string& programFile);
// How the helper's copy in the temporary folder is named: this, the process id, ".exe".
inline constexpr const char* kRemovalHelperPrefix = "Orvan-remove-";

// The bytes of a translation carried in the program's resources, by its file name
// ("German.lng"), read from the running program or, when moduleFile is given, from that
// program file; nothing when there is no such resource.
std::optional<std::string> ShippedLanguage(const std::string& fileName,
                                           const std::string& moduleFile = {});

} // namespace orvan::platform
