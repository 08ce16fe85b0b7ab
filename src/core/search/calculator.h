#pragma once
// What the calculator entry of the candidate list shows for a value: the value with digit
// grouping, the nearest 64-bit integer in hexadecimal and that integer as a byte size.
#include "core/ports/locale.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvan {

// Decimal digits with the separator between groups of three, counted from the right.
std::string GroupDigits(std::string_view digits, std::string_view separator);

// The value in the format "#,##0.############": grouped integer digits (at least one), up
// to twelve decimals without trailing zeros, the locale's separators, at most 15
// significant digits as a double holds them. From 1E18 on the general number format
// takes over ("1.5E20"), as so many integer digits would be mostly invented zeros.
std::string FormatCalculatorValue(double value, const LocaleSettings& locale);

// The nearest signed 64-bit integer, halves to the even neighbour; empty when that
// integer lies outside the signed 64-bit range or the value is not a number.
std::optional<std::int64_t> RoundHalfEvenToInt64(double value);

// 16 upper-case hexadecimal digits, two's complement for negative numbers.
std::string Hex16Text(std::int64_t value);

// The description: the formatted value, an empty line, the hexadecimal line
// ("0000000000000090 HEX16") and the size line ("144 bytes"), separated by CR. For a
// value whose rounding leaves the 64-bit range only the formatted value remains.
std::string CalculatorDescription(double value, const LocaleSettings& locale);

} // namespace orvan
