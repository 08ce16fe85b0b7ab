#include "core/search/calculator.h"

#include "core/search/input_fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orvan {
namespace {

struct FormatCase {
    double value;
    const char* expected;
};

TEST(FormatCalculatorValue, GroupsDigitsAndKeepsUpToTwelveDecimals) {
    const LocaleSettings en;
    const FormatCase cases[] = {
        {144, "144"},
        {1234567, "1,234,567"},
        {-1234567.5, "-1,234,567.5"},
        {0.5, "0.5"},
        {-0.25, "-0.25"},
        {1.0 / 3, "0.333333333333"},
        {2.0 / 3, "0.666666666667"},
        {0.1 + 0.2, "0.3"},
        {1e-13, "0"}, // below the last decimal: no digit, and no sign either
        {-1e-13, "0"},
        {123456789.123456789, "123,456,789.123457"}, // 15 significant digits
        {999999999999999.9, "1,000,000,000,000,000"},
        {1234567890123456789e-3, "1,234,567,890,123,460"},
        {9.99999999999999e17, "999,999,999,999,999,000"},
        {1e18, "1E18"}, // from here the general format
        {-2.5e20, "-2.5E20"},
        {123, "123"},
        {1000, "1,000"},
        {100, "100"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(FormatCalculatorValue(c.value, en), c.expected) << c.value;

    LocaleSettings de = testing::GermanLocale();
    EXPECT_EQ(FormatCalculatorValue(-1234567.5, de), "-1.234.567,5");
    LocaleSettings plain;
    plain.thousandSeparator = "";
    plain.decimalSeparator = "\xD9\xAB"; // Arabic decimal separator, two bytes
    EXPECT_EQ(FormatCalculatorValue(1234.25, plain), "1234\xD9\xAB"
                                                     "25");
    plain.decimalSeparator = "";
    EXPECT_EQ(FormatCalculatorValue(0.5, plain), "0.5"); // an empty separator means "."
}

TEST(RoundHalfEvenToInt64, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEvenToInt64(2.5), 2);
    EXPECT_EQ(RoundHalfEvenToInt64(3.5), 4);
    EXPECT_EQ(RoundHalfEvenToInt64(-2.5), -2);
    EXPECT_EQ(RoundHalfEvenToInt64(-3.5), -4);
    EXPECT_EQ(RoundHalfEvenToInt64(2.4999), 2);
    EXPECT_EQ(RoundHalfEvenToInt64(0.5), 0);
    EXPECT_EQ(RoundHalfEvenToInt64(-9223372036854775808.0),
              std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(RoundHalfEvenToInt64(9223372036854774784.0), 9223372036854774784);
    EXPECT_EQ(RoundHalfEvenToInt64(9223372036854775808.0), std::nullopt); // 2^63
    EXPECT_EQ(RoundHalfEvenToInt64(-9223372036854777856.0), std::nullopt);
    EXPECT_EQ(RoundHalfEvenToInt64(1e300), std::nullopt);
    EXPECT_EQ(RoundHalfEvenToInt64(NAN), std::nullopt);
    EXPECT_EQ(RoundHalfEvenToInt64(INFINITY), std::nullopt);
}

TEST(Hex16Text, WritesSixteenDigitsInTwosComplement) {
    EXPECT_EQ(Hex16Text(144), "0000000000000090");
    EXPECT_EQ(Hex16Text(-1), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(Hex16Text(0), "0000000000000000");
    EXPECT_EQ(Hex16Text(std::numeric_limits<std::int64_t>::min()), "8000000000000000");
    EXPECT_EQ(Hex16Text(0x0123456789ABCDEF), "0123456789ABCDEF");
}

TEST(CalculatorDescription, HasValueHexadecimalAndSizeLines) {
    const LocaleSettings en;
    EXPECT_EQ(CalculatorDescription(144, en), "144\r\r0000000000000090 HEX16\r144 bytes");
    EXPECT_EQ(CalculatorDescription(-1, en), "-1\r\rFFFFFFFFFFFFFFFF HEX16\r1 bytes");
    EXPECT_EQ(CalculatorDescription(2.5, en), "2.5\r\r0000000000000002 HEX16\r2 bytes");
    EXPECT_EQ(CalculatorDescription(3.5, en), "3.5\r\r0000000000000004 HEX16\r4 bytes");
    EXPECT_EQ(CalculatorDescription(1536, en), "1,536\r\r0000000000000600 HEX16\r1.50 kB");
    // 1.125 kB: the size line rounds the exact tie up, as the file details do.
    EXPECT_EQ(CalculatorDescription(1152, en), "1,152\r\r0000000000000480 HEX16\r1.13 kB");
    // The most negative integer has no positive counterpart; its size is still shown.
    EXPECT_EQ(CalculatorDescription(-9223372036854775808.0, en),
              "-9.22337203685478E18\r\r8000000000000000 HEX16\r8589934592.00 GB");
    // Beyond the 64-bit range only the value remains.
    EXPECT_EQ(CalculatorDescription(1e19, en), "1E19");
    EXPECT_EQ(CalculatorDescription(-1e300, en), "-1E300");
}

} // namespace
} // namespace orvan
