#include "core/search/date_input.h"

#include "core/base/date_format.h"
#include "core/search/input_fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace orvan {
namespace {

using testing::GermanLocale;
using testing::UsLocale;

double Moment(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    DateTimeParts parts;
    parts.year = year;
    parts.month = month;
    parts.day = day;
    parts.hour = hour;
    parts.minute = minute;
    parts.second = second;
    return EncodeMoment(parts).value();
}

double TimeOnly(int hour, int minute, int second = 0) {
    return Moment(1899, 12, 30, hour, minute, second);
}

LocaleSettings Locale(std::string shortDate, std::string longTime, std::string decimal = ".") {
    LocaleSettings l;
    l.shortDateFormat = std::move(shortDate);
    l.longTimeFormat = std::move(longTime);
    l.decimalSeparator = std::move(decimal);
    return l;
}

struct MomentCase {
    const char* text;
    LocaleSettings locale;
    std::optional<double> expected;
};

void PrintTo(const MomentCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" with " << c.locale.shortDateFormat << " / "
        << c.locale.longTimeFormat;
}

class TextToMomentTest : public ::testing::TestWithParam<MomentCase> {};

TEST_P(TextToMomentTest, ReadsTheLocalesDatesAndTimes) {
    const MomentCase& c = GetParam();
    const std::optional<double> got = TextToMoment(c.text, c.locale);
    ASSERT_EQ(got.has_value(), c.expected.has_value());
    if (got) {
        EXPECT_NEAR(*got, *c.expected, 1e-9);
    }
}

const LocaleSettings kIso = LocaleSettings(); // yyyy-MM-dd, H:mm:ss
const LocaleSettings kUs = UsLocale();        // M/d/yyyy, h:mm:ss tt
const LocaleSettings kDe = GermanLocale();    // dd.MM.yyyy, HH:mm:ss

INSTANTIATE_TEST_SUITE_P(
    Accepted, TextToMomentTest,
    ::testing::Values(
        MomentCase{"2024-03-05", kIso, Moment(2024, 3, 5)},
        MomentCase{"2024-3-5", kIso, Moment(2024, 3, 5)},
        MomentCase{"  2024-03-05  ", kIso, Moment(2024, 3, 5)},
        MomentCase{"2024-03-05 14:07", kIso, Moment(2024, 3, 5, 14, 7)},
        MomentCase{"2024-03-05  14:07:09", kIso, Moment(2024, 3, 5, 14, 7, 9)},
        MomentCase{"24-03-05", kIso, Moment(2024, 3, 5)},
        MomentCase{"29-1-1", kIso, Moment(2029, 1, 1)},
        MomentCase{"30-1-1", kIso, Moment(1930, 1, 1)},
        MomentCase{"99-12-31", kIso, Moment(1999, 12, 31)},
        MomentCase{"0024-03-05", kIso, Moment(24, 3, 5)},
        MomentCase{"2024-02-29", kIso, Moment(2024, 2, 29)},
        // A time alone is that time on day 0.
        MomentCase{"14:07", kIso, TimeOnly(14, 7)}, MomentCase{"9:5:3", kIso, TimeOnly(9, 5, 3)},
        MomentCase{"00:00", kIso, TimeOnly(0, 0)}, MomentCase{"3/5/2024", kUs, Moment(2024, 3, 5)},
        MomentCase{"3/5/24", kUs, Moment(2024, 3, 5)},
        MomentCase{"3/5/2024 2:07 PM", kUs, Moment(2024, 3, 5, 14, 7)},
        MomentCase{"3/5/2024 2:07:09pm", kUs, Moment(2024, 3, 5, 14, 7, 9)},
        MomentCase{"12:30 AM", kUs, TimeOnly(0, 30)}, MomentCase{"12:30 PM", kUs, TimeOnly(12, 30)},
        MomentCase{"am 1:15", kUs, TimeOnly(1, 15)}, MomentCase{"14:07", kUs, TimeOnly(14, 7)},
        MomentCase{"05.03.2024", kDe, Moment(2024, 3, 5)},
        MomentCase{"5.3.24 14:07:09", kDe, Moment(2024, 3, 5, 14, 7, 9)},
        // Blanks around separators where the format has them; a trailing separator.
        MomentCase{"5. 3. 2024", Locale("d. M. yyyy", "H:mm:ss"), Moment(2024, 3, 5)},
        MomentCase{"5.3.2024", Locale("d. M. yyyy", "H:mm:ss"), Moment(2024, 3, 5)},
        MomentCase{"2024. 03. 05.", Locale("yyyy. MM. dd.", "H:mm:ss"), Moment(2024, 3, 5)},
        MomentCase{"2024.03.05 7:00", Locale("yyyy. MM. dd.", "H:mm:ss"), Moment(2024, 3, 5, 7, 0)},
        MomentCase{"05 03 2024", Locale("dd MM yyyy", "H:mm:ss"), Moment(2024, 3, 5)},
        // Month names where the format writes them.
        MomentCase{"05-Mar-24", Locale("dd-MMM-yy", "H:mm:ss"), Moment(2024, 3, 5)},
        MomentCase{"5-march-2024", Locale("dd-MMM-yy", "H:mm:ss"), Moment(2024, 3, 5)},
        MomentCase{"05-03-24", Locale("dd-MMM-yy", "H:mm:ss"), Moment(2024, 3, 5)},
        // The locale's own time separator, and ":" beside it.
        MomentCase{"14.07", Locale("d.M.yyyy", "H.mm.ss", ","), TimeOnly(14, 7)},
        MomentCase{"14:07", Locale("d.M.yyyy", "H.mm.ss", ","), TimeOnly(14, 7)}));

INSTANTIATE_TEST_SUITE_P(
    Refused, TextToMomentTest,
    ::testing::Values(
        // Two numbers are never a date: they stay calculations.
        MomentCase{"10-2", kIso, std::nullopt}, MomentCase{"10/2", kUs, std::nullopt},
        MomentCase{"10.2", kDe, std::nullopt}, MomentCase{"3/5", kUs, std::nullopt},
        MomentCase{"2024-03", kIso, std::nullopt},
        // Blanks around separators only where the format has them.
        MomentCase{"5 - 3 - 1", kIso, std::nullopt},
        // Separators of other locales.
        MomentCase{"2024/03/05", kIso, std::nullopt},
        // Days and times that do not exist.
        MomentCase{"2023-02-29", kIso, std::nullopt}, MomentCase{"2024-13-01", kIso, std::nullopt},
        MomentCase{"2024-00-10", kIso, std::nullopt}, MomentCase{"0000-01-01", kIso, std::nullopt},
        MomentCase{"2024-03-05 24:00", kIso, std::nullopt}, MomentCase{"14:60", kIso, std::nullopt},
        MomentCase{"1:2:60", kIso, std::nullopt}, MomentCase{"13:00 PM", kUs, std::nullopt},
        MomentCase{"0:30 AM", kUs, std::nullopt},
        // Designators only where the long time shows them, and only the locale's.
        MomentCase{"2:07 PM", kIso, std::nullopt}, MomentCase{"2:07 XM", kUs, std::nullopt},
        // Anything left over, or digits run together.
        MomentCase{"2024-03-05x", kIso, std::nullopt},
        MomentCase{"2024-03-0514:07", kIso, std::nullopt},
        MomentCase{"12345-01-01", kIso, std::nullopt},
        MomentCase{"2024-03-05 14", kIso, std::nullopt}, MomentCase{"1:2:3:4", kIso, std::nullopt},
        MomentCase{"100:00", kIso, std::nullopt}, MomentCase{"", kIso, std::nullopt},
        MomentCase{"   ", kIso, std::nullopt}, MomentCase{"abc", kIso, std::nullopt},
        MomentCase{"-1-2-3", kIso, std::nullopt},
        // A time separator that is also the decimal separator belongs to numbers.
        MomentCase{"14.07", Locale("d.M.yyyy", "H.mm.ss", "."), std::nullopt}));

TEST(TextToMoment, SurvivesLongAndBrokenText) {
    EXPECT_FALSE(TextToMoment(std::string(100000, '1'), kIso));
    EXPECT_FALSE(TextToMoment("2024-03-05 \xED\xA0\x80", kIso)); // a lone surrogate's bytes
    EXPECT_FALSE(TextToMoment(std::string("2024-03-05\0", 11), kIso));
    LocaleSettings odd = kIso;
    odd.shortDateFormat = "'quoted";
    odd.longTimeFormat = "";
    odd.amDesignator = "";
    EXPECT_TRUE(TextToMoment("2024-03-05", odd)); // falls back to year, month, day
}

struct WeekCase {
    int year, month, day, week;
};

TEST(IsoWeekNumber, CountsWeeksFromTheFirstThursday) {
    const WeekCase cases[] = {{2024, 1, 1, 1},    {2024, 3, 5, 10},   {2023, 1, 1, 52},
                              {2021, 1, 3, 53},   {2020, 12, 31, 53}, {2019, 12, 30, 1},
                              {2024, 12, 30, 1},  {2026, 12, 31, 53}, {2027, 1, 3, 53},
                              {1899, 12, 30, 52}, {2004, 12, 31, 53}, {2005, 1, 2, 53},
                              {2008, 12, 29, 1},  {1, 1, 1, 1},       {9999, 12, 31, 52}};
    for (const WeekCase& c : cases)
        EXPECT_EQ(IsoWeekNumber(Moment(c.year, c.month, c.day, 12)), c.week)
            << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(IsoWeekNumber(NAN), 0);
}

TEST(DateTimeSpanText, ShowsUpToADayAsTimeAndMoreWithDays) {
    const LocaleSettings l = Locale("yyyy-MM-dd", "H:mm:ss");
    const double m = Moment(2024, 3, 5, 14, 7, 9);
    constexpr double kSecond = 1.0 / 86400;
    EXPECT_EQ(DateTimeSpanText(m, m, l), "0:00:00");
    EXPECT_EQ(DateTimeSpanText(m + 3661 * kSecond, m, l), "1:01:01");
    EXPECT_EQ(DateTimeSpanText(m, m + 3661 * kSecond, l), "1:01:01"); // either order
    EXPECT_EQ(DateTimeSpanText(m + 1, m, l), "0:00:00");              // exactly one day
    // One day and ten seconds: rounding to the millisecond first keeps the tenth second.
    EXPECT_EQ(DateTimeSpanText(m + 1 + 10 * kSecond, m, l), "1 days, 0:00:10");
    EXPECT_EQ(DateTimeSpanText(m + 1234 + 59 * kSecond, m, l), "1,234 days, 0:00:59");
    EXPECT_EQ(DateTimeSpanText(m + 0.6 * kSecond, m, l), "0:00:00"); // cut, not rounded
    LocaleSettings de = GermanLocale();
    EXPECT_EQ(DateTimeSpanText(m + 1234.5, m, de), "1.234 days, 12:00:00");
    EXPECT_EQ(DateTimeSpanText(m + 0.5, m, UsLocale()), "12:00:00 PM");
}

// Before 30 December 1899 a moment's whole part counts backwards but its fraction forwards,
// so the span must come from the calendar, not from subtracting the numbers.
TEST(DateTimeSpanText, CountsTheRealTimeAcrossTheEpochDay) {
    const LocaleSettings l = Locale("dd.MM.yyyy", "H:mm:ss");
    const double now = Moment(2026, 12, 10, 12);
    struct Case {
        const char* text;
        const char* span;
    };
    for (const Case& c : {Case{"15.02.1681 13:34:50", "126,305 days, 22:25:10"},
                          Case{"21.10.1755 11:51:49", "99,031 days, 0:08:11"},
                          Case{"30.12.1899 06:00:00", "46,366 days, 6:00:00"},
                          Case{"29.12.1899 18:00:00", "46,366 days, 18:00:00"}}) {
        const std::optional<double> moment = TextToMoment(c.text, l);
        ASSERT_TRUE(moment) << c.text;
        EXPECT_EQ(DateTimeSpanText(now, *moment, l), c.span) << c.text;
    }
    // Both moments near the epoch day, on either side of it.
    EXPECT_EQ(DateTimeSpanText(Moment(1899, 12, 29, 18), Moment(1899, 12, 30, 6), l), "12:00:00");
    EXPECT_EQ(DateTimeSpanText(Moment(1899, 12, 29, 23, 59, 59), Moment(1899, 12, 31, 0, 0, 1), l),
              "1 days, 0:00:02");
    EXPECT_EQ(DateTimeSpanText(Moment(1800, 1, 1, 0, 0, 1), Moment(1800, 1, 1, 23, 59, 59), l),
              "23:59:58");
    EXPECT_EQ(DateTimeSpanText(NAN, Moment(1800, 1, 1), l), "0:00:00");
    EXPECT_EQ(DateTimeSpanText(Moment(1800, 1, 1), 1e7, l), "0:00:00");
}

// Days since 1 January 4713 BC (Julian calendar), by Fliegel and Van Flandern's formula: a
// calendar count independent of the one the moments are made with.
std::int64_t JulianDayNumber(int year, int month, int day) {
    const std::int64_t a = (14 - month) / 12;
    const std::int64_t y = year + 4800 - a;
    const std::int64_t m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

TEST(DateTimeSpanText, AgreesWithAnIndependentCalendarOnRandomMoments) {
    const LocaleSettings l = Locale("yyyy-MM-dd", "H:mm:ss");
    std::mt19937 random(18991230);
    auto between = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    struct Picked {
        double moment;
        std::int64_t seconds; // on one time line
    };
    auto pick = [&]() {
        // Mostly near the epoch day, where a sign error shows most often.
        const int year = between(0, 3) == 0 ? between(1, 9999) : between(1890, 1910);
        const int month = between(1, 12);
        const int day = between(1, DaysInMonth(year, month));
        const int hour = between(0, 23);
        const int minute = between(0, 59);
        const int second = between(0, 59);
        return Picked{Moment(year, month, day, hour, minute, second),
                      JulianDayNumber(year, month, day) * 86400 + (hour * 60 + minute) * 60 +
                          second};
    };
    auto timeOfDay = [](std::int64_t s) {
        const std::string mm = std::to_string(s / 60 % 60 + 100).substr(1);
        const std::string ss = std::to_string(s % 60 + 100).substr(1);
        return std::to_string(s / 3600) + ":" + mm + ":" + ss;
    };
    for (int round = 0; round < 2000; ++round) {
        const Picked a = pick();
        const Picked b = pick();
        const std::int64_t span =
            a.seconds > b.seconds ? a.seconds - b.seconds : b.seconds - a.seconds;
        std::string expected;
        if (span <= 86400) {
            expected = timeOfDay(span % 86400);
        } else {
            std::string days = std::to_string(span / 86400);
            for (std::size_t i = days.size(); i > 3; i -= 3)
                days.insert(i - 3, ",");
            expected = days + " days, " + timeOfDay(span % 86400);
        }
        ASSERT_EQ(DateTimeSpanText(a.moment, b.moment, l), expected) << a.moment << " " << b.moment;
    }
}

TEST(DateTimeDescription, JoinsMomentWeekdaySpanAndWeek) {
    const LocaleSettings l = Locale("yyyy-MM-dd", "H:mm:ss");
    const double m = Moment(2024, 3, 5, 14, 7, 9); // a Tuesday
    EXPECT_EQ(DateTimeDescription(m, m + 2.5, l),
              "2024-03-05 14:07:09\r\rTuesday\r2 days, 12:00:00\rWeek 10");
    // Midnight shows the date alone; a Sunday is day 7 of the ISO week.
    EXPECT_EQ(DateTimeDescription(Moment(2024, 3, 10), Moment(2024, 3, 10, 0, 0, 5), l),
              "2024-03-10\r\rSunday\r0:00:05\rWeek 10");
}

TEST(FormatGroupedCount, GroupsLikeTheHashFormat) {
    LocaleSettings l;
    EXPECT_EQ(FormatGroupedCount(0, l), "");
    EXPECT_EQ(FormatGroupedCount(999, l), "999");
    EXPECT_EQ(FormatGroupedCount(1000, l), "1,000");
    EXPECT_EQ(FormatGroupedCount(3652058, l), "3,652,058");
    l.thousandSeparator = "";
    EXPECT_EQ(FormatGroupedCount(3652058, l), "3652058");
    l.thousandSeparator = "\xC2\xA0"; // a no-break space, as French writes it
    EXPECT_EQ(FormatGroupedCount(12345, l), "12\xC2\xA0"
                                            "345");
}

} // namespace
} // namespace orvan
