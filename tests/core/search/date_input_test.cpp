#include "core/search/date_input.h"

#include "core/base/date_format.h"
#include "core/search/input_fakes.h"

#include <gtest/gtest.h>

#include <cmath>

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
