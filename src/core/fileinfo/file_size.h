#pragma once
// Byte counts as the user reads them: "1023 bytes", "1.00 kB", "3.75 MB", "2.00 GB".
#include "core/ports/locale.h"

#include <cstdint>
#include <string>

namespace orvan {

// The sign is dropped (-2048 gives "2.00 kB"). Below 1024 the whole count with "bytes";
// otherwise the count in kB, MB or GB (units of 1024) with exactly two decimals, halves
// rounded up (1152 bytes, 1.125 kB, give "1.13 kB"), the locale's decimal separator and no
// grouping. The separator defaults to the current
// locale's.
std::string FormatFileSize(std::int64_t count);
std::string FormatFileSize(std::int64_t count, const LocaleSettings& locale);

} // namespace orvan
