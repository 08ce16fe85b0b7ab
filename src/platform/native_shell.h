#pragma once
// The shell, version-resource, volume and quick folder-listing ports as the running platform
// provides them: the win32 adapter on Windows, the posix adapter on Linux. Each returns one
// process-wide object.
#include "core/ports/folder_listing.h"
#include "core/ports/shell.h"
#include "core/ports/version_info.h"
#include "core/ports/volume.h"

namespace orvan::platform {

const ShellPort& Shell();
const VersionInfoPort& VersionInfo();
const VolumePort& Volumes();
const FolderListingPort& FolderListing();

} // namespace orvan::platform
