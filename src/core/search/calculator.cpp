#include "core/search/calculator.h"

#include "core/expression/number_format.h"
#include "core/fileinfo/file_size.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace orvan {

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kMaxDecimals = 12;
// 1E18 and above: 19 or more integer digits.
constexpr double kGeneralFormatFrom = 1e18;

} // namespace

std::string GroupDigits(std::string_view digits, std::string_view separator) {
    if (separator.empty() || digits.size() <= 3)
        return std::string(digits);
    std::string out;
    out.reserve(digits.size() + (digits.size() / 3) * separator.size());
    const std::size_t head = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    out.append(digits.substr(0, head));
    for (std::size_t i = head; i < digits.size(); i += 3) {
        out.append(separator);
        out.append(digits.substr(i, 3));
    }
    return out;
}

std::string FormatCalculatorValue(double value, const LocaleSettings& locale) {
    const std::string_view decimalSeparator =
        locale.decimalSeparator.empty() ? std::string_view(".") : locale.decimalSeparator;
    if (!std::isfinite(value) || std::fabs(value) >= kGeneralFormatFrom)
        return FormatGeneral(value, decimalSeparator);
    char buffer[400];
    // The decimal exponent after rounding to 15 significant digits decides how many
    // decimals those digits reach.
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));
    int exponent = 0;
    const std::size_t e = scientific.find('e');
    for (std::size_t i = e + 2; i < scientific.size(); ++i)
        exponent = exponent * 10 + (scientific[i] - '0');
    if (scientific[e + 1] == '-')
        exponent = -exponent;
    std::string integerDigits;
    std::string fraction;
    bool negative = false;
    if (exponent >= kSignificantDigits) {
        // All 15 digits stand left of the point; the rest are zeros.
        std::size_t i = 0;
        if (scientific[i] == '-') {
            negative = true;
            ++i;
        }
        for (; scientific[i] != 'e'; ++i)
            if (scientific[i] != '.')
                integerDigits.push_back(scientific[i]);
        integerDigits.append(static_cast<std::size_t>(exponent + 1) - integerDigits.size(), '0');
    } else {
        const int decimals = std::min(kMaxDecimals, kSignificantDigits - 1 - exponent);
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                               decimals);
        std::string_view fixed(buffer, static_cast<std::size_t>(result.ptr - buffer));
        if (!fixed.empty() && fixed.front() == '-') {
            negative = true;
            fixed.remove_prefix(1);
        }
        const std::size_t point = fixed.find('.');
        integerDigits = std::string(fixed.substr(0, point));
        if (point != std::string_view::npos)
            fraction = std::string(fixed.substr(point + 1));
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
    }
    std::string out;
    // A value that rounds to zero is written without a sign.
    if (negative &&
        !(integerDigits.find_first_not_of('0') == std::string::npos && fraction.empty()))
        out.push_back('-');
    out += GroupDigits(integerDigits, locale.thousandSeparator);
    if (!fraction.empty()) {
        out.append(decimalSeparator);
        out += fraction;
    }
    return out;
}

std::optional<std::int64_t> RoundHalfEvenToInt64(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    // The default floating-point environment rounds to nearest, ties to even.
    const double rounded = std::nearbyint(value);
    constexpr double kLimit = 9223372036854775808.0; // 2^63
    if (rounded < -kLimit || rounded >= kLimit)
        return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

std::string Hex16Text(std::int64_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    auto bits = static_cast<std::uint64_t>(value);
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = kDigits[bits & 0xF];
        bits >>= 4;
    }
    return text;
}

std::string CalculatorDescription(double value, const LocaleSettings& locale) {
    std::string text = FormatCalculatorValue(value, locale);
    const std::optional<std::int64_t> whole = RoundHalfEvenToInt64(value);
    if (!whole)
        return text;
    text += "\r\r";
    text += Hex16Text(*whole);
    text += " HEX16\r";
    text += FormatFileSize(*whole, locale);
    return text;
}

} // namespace orvan
