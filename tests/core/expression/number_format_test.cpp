#include "core/expression/number_format.h"

#include "core/ports/locale.h"

#include <gtest/gtest.h>

#include <ostream>

#include <limits>

namespace orvan {
namespace {

struct GeneralCase {
    double value;
    const char* text;
};

void PrintTo(const GeneralCase& c, std::ostream* os) {
    *os << c.text;
}

class FormatGeneralTest : public ::testing::TestWithParam<GeneralCase> {};

TEST_P(FormatGeneralTest, WritesShortestFifteenDigitForm) {
    EXPECT_EQ(FormatGeneral(GetParam().value, "."), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatGeneralTest,
    ::testing::Values(
        GeneralCase{0.0, "0"}, GeneralCase{-0.0, "0"}, GeneralCase{5.0, "5"},
        GeneralCase{-0.5, "-0.5"}, GeneralCase{123.456, "123.456"},
        GeneralCase{1.0 / 3, "0.333333333333333"}, GeneralCase{2.0 / 3, "0.666666666666667"},
        GeneralCase{0.1 + 0.2, "0.3"}, GeneralCase{1e14, "100000000000000"},
        GeneralCase{123456789012345.0, "123456789012345"},
        // 16 digits left of the point switch to scientific notation.
        GeneralCase{1e15, "1E15"}, GeneralCase{1234567890123456.0, "1.23456789012346E15"},
        GeneralCase{999999999999999.9, "1E15"}, GeneralCase{1e20, "1E20"},
        GeneralCase{-2.5e100, "-2.5E100"},
        // Fixed notation down to 0.00001, decided on the rounded value.
        GeneralCase{0.00001, "0.00001"}, GeneralCase{-0.00001, "-0.00001"},
        GeneralCase{0.000009999999999999999, "0.00001"}, GeneralCase{0.0001234, "0.0001234"},
        GeneralCase{0.000001, "1E-6"}, GeneralCase{1.5e-7, "1.5E-7"}, GeneralCase{1e-300, "1E-300"},
        GeneralCase{std::numeric_limits<double>::max(), "1.79769313486232E308"},
        GeneralCase{std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"}));

TEST(FormatGeneral, UsesTheGivenOrTheLocaleSeparator) {
    EXPECT_EQ(FormatGeneral(2.5, ","), "2,5");
    EXPECT_EQ(FormatGeneral(-1.5e-7, ","), "-1,5E-7");
    EXPECT_EQ(FormatGeneral(2.5, "\xD9\xAB"), "2\xD9\xAB"
                                              "5"); // Arabic decimal separator
    EXPECT_EQ(FormatGeneral(2.5, ""), "2.5");

    const LocaleSettings saved = CurrentLocale();
    LocaleSettings comma = saved;
    comma.decimalSeparator = ",";
    SetCurrentLocale(comma);
    EXPECT_EQ(FormatGeneral(0.25), "0,25");
    SetCurrentLocale(saved);
    EXPECT_EQ(FormatGeneral(0.25), "0.25");
}

TEST(FormatFixed2, WritesTwoDecimals) {
    EXPECT_EQ(FormatFixed2(5, "."), "5.00");
    EXPECT_EQ(FormatFixed2(0, "."), "0.00");
    EXPECT_EQ(FormatFixed2(-0.0, "."), "0.00");
    EXPECT_EQ(FormatFixed2(-7.5, ","), "-7,50");
    EXPECT_EQ(FormatFixed2(2.004, "."), "2.00");
    EXPECT_EQ(FormatFixed2(1e20, "."), "100000000000000000000.00");
}

struct ConversionCase {
    const char* text;
    char32_t separator;
    NumberConversion result;
    double value;
};

void PrintTo(const ConversionCase& c, std::ostream* os) {
    *os << c.text;
}

class TextToFloatTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(TextToFloatTest, ConvertsOrRefuses) {
    const ConversionCase& c = GetParam();
    double value = 99;
    EXPECT_EQ(TextToFloat(c.text, c.separator, value), c.result) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextToFloatTest,
    ::testing::Values(ConversionCase{"12.5", U'.', NumberConversion::Ok, 12.5},
                      ConversionCase{"12,5", U',', NumberConversion::Ok, 12.5},
                      ConversionCase{"1.5", U',', NumberConversion::Invalid, 0},
                      ConversionCase{"1\xD9\xAB"
                                     "5",
                                     U'\x066B', NumberConversion::Ok, 1.5},
                      ConversionCase{".5", U'.', NumberConversion::Ok, 0.5},
                      ConversionCase{"5.", U'.', NumberConversion::Ok, 5},
                      ConversionCase{"+7", U'.', NumberConversion::Ok, 7},
                      ConversionCase{"-2.5E-3", U'.', NumberConversion::Ok, -0.0025},
                      ConversionCase{"1e5", U'.', NumberConversion::Ok, 1e5},
                      ConversionCase{"1E+5", U'.', NumberConversion::Ok, 1e5},
                      ConversionCase{"1E5-3", U'.', NumberConversion::Invalid, 0},
                      ConversionCase{"1E", U'.', NumberConversion::Invalid, 0},
                      ConversionCase{"1.2.3", U'.', NumberConversion::Invalid, 0},
                      ConversionCase{".", U'.', NumberConversion::Invalid, 0},
                      ConversionCase{"", U'.', NumberConversion::Invalid, 0},
                      ConversionCase{"1 ", U'.', NumberConversion::Invalid, 0},
                      ConversionCase{"1E400", U'.', NumberConversion::Overflow, 0},
                      ConversionCase{"000.000001E400", U'.', NumberConversion::Overflow, 0},
                      ConversionCase{"1E99999999999999999999", U'.', NumberConversion::Overflow, 0},
                      ConversionCase{"1E-400", U'.', NumberConversion::Ok, 0},
                      ConversionCase{"0E999999999999", U'.', NumberConversion::Ok, 0}));

TEST(TextToFloat, ReadsLongDigitStrings) {
    double value = 0;
    EXPECT_EQ(TextToFloat(std::string(400, '9'), U'.', value), NumberConversion::Overflow);
    EXPECT_EQ(TextToFloat("0." + std::string(400, '0') + "1", U'.', value), NumberConversion::Ok);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(TextToFloat(std::string(300, '1'), U'.', value), NumberConversion::Ok);
    EXPECT_DOUBLE_EQ(value, 1.1111111111111111e299);
}

} // namespace
} // namespace orvan
