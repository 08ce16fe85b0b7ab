#pragma once
// The program's services over the running system's own ports.
#include "core/app/services.h"
#include "core/robot/version_defs.h"

#include <string>

namespace orvan::platform {

// `programFileName` names the options file (its name with ".ini"); the launcher passes its
// own file, the other front ends the launcher's.
ProgramServices SystemServices(std::string programFileName = ORVAN_PROGRAM_FILE_NAME);

// Hands the system's locale and clock to the core's process-wide readers.
void UseSystemLocaleAndClock();

} // namespace orvan::platform
