#pragma once
// The general date-and-time form in which the program shows a moment to the user: the
// short date, then a blank and the long time unless the time is exactly midnight.
#include "core/ports/locale.h"

#include <string>

namespace orvan {

// "2024-03-05 14:07:09", "2024-03-05" at midnight; empty for a moment outside years 1 to
// 9999 (or not a number).
std::string FormatDateTimeGeneral(double moment, const LocaleSettings& locale);

} // namespace orvan
