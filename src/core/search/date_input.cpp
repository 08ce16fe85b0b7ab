#include "core/search/date_input.h"

#include "core/base/date_format.h"
#include "core/base/date_general.h"
#include "core/base/utf.h"
#include "core/language/language.h"
#include "core/search/calculator.h"

#include <array>
#include <cmath>
#include <vector>

namespace orvan {

namespace {

constexpr int kTextDaysSpan = 12010;
constexpr int kTextWeek = 12011;

// No date or time the reader accepts comes near this many bytes; longer texts are turned
// away before any work.
constexpr std::size_t kMaxMomentText = 160;

enum class DatePart { Day, Month, Year };

// What the reader takes from the short date format.
struct DatePattern {
    std::array<DatePart, 3> order{DatePart::Year, DatePart::Month, DatePart::Day};
    std::vector<char32_t> separators; // accepted between the parts
    bool trailingSeparator = false;   // the format ends with a separator ("yyyy. MM. dd.")
    bool monthNames = false;          // the format writes the month as a name
    bool blanks = false;              // the format has blanks between its parts ("d. M. yyyy")
    bool blankOnly = false;           // blanks are its only separators ("dd MM yyyy")
};

bool IsAsciiLetter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsBlank(char32_t c) {
    return c == U' ' || c == 0xA0 || c == 0x202F; // also the no-break spaces of some locales
}

std::u32string Decode(std::string_view text) {
    std::u32string out;
    std::size_t pos = 0;
    while (pos < text.size())
        out.push_back(DecodeUtf8(text, pos));
    return out;
}

// Walks a Windows picture, calling letter(c, run) for each run of one letter outside quotes
// and other(c) for every other character outside quotes.
template <typename Letter, typename Other>
void WalkPicture(const std::u32string& picture, Letter letter, Other other) {
    std::size_t i = 0;
    while (i < picture.size()) {
        const char32_t c = picture[i];
        if (c == U'\'') {
            ++i;
            while (i < picture.size() && picture[i] != U'\'')
                ++i;
            ++i;
            continue;
        }
        if (IsAsciiLetter(c)) {
            std::size_t run = 1;
            while (i + run < picture.size() && picture[i + run] == c)
                ++run;
            letter(c, run);
            i += run;
            continue;
        }
        other(c);
        ++i;
    }
}

DatePattern ReadDatePattern(std::string_view format) {
    DatePattern pattern;
    std::vector<DatePart> order;
    bool afterLastPart = false;
    std::vector<char32_t> trailing;
    auto addPart = [&](DatePart part) {
        for (const DatePart p : order)
            if (p == part)
                return;
        order.push_back(part);
    };
    WalkPicture(
        Decode(format),
        [&](char32_t c, std::size_t run) {
            if (c == U'd' && run <= 2)
                addPart(DatePart::Day);
            else if (c == U'M') {
                addPart(DatePart::Month);
                pattern.monthNames = pattern.monthNames || run >= 3;
            } else if (c == U'y')
                addPart(DatePart::Year);
            else
                return; // weekday names, era: nothing the user types
            afterLastPart = true;
            trailing.clear();
        },
        [&](char32_t c) {
            if (!afterLastPart || (c >= U'0' && c <= U'9'))
                return; // text before the first part is not typed
            if (IsBlank(c)) {
                pattern.blanks = pattern.blanks || order.size() < 3;
                return;
            }
            trailing.push_back(c);
            for (const char32_t s : pattern.separators)
                if (s == c)
                    return;
            pattern.separators.push_back(c);
        });
    pattern.trailingSeparator = order.size() == 3 && !trailing.empty();
    // A format without day, month or year (not a short date at all) falls back to the
    // international order.
    for (const DatePart part : {DatePart::Year, DatePart::Month, DatePart::Day})
        addPart(part);
    for (std::size_t i = 0; i < 3; ++i)
        pattern.order[i] = order[i];
    if (pattern.separators.empty()) {
        if (pattern.blanks)
            pattern.blankOnly = true;
        else
            pattern.separators = {U'-', U'/', U'.'};
    }
    return pattern;
}

// The separator between hours and minutes in the long time format; ":" when it has none.
char32_t TimeSeparator(std::string_view longTimeFormat) {
    char32_t separator = 0;
    bool afterHours = false;
    WalkPicture(
        Decode(longTimeFormat),
        [&](char32_t c, std::size_t) {
            if (c == U'h' || c == U'H')
                afterHours = true;
            else if (separator == 0)
                afterHours = false;
        },
        [&](char32_t c) {
            if (afterHours && separator == 0 && !IsBlank(c))
                separator = c;
        });
    return separator == 0 ? U':' : separator;
}

bool UsesDesignator(std::string_view longTimeFormat) {
    bool found = false;
    WalkPicture(
        Decode(longTimeFormat), [&](char32_t c, std::size_t) { found = found || c == U't'; },
        [](char32_t) {});
    return found;
}

class Scanner {
public:
    explicit Scanner(std::u32string text) : text_(std::move(text)) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    std::size_t Position() const { return pos_; }

    // Returns how many blanks were skipped.
    std::size_t SkipBlanks() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsBlank(text_[pos_]))
            ++pos_;
        return pos_ - start;
    }

    // One to maxDigits ASCII digits, and no further digit after them.
    std::optional<int> Number(std::size_t maxDigits, std::size_t* digits = nullptr) {
        std::size_t n = 0;
        int value = 0;
        while (pos_ + n < text_.size() && text_[pos_ + n] >= U'0' && text_[pos_ + n] <= U'9') {
            if (n == maxDigits)
                return std::nullopt;
            value = value * 10 + static_cast<int>(text_[pos_ + n] - U'0');
            ++n;
        }
        if (n == 0)
            return std::nullopt;
        pos_ += n;
        if (digits != nullptr)
            *digits = n;
        return value;
    }

    bool OneOf(const std::vector<char32_t>& characters) {
        if (AtEnd())
            return false;
        for (const char32_t c : characters)
            if (text_[pos_] == c) {
                ++pos_;
                return true;
            }
        return false;
    }

    // A word compared without regard to letter case; the whole of it must be there.
    bool Word(std::string_view word) {
        const std::u32string wanted = Decode(Upper(word));
        if (wanted.empty() || pos_ + wanted.size() > text_.size())
            return false;
        std::string candidate;
        for (std::size_t i = 0; i < wanted.size(); ++i)
            AppendUtf8(candidate, text_[pos_ + i]);
        if (Decode(Upper(candidate)) != wanted)
            return false;
        pos_ += wanted.size();
        return true;
    }

    // A month name; 1 to 12, or 0 when none is there.
    int MonthName() {
        const DateTimeNames& names = EnglishDateTimeNames();
        for (int m = 0; m < 12; ++m) { // long names first: "June" before "Jun"
            const std::size_t start = pos_;
            if (Word(names.longMonths[static_cast<std::size_t>(m)]) && !LetterFollows())
                return m + 1;
            pos_ = start;
        }
        for (int m = 0; m < 12; ++m) {
            const std::size_t start = pos_;
            if (Word(names.shortMonths[static_cast<std::size_t>(m)]) && !LetterFollows())
                return m + 1;
            pos_ = start;
        }
        return 0;
    }

    void Restore(std::size_t pos) { pos_ = pos; }

private:
    bool LetterFollows() const { return pos_ < text_.size() && IsAsciiLetter(text_[pos_]); }

    std::u32string text_;
    std::size_t pos_ = 0;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

std::optional<TimeOfDay> ScanTime(Scanner& s, const LocaleSettings& locale) {
    std::vector<char32_t> separators{U':'};
    const char32_t own = TimeSeparator(locale.longTimeFormat);
    if (own != U':')
        separators.push_back(own);
    // A separator that is also the decimal separator would read "1.5" as a time.
    const std::u32string decimal = Decode(locale.decimalSeparator);
    if (decimal.size() == 1)
        std::erase(separators, decimal.front());
    if (separators.empty())
        return std::nullopt;

    const bool designators = UsesDesignator(locale.longTimeFormat);
    int designator = 0; // 1 AM, 2 PM
    auto scanDesignator = [&] {
        if (!designators || designator != 0)
            return;
        if (!locale.amDesignator.empty() && s.Word(locale.amDesignator))
            designator = 1;
        else if (!locale.pmDesignator.empty() && s.Word(locale.pmDesignator))
            designator = 2;
    };

    scanDesignator();
    s.SkipBlanks();
    TimeOfDay time;
    const std::optional<int> hour = s.Number(2);
    if (!hour || !s.OneOf(separators))
        return std::nullopt;
    const std::optional<int> minute = s.Number(2);
    if (!minute)
        return std::nullopt;
    std::optional<int> second = 0;
    const std::size_t beforeSeconds = s.Position();
    if (s.OneOf(separators)) {
        second = s.Number(2);
        if (!second)
            s.Restore(beforeSeconds);
    }
    s.SkipBlanks();
    scanDesignator();
    s.SkipBlanks();
    if (!s.AtEnd() || !second)
        return std::nullopt;

    time.hour = *hour;
    time.minute = *minute;
    time.second = *second;
    if (designator != 0) {
        if (time.hour < 1 || time.hour > 12)
            return std::nullopt;
        time.hour = time.hour % 12 + (designator == 2 ? 12 : 0);
    }
    if (time.hour > 23 || time.minute > 59 || time.second > 59)
        return std::nullopt;
    return time;
}

// The three parts of the short date; false when the text there is not one.
bool ScanDate(Scanner& s, const DatePattern& pattern, DateTimeParts& parts) {
    for (std::size_t k = 0; k < 3; ++k) {
        if (k > 0) {
            // Blanks around a separator only where the format has them, so that "5 - 3 - 1"
            // stays a calculation in a locale that writes "yyyy-MM-dd".
            if (pattern.blankOnly) {
                if (s.SkipBlanks() == 0)
                    return false;
            } else {
                if (pattern.blanks)
                    s.SkipBlanks();
                if (!s.OneOf(pattern.separators))
                    return false;
                if (pattern.blanks)
                    s.SkipBlanks();
            }
        }
        switch (pattern.order[k]) {
        case DatePart::Day: {
            const std::optional<int> day = s.Number(2);
            if (!day)
                return false;
            parts.day = *day;
            break;
        }
        case DatePart::Month: {
            int month = pattern.monthNames ? s.MonthName() : 0;
            if (month == 0) {
                const std::optional<int> number = s.Number(2);
                if (!number)
                    return false;
                month = *number;
            }
            parts.month = month;
            break;
        }
        case DatePart::Year: {
            std::size_t digits = 0;
            const std::optional<int> year = s.Number(4, &digits);
            if (!year)
                return false;
            parts.year = *year;
            if (digits <= 2)
                parts.year += *year < 30 ? 2000 : 1900;
            break;
        }
        }
    }
    if (pattern.trailingSeparator && !pattern.blankOnly) {
        const std::size_t before = s.Position();
        if (pattern.blanks)
            s.SkipBlanks();
        if (!s.OneOf(pattern.separators))
            s.Restore(before);
    }
    return true;
}

// Days since 1 January of a proleptic Gregorian year, counted from 0.
int DayOfYear(int year, int month, int day) {
    int days = day - 1;
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    return days;
}

int WeeksInIsoYear(int year, int januaryFirstWeekday) {
    // 53 weeks when 1 January is a Thursday, or a Wednesday in a leap year.
    return januaryFirstWeekday == 4 || (januaryFirstWeekday == 3 && IsLeapYear(year)) ? 53 : 52;
}

int Modulo7(int value) {
    return ((value % 7) + 7) % 7;
}

} // namespace

std::optional<double> TextToMoment(std::string_view text, const LocaleSettings& locale) {
    if (text.size() > kMaxMomentText)
        return std::nullopt;
    Scanner s(Decode(text));
    s.SkipBlanks();
    const std::size_t start = s.Position();

    DateTimeParts parts;
    parts.year = 1899;
    parts.month = 12;
    parts.day = 30;
    if (ScanDate(s, ReadDatePattern(locale.shortDateFormat), parts)) {
        const std::size_t blanks = s.SkipBlanks();
        if (!s.AtEnd()) {
            if (blanks == 0)
                return std::nullopt;
            const std::optional<TimeOfDay> time = ScanTime(s, locale);
            if (!time)
                return std::nullopt;
            parts.hour = time->hour;
            parts.minute = time->minute;
            parts.second = time->second;
        }
        return EncodeMoment(parts);
    }
    s.Restore(start);
    const std::optional<TimeOfDay> time = ScanTime(s, locale);
    if (!time)
        return std::nullopt;
    parts = DateTimeParts(); // a time alone lies on 30 December 1899
    parts.hour = time->hour;
    parts.minute = time->minute;
    parts.second = time->second;
    return EncodeMoment(parts);
}

int IsoWeekNumber(double moment) {
    const std::optional<DateTimeParts> parts = DecodeMoment(moment);
    if (!parts)
        return 0;
    const int dayOfYear = DayOfYear(parts->year, parts->month, parts->day); // from 0
    const int weekday = parts->dayOfWeek;                                   // Monday 1
    const int januaryFirst = Modulo7(weekday - 1 - dayOfYear) + 1;
    const int week = (dayOfYear + 1 - weekday + 10) / 7;
    if (week < 1) {
        // The last week of the previous year.
        const int previousDays = IsLeapYear(parts->year - 1) ? 366 : 365;
        return WeeksInIsoYear(parts->year - 1, Modulo7(januaryFirst - 1 - previousDays) + 1);
    }
    if (week > WeeksInIsoYear(parts->year, januaryFirst))
        return 1;
    return week;
}

std::string FormatGroupedCount(std::uint64_t value, const LocaleSettings& locale) {
    if (value == 0)
        return {};
    return GroupDigits(std::to_string(value), locale.thousandSeparator);
}

std::string DateTimeSpanText(double now, double moment, const LocaleSettings& locale) {
    // Not the difference of the two numbers: before 30 December 1899 that is not the time
    // between the moments.
    const std::optional<std::int64_t> from = MomentMilliseconds(now);
    const std::optional<std::int64_t> to = MomentMilliseconds(moment);
    // A moment outside years 1 to 9999 (or not a number) spans nothing.
    if (!from || !to)
        return FormatDateTimePicture(locale.longTimeFormat, 0, locale);
    const std::int64_t seconds = (*from > *to ? *from - *to : *to - *from) / 1000;
    constexpr std::int64_t kSecondsPerDay = 86400;
    if (seconds <= kSecondsPerDay)
        return FormatDateTimePicture(locale.longTimeFormat,
                                     static_cast<double>(seconds) / double(kSecondsPerDay), locale);
    const std::int64_t days = seconds / kSecondsPerDay;
    const std::int64_t rest = seconds - days * kSecondsPerDay;
    return Languages::TextFmt(
        kTextDaysSpan,
        {FormatGroupedCount(static_cast<std::uint64_t>(days), locale),
         FormatDateTimePicture(locale.longTimeFormat,
                               static_cast<double>(rest) / double(kSecondsPerDay), locale)});
}

std::string DateTimeDescription(double moment, double now, const LocaleSettings& locale) {
    const std::optional<DateTimeParts> parts = DecodeMoment(moment);
    if (!parts)
        return {};
    std::string text = FormatDateTimeGeneral(moment, locale);
    text += "\r\r";
    text += Languages::Text(DayNameIDs[static_cast<std::size_t>(parts->dayOfWeek - 1)]);
    text += '\r';
    text += DateTimeSpanText(now, moment, locale);
    text += '\r';
    text += Languages::TextFmt(kTextWeek, {std::to_string(IsoWeekNumber(moment))});
    return text;
}

} // namespace orvan
