#pragma once
// The shell, version-resource and volume ports as the running platform provides them: the
// win32 adapter on Windows, the posix adapter on Linux. Each returns one process-wide
// object.
#include "core/ports/shell.h"
#include "core/ports/version_info.h"
#include "core/ports/volume.h"

namespace orvan::platform {

const ShellPort& Shell();
const VersionInfoPort& VersionInfo();
const VolumePort& Volumes();

} // namespace orvan::platform
