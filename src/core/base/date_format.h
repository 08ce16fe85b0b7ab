#pragma once
// Moments (days since 30 December 1899, the fraction being the time of day) taken apart,
// put together and written with a Windows date or time picture such as "dd.MM.yyyy",
// "H:mm:ss" or "h:mm:ss tt".
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/ports/locale.h"

namespace orvan {

struct DateTimeParts {
    int year = 1899;
    int month = 12; // 1 to 12
    int day = 30;   // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int dayOfWeek = 6; // 1 Monday to 7 Sunday
};

// The moment rounded to the millisecond and taken apart. For a negative moment the whole
// part counts the days before 30 December 1899 and the fraction is still the time of that
// day (-1.25 is 29 December 1899, 06:00). Empty for NaN, infinities and moments outside
// years 1 to 9999.
std::optional<DateTimeParts> DecodeMoment(double moment);

// The moment rounded to the millisecond as milliseconds from midnight of 30 December 1899
// on one time line, so that two of them subtract to the time between them (the moment
// itself does not: before that day its whole part counts backwards while its fraction
// still counts the time of day forwards). Empty where DecodeMoment is.
std::optional<std::int64_t> MomentMilliseconds(double moment);

// The moment of a calendar date and time of day (dayOfWeek is ignored). Empty for a date
// or time that does not exist or lies outside years 1 to 9999.
std::optional<double> EncodeMoment(const DateTimeParts& parts);

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Month and weekday names for the pictures MMM, MMMM, ddd and dddd; weekdays Monday first.
struct DateTimeNames {
    std::array<std::string, 12> shortMonths;
    std::array<std::string, 12> longMonths;
    std::array<std::string, 7> shortDays;
    std::array<std::string, 7> longDays;
};

const DateTimeNames& EnglishDateTimeNames();

// Writes the moment with a Windows picture. Date pictures: d, dd (day), ddd, dddd (weekday
// name), M, MM (month), MMM, MMMM (month name), y (year in two digits without a leading
// zero), yy, yyyy (and longer: the full year), g, gg (era). Time pictures: h, hh (12-hour),
// H, HH (24-hour), m, mm, s, ss, t (first character of the AM/PM designator), tt (the
// designator). Text between single quotes is copied as it is ('' inside quotes is one
// quote); any other character is copied. Longer runs of a letter than the picture knows
// use its longest form. Empty when the moment cannot be decoded.
std::string FormatDateTimePicture(std::string_view picture, double moment,
                                  const LocaleSettings& locale,
                                  const DateTimeNames& names = EnglishDateTimeNames());

} // namespace orvan
