#pragma once
// The ports only the installer needs: shortcut files, the resident copy of the program and
// the user's logon name. Windows provides them; the Linux build has no installer and leaves
// them out.
#include "core/ports/running_instance.h"
#include "core/ports/shell_links.h"
#include "core/ports/user_account.h"

namespace orvan::platform {

const ShellLinkPort& ShellLinks();
const RunningInstancePort& RunningInstance();
const UserAccountPort& UserAccount();

} // namespace orvan::platform
