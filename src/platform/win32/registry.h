#pragma once
// The registry port on the Windows registry (HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE).
#include "core/ports/registry.h"

namespace orvan::platform {

const RegistryPort& Registry();

} // namespace orvan::platform
