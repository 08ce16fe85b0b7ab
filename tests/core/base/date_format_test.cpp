#include "core/base/date_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

namespace orvan {
namespace {

double Moment(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    DateTimeParts parts;
    parts.year = y;
    parts.month = mo;
    parts.day = d;
    parts.hour = h;
    parts.minute = mi;
    parts.second = s;
    parts.millisecond = ms;
    const auto moment = EncodeMoment(parts);
    EXPECT_TRUE(moment.has_value()) << y << "-" << mo << "-" << d;
    return moment.value_or(0.0);
}

TEST(DateFormat, EncodesKnownDaysOfTheMomentScale) {
    EXPECT_DOUBLE_EQ(Moment(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(Moment(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(Moment(1970, 1, 1), 25569.0);
    EXPECT_DOUBLE_EQ(Moment(2000, 2, 29, 18), 36585.75);
    EXPECT_DOUBLE_EQ(Moment(1, 1, 1), -693593.0);
    EXPECT_DOUBLE_EQ(Moment(9999, 12, 31), 2958465.0);
    // Before the epoch the fraction still counts forward from midnight.
    EXPECT_DOUBLE_EQ(Moment(1899, 12, 29, 6), -1.25);
}

TEST(DateFormat, RejectsDatesAndTimesThatDoNotExist) {
    const DateTimeParts bad[] = {
        {2023, 2, 29, 0, 0, 0, 0, 0},   {1900, 2, 29, 0, 0, 0, 0, 0}, {2024, 13, 1, 0, 0, 0, 0, 0},
        {2024, 4, 31, 0, 0, 0, 0, 0},   {0, 1, 1, 0, 0, 0, 0, 0},     {10000, 1, 1, 0, 0, 0, 0, 0},
        {2024, 1, 1, 24, 0, 0, 0, 0},   {2024, 1, 1, 0, 60, 0, 0, 0}, {2024, 1, 0, 0, 0, 0, 0, 0},
        {2024, 1, 1, 0, 0, 0, 1000, 0},
    };
    for (const DateTimeParts& parts : bad)
        EXPECT_FALSE(EncodeMoment(parts).has_value()) << parts.year << "-" << parts.month;
    EXPECT_TRUE(EncodeMoment({2000, 2, 29, 23, 59, 59, 999, 0}).has_value());
}

TEST(DateFormat, DecodesWhatItEncodesWithTheWeekday) {
    for (int year : {1, 1600, 1899, 1900, 1970, 2000, 2024, 9999}) {
        for (int month : {1, 2, 3, 12}) {
            const int day = DaysInMonth(year, month);
            const auto parts = DecodeMoment(Moment(year, month, day, 13, 7, 5, 250));
            ASSERT_TRUE(parts.has_value());
            EXPECT_EQ(parts->year, year);
            EXPECT_EQ(parts->month, month);
            EXPECT_EQ(parts->day, day);
            EXPECT_EQ(parts->hour, 13);
            EXPECT_EQ(parts->minute, 7);
            EXPECT_EQ(parts->second, 5);
            EXPECT_EQ(parts->millisecond, 250);
        }
    }
    EXPECT_EQ(DecodeMoment(0.0)->dayOfWeek, 6);                  // Saturday
    EXPECT_EQ(DecodeMoment(Moment(2024, 7, 1))->dayOfWeek, 1);   // Monday
    EXPECT_EQ(DecodeMoment(Moment(1899, 12, 24))->dayOfWeek, 7); // Sunday
    EXPECT_EQ(DecodeMoment(Moment(1, 1, 1))->dayOfWeek, 1);      // Monday
}

TEST(DateFormat, RoundsToTheMillisecondIntoTheNextDay) {
    const auto parts = DecodeMoment(Moment(2023, 12, 31) + 0.99999999999);
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(parts->year, 2024);
    EXPECT_EQ(parts->month, 1);
    EXPECT_EQ(parts->day, 1);
    EXPECT_EQ(parts->hour, 0);
}

TEST(DateFormat, RefusesMomentsOutsideTheCalendar) {
    for (double moment :
         {std::nan(""), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity(), 2958466.0, -693594.0, 1e300, -1e300}) {
        EXPECT_FALSE(DecodeMoment(moment).has_value()) << moment;
        EXPECT_EQ(FormatDateTimePicture("dd.MM.yyyy", moment, LocaleSettings{}), "");
    }
}

struct PictureCase {
    const char* picture;
    const char* expected;
};

void PrintTo(const PictureCase& c, std::ostream* os) {
    *os << '"' << c.picture << '"';
}

class DateFormatPicture : public ::testing::TestWithParam<PictureCase> {};

// Friday 5 March 2004, 09:04:07 in the morning. Letters without a picture meaning (the
// upper-case D, Y, S) are copied.
TEST_P(DateFormatPicture, WritesTheMoment) {
    LocaleSettings locale;
    locale.amDesignator = "vorm.";
    locale.pmDesignator = "nachm.";
    EXPECT_EQ(FormatDateTimePicture(GetParam().picture, Moment(2004, 3, 5, 9, 4, 7), locale),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, DateFormatPicture,
    ::testing::Values(PictureCase{"dd.MM.yyyy", "05.03.2004"}, PictureCase{"d/M/yy", "5/3/04"},
                      PictureCase{"yyyy-MM-dd", "2004-03-05"}, PictureCase{"y", "4"},
                      PictureCase{"yyyyy", "2004"}, PictureCase{"ddd, MMM d", "Fri, Mar 5"},
                      PictureCase{"dddd d MMMM", "Friday 5 March"},
                      PictureCase{"ddddd MMMMM", "Friday March"}, PictureCase{"H:mm:ss", "9:04:07"},
                      PictureCase{"HH:mm:ss", "09:04:07"}, PictureCase{"h:m:s t", "9:4:7 v"},
                      PictureCase{"hh:mm tt", "09:04 vorm."},
                      PictureCase{"'Day' d 'o''clock' ''", "Day 5 o'clock "},
                      PictureCase{"'unclosed d", "unclosed d"}, PictureCase{"gg yyyy", "A.D. 2004"},
                      PictureCase{"D Y S Z !", "D Y S Z !"}, PictureCase{"", ""}));

TEST(DateFormat, TwelveHourClockAroundNoonAndMidnight) {
    LocaleSettings locale; // AM and PM
    struct Case {
        int hour;
        const char* expected;
    };
    for (const Case& c : {Case{0, "12 AM 0"}, Case{11, "11 AM 11"}, Case{12, "12 PM 12"},
                          Case{13, "1 PM 13"}, Case{23, "11 PM 23"}}) {
        EXPECT_EQ(FormatDateTimePicture("h tt H", Moment(2024, 1, 1, c.hour), locale), c.expected);
    }
    locale.amDesignator = "";
    EXPECT_EQ(FormatDateTimePicture("H:mm t", Moment(2024, 1, 1, 8), locale), "8:00 ");
    locale.pmDesignator = "\xE5\x8D\x88\xE5\xBE\x8C"; // two CJK characters
    EXPECT_EQ(FormatDateTimePicture("t", Moment(2024, 1, 1, 20), locale), "\xE5\x8D\x88");
}

TEST(DateFormat, UsesTheNamesItIsGiven) {
    DateTimeNames names = EnglishDateTimeNames();
    names.longMonths[2] = "M\xC3\xA4rz";
    names.shortDays[4] = "Fr";
    EXPECT_EQ(FormatDateTimePicture("ddd d. MMMM", Moment(2004, 3, 5), LocaleSettings{}, names),
              "Fr 5. M\xC3\xA4rz");
}

} // namespace
} // namespace orvan
