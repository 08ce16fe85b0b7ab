#pragma once
// The build steps for what the typed text itself stands for: a drive or the entries of a
// typed folder, an existing file, a date or time, and the value of a calculation. Each adds
// through AddRunAvailable, so the first producer of a name and path wins.
#include "core/search/run_available.h"

#include <string_view>

namespace orvan {

// At most one of: the root of a drive typed as a lone letter ("c" -> "c:\"), the root of a
// drive typed as letter and colon ("c:" -> "c:\"), or the entries of the typed folder whose
// names begin with the text after its last backslash (ASCII letters in any case, blanks at
// its ends ignored). Names starting with "." are skipped.
void DriveAndFolderStep(std::string_view text, RunAvailableList& list,
                        const RunBuildEnvironment& environment);

// The whole text names an existing file.
void ExistingFileStep(std::string_view text, RunAvailableList& list,
                      const RunBuildEnvironment& environment);

// The text (at least 3 characters) is a date, a date and a time, or a time.
void DateTimeStep(std::string_view text, RunAvailableList& list,
                  const RunBuildEnvironment& environment);

// The text, or the text without its last character, evaluates to a value other than 0;
// added only while the list is still empty.
void CalculatorStep(std::string_view text, RunAvailableList& list,
                    const RunBuildEnvironment& environment);

} // namespace orvan
