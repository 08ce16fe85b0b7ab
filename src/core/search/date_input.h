#pragma once
// Dates and times typed into the input line, read by the user's regional conventions, and
// the facts the date entry shows about them.
#include "core/ports/locale.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvan {

// Converts typed text to a moment. Accepted, with blanks allowed at both ends:
// - the short date with all three parts (day, month, year) in the order of the locale's
//   short date format, separated by the separators that format uses (with blanks around
//   them only where the format has blanks there); a year of one or two digits means 2000 to 2029
//   for 0 to 29 and 1930 to 1999 for 30 to 99, as the usual two-digit year window does; where the
//   format writes the month as a name the English month names are accepted as well;
// - such a date, one or more blanks and a time;
// - a time alone, which denotes that time on 30 December 1899 (day 0).
// A time is hours and minutes, optionally seconds, separated by the separator of the
// locale's long time format or ":" (but never by the decimal separator, which belongs
// to numbers); where the long time format shows the AM/PM designator, the locale's
// designators are accepted before or after the time (any letter case) and the hours then
// run from 1 to 12. Two numbers are never a date: "10/2" and "10-2" stay calculations.
std::optional<double> TextToMoment(std::string_view text, const LocaleSettings& locale);

// The ISO 8601 week number (1 to 53) of a moment; 0 when the moment cannot be decoded.
int IsoWeekNumber(double moment);

// A whole number with digit grouping and no decimals, as the format "#,###" writes it
// (0 gives the empty text).
std::string FormatGroupedCount(std::uint64_t value, const LocaleSettings& locale);

// The time between two moments: up to one day as a time of day in the long time format
// (exactly one day reads as midnight), beyond that "%s days, %s" with the grouped day
// count and the rest as a time of day. The time between the moments is counted in whole
// seconds after rounding each moment to the millisecond, the precision of moments, so that a
// span of exactly ten seconds never reads as nine.
std::string DateTimeSpanText(double now, double moment, const LocaleSettings& locale);

// The description of the date entry: the moment in the general form, an empty line, the
// weekday name, the span to now and the ISO week ("Week 10"), separated by CR.
std::string DateTimeDescription(double moment, double now, const LocaleSettings& locale);

} // namespace orvan
