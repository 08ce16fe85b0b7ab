#pragma once
// Numbers as the user reads and writes them: the decimal separator of the regional
// settings, the general format of results and the text-to-number conversion of literals.
#include <string>
#include <string_view>

namespace orvan {

// The shortest decimal form with up to 15 significant digits, correctly rounded. Fixed
// notation while at most 15 digits stand left of the point and |value| >= 0.00001;
// otherwise scientific: "1E20", "1.5E-7", "-2.5E100" (no plus sign, no leading zeros in
// the exponent). 0 and -0 give "0". The separator defaults to the current locale's.
std::string FormatGeneral(double value);
std::string FormatGeneral(double value, std::string_view decimalSeparator);

// Fixed notation with two decimals ("5.00"), as the evaluator's division message writes
// its operands. -0 is written as 0.00.
std::string FormatFixed2(double value, std::string_view decimalSeparator);

// The character the tokenizer and the conversion treat as the decimal separator: the
// first code point of the locale's separator, or "." when it is empty.
char32_t DecimalSeparatorChar(std::string_view decimalSeparator);

enum class NumberConversion { Ok, Invalid, Overflow };

// Text to double as the system converts a literal: optional sign, digits, at most one
// decimal separator, optional exponent ("E" or "e", optional sign, digits); at least one
// mantissa digit. Invalid text leaves value 0. A magnitude beyond the double range is
// Overflow (value 0); one below it becomes 0 or a denormal and counts as Ok.
NumberConversion TextToFloat(std::string_view text, char32_t decimalSeparator, double& value);

} // namespace orvan
