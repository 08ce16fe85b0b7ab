#include "core/base/date_format.h"

#include <cmath>
#include <cstdint>

#include "core/base/utf.h"

namespace orvan {
namespace {

constexpr std::int64_t kMsPerDay = 86400000;
// Days from 1 January 1970 back to 30 December 1899.
constexpr std::int64_t kMomentEpochFromUnix = -25569;

// Days since 1 January 1970 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

void AppendNumber(std::string& out, int value, int minDigits) {
    std::string digits = std::to_string(value);
    if (digits.size() < static_cast<std::size_t>(minDigits))
        out.append(static_cast<std::size_t>(minDigits) - digits.size(), '0');
    out += digits;
}

} // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<DateTimeParts> DecodeMoment(double moment) {
    // Years 1 to 9999 lie well inside this bound; the exact limits are checked below.
    if (!(std::fabs(moment) < 4e6))
        return std::nullopt;
    // Rounded to the millisecond first, so 23:59:59.9996 becomes midnight of the next day.
    const auto totalMs = static_cast<std::int64_t>(std::llround(moment * double(kMsPerDay)));
    const std::int64_t dayNumber = totalMs / kMsPerDay; // towards zero, as the scale counts
    std::int64_t timeMs = totalMs % kMsPerDay;
    if (timeMs < 0)
        timeMs = -timeMs;
    DateTimeParts parts;
    const std::int64_t unixDays = dayNumber + kMomentEpochFromUnix;
    CivilFromDays(unixDays, parts.year, parts.month, parts.day);
    if (parts.year < 1 || parts.year > 9999)
        return std::nullopt;
    parts.hour = static_cast<int>(timeMs / 3600000);
    parts.minute = static_cast<int>(timeMs / 60000 % 60);
    parts.second = static_cast<int>(timeMs / 1000 % 60);
    parts.millisecond = static_cast<int>(timeMs % 1000);
    // 1 January 1970 was a Thursday (4).
    std::int64_t weekday = (unixDays + 3) % 7;
    if (weekday < 0)
        weekday += 7;
    parts.dayOfWeek = static_cast<int>(weekday) + 1;
    return parts;
}

std::optional<std::int64_t> MomentMilliseconds(double moment) {
    if (!DecodeMoment(moment))
        return std::nullopt;
    const auto totalMs = static_cast<std::int64_t>(std::llround(moment * double(kMsPerDay)));
    const std::int64_t dayNumber = totalMs / kMsPerDay;
    const std::int64_t timeMs = totalMs % kMsPerDay;
    return dayNumber * kMsPerDay + (timeMs < 0 ? -timeMs : timeMs);
}

std::optional<double> EncodeMoment(const DateTimeParts& parts) {
    if (parts.year < 1 || parts.year > 9999 || parts.month < 1 || parts.month > 12 ||
        parts.day < 1 || parts.day > DaysInMonth(parts.year, parts.month))
        return std::nullopt;
    if (parts.hour < 0 || parts.hour > 23 || parts.minute < 0 || parts.minute > 59 ||
        parts.second < 0 || parts.second > 59 || parts.millisecond < 0 || parts.millisecond > 999)
        return std::nullopt;
    const std::int64_t dayNumber =
        DaysFromCivil(parts.year, parts.month, parts.day) - kMomentEpochFromUnix;
    const double time =
        static_cast<double>(((parts.hour * 60 + parts.minute) * 60 + parts.second) * 1000 +
                            parts.millisecond) /
        double(kMsPerDay);
    // Before the epoch day the fraction still counts forward from that day's midnight.
    return dayNumber >= 0 ? double(dayNumber) + time : double(dayNumber) - time;
}

const DateTimeNames& EnglishDateTimeNames() {
    static const DateTimeNames names{
        {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
        {"January", "February", "March", "April", "May", "June", "July", "August", "September",
         "October", "November", "December"},
        {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
        {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"},
    };
    return names;
}

std::string FormatDateTimePicture(std::string_view picture, double moment,
                                  const LocaleSettings& locale, const DateTimeNames& names) {
    const std::optional<DateTimeParts> decoded = DecodeMoment(moment);
    if (!decoded)
        return {};
    const DateTimeParts& p = *decoded;
    std::string out;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'') {
            // Quoted literal; a doubled quote inside stands for one quote. An unclosed
            // quote runs to the end of the picture.
            ++i;
            while (i < picture.size()) {
                if (picture[i] == '\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                        out += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += picture[i++];
            }
            continue;
        }
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c)
            ++run;
        const int n = static_cast<int>(run);
        switch (c) {
        case 'd':
            if (n <= 2)
                AppendNumber(out, p.day, n);
            else
                out += (n == 3 ? names.shortDays : names.longDays)[p.dayOfWeek - 1];
            break;
        case 'M':
            if (n <= 2)
                AppendNumber(out, p.month, n);
            else
                out += (n == 3 ? names.shortMonths : names.longMonths)[p.month - 1];
            break;
        case 'y':
            if (n <= 2)
                AppendNumber(out, p.year % 100, n);
            else
                AppendNumber(out, p.year, 4);
            break;
        case 'g':
            out += "A.D.";
            break;
        case 'h':
            AppendNumber(out, p.hour % 12 == 0 ? 12 : p.hour % 12, n >= 2 ? 2 : 1);
            break;
        case 'H':
            AppendNumber(out, p.hour, n >= 2 ? 2 : 1);
            break;
        case 'm':
            AppendNumber(out, p.minute, n >= 2 ? 2 : 1);
            break;
        case 's':
            AppendNumber(out, p.second, n >= 2 ? 2 : 1);
            break;
        case 't': {
            const std::string& designator = p.hour < 12 ? locale.amDesignator : locale.pmDesignator;
            if (n >= 2) {
                out += designator;
            } else if (!designator.empty()) {
                // The first character, whole even when it takes several bytes.
                std::size_t end = 0;
                DecodeUtf8(designator, end);
                out += designator.substr(0, end);
            }
            break;
        }
        default:
            out.append(picture.substr(i, run));
            break;
        }
        i += run;
    }
    return out;
}

} // namespace orvan
