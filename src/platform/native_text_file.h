#pragma once
// The ports of a text file the user saves, as the running platform provides them: the win32
// adapter on Windows, the posix adapter on Linux. Each returns one process-wide object.
#include "core/ports/text_file.h"

namespace orvan::platform {

const AnsiCodePagePort& AnsiCodePage();
const FileWritePort& FileWrites();

} // namespace orvan::platform
