#pragma once
// The ports as the running platform provides them: the win32 adapter on Windows, the posix
// adapter on Linux. Each returns one process-wide object.
#include "core/app/hot_key.h"
#include "core/ports/clock.h"
#include "core/ports/file_store.h"
#include "core/ports/file_system.h"
#include "core/ports/folder_watch.h"
#include "core/ports/locale.h"
#include "core/ports/registry.h"
#include "core/ports/shell_names.h"
#include "core/ports/special_folders.h"
#include "core/ports/xml_reader.h"

namespace orvan::platform {

const LocalePort& Locale();
const SpecialFolderPort& SpecialFolders();
const FileSystemPort& FileSystem();
const KeyNamePort& KeyNames();
const ClockPort& Clock();
const FileStorePort& FileStore();
const XmlReaderPort& XmlReader();
const ShellNamePort& ShellNames();
// Folder watches: ReadDirectoryChangesW on Windows, inotify on Linux.
const FolderWatchPort& FolderWatches();
// The registry, or nullptr where the system has none (Linux).
const RegistryPort* RegistryOrNull();

} // namespace orvan::platform
