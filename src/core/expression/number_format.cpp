#include "core/expression/number_format.h"

#include "core/base/utf.h"
#include "core/ports/locale.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace orvan {

namespace {

constexpr int kSignificantDigits = 15;
// Largest number of digits left of the point that fixed notation still writes.
constexpr int kMaxFixedIntegerDigits = 15;
// Smallest decimal exponent written in fixed notation: 0.00001 is 1E-5.
constexpr int kMinFixedExponent = -5;

struct Decimal {
    bool negative = false;
    std::string digits; // significant digits without trailing zeros, never empty
    int exponent = 0;   // value = d.ddd x 10^exponent
};

// Correctly rounded to 15 significant digits by the standard library's shortest-exact
// digit generation, then reduced to the digits that matter.
Decimal ToDecimal(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    Decimal decimal;
    std::size_t i = 0;
    if (text[i] == '-') {
        decimal.negative = true;
        ++i;
    }
    for (; i < text.size() && text[i] != 'e'; ++i)
        if (text[i] != '.')
            decimal.digits.push_back(text[i]);
    ++i; // 'e'
    const bool negativeExponent = text[i] == '-';
    ++i;
    for (; i < text.size(); ++i)
        decimal.exponent = decimal.exponent * 10 + (text[i] - '0');
    if (negativeExponent)
        decimal.exponent = -decimal.exponent;
    while (decimal.digits.size() > 1 && decimal.digits.back() == '0')
        decimal.digits.pop_back();
    return decimal;
}

} // namespace

char32_t DecimalSeparatorChar(std::string_view decimalSeparator) {
    if (decimalSeparator.empty())
        return U'.';
    std::size_t pos = 0;
    return DecodeUtf8(decimalSeparator, pos);
}

std::string FormatGeneral(double value) {
    return FormatGeneral(value, CurrentLocale().decimalSeparator);
}

std::string FormatGeneral(double value, std::string_view decimalSeparator) {
    if (value == 0 || !std::isfinite(value))
        return value == 0 ? "0" : (std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF"));
    const Decimal d = ToDecimal(value);
    const std::string_view separator = decimalSeparator.empty() ? "." : decimalSeparator;
    const int count = static_cast<int>(d.digits.size());
    std::string out;
    if (d.negative)
        out.push_back('-');
    if (d.exponent >= kMinFixedExponent && d.exponent + 1 <= kMaxFixedIntegerDigits) {
        if (d.exponent >= 0) {
            const int integerDigits = d.exponent + 1;
            for (int i = 0; i < integerDigits; ++i)
                out.push_back(i < count ? d.digits[static_cast<std::size_t>(i)] : '0');
            if (count > integerDigits) {
                out.append(separator);
                out.append(d.digits, static_cast<std::size_t>(integerDigits));
            }
        } else {
            out.push_back('0');
            out.append(separator);
            out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
            out.append(d.digits);
        }
        return out;
    }
    out.push_back(d.digits[0]);
    if (count > 1) {
        out.append(separator);
        out.append(d.digits, 1);
    }
    out.push_back('E');
    if (d.exponent < 0)
        out.push_back('-');
    out.append(std::to_string(std::abs(d.exponent)));
    return out;
}

std::string FormatFixed2(double value, std::string_view decimalSeparator) {
    if (value == 0)
        value = 0; // no "-0.00"
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    if (result.ec != std::errc())
        return "?";
    std::string out(buffer, result.ptr);
    const auto point = out.find('.');
    if (point != std::string::npos)
        out.replace(point, 1, decimalSeparator.empty() ? "." : decimalSeparator);
    return out;
}

NumberConversion TextToFloat(std::string_view text, char32_t decimalSeparator, double& value) {
    value = 0;
    // The text is rewritten in the locale-independent form that std::from_chars reads.
    std::string ascii;
    std::size_t pos = 0;
    auto peek = [&]() -> char32_t {
        std::size_t p = pos;
        return pos < text.size() ? DecodeUtf8(text, p) : 0;
    };
    auto take = [&]() { DecodeUtf8(text, pos); };
    bool negative = false;
    if (peek() == U'+' || peek() == U'-') {
        negative = peek() == U'-';
        take();
    }
    std::string integerDigits;
    std::string fractionDigits;
    while (pos < text.size() && peek() >= U'0' && peek() <= U'9') {
        integerDigits.push_back(static_cast<char>(peek()));
        take();
    }
    if (pos < text.size() && peek() == decimalSeparator) {
        take();
        while (pos < text.size() && peek() >= U'0' && peek() <= U'9') {
            fractionDigits.push_back(static_cast<char>(peek()));
            take();
        }
    }
    if (integerDigits.empty() && fractionDigits.empty())
        return NumberConversion::Invalid;
    // The exponent saturates: beyond a billion every mantissa is out of range anyway.
    long long exponent = 0;
    bool hasExponent = false;
    if (pos < text.size() && (peek() == U'E' || peek() == U'e')) {
        take();
        bool negativeExponent = false;
        if (pos < text.size() && (peek() == U'+' || peek() == U'-')) {
            negativeExponent = peek() == U'-';
            take();
        }
        bool anyDigit = false;
        while (pos < text.size() && peek() >= U'0' && peek() <= U'9') {
            exponent =
                std::min(exponent * 10 + static_cast<long long>(peek() - U'0'), 1000000000LL);
            anyDigit = true;
            take();
        }
        if (!anyDigit)
            return NumberConversion::Invalid;
        if (negativeExponent)
            exponent = -exponent;
        hasExponent = true;
    }
    if (pos != text.size())
        return NumberConversion::Invalid;

    ascii = integerDigits.empty() ? std::string("0") : integerDigits;
    if (!fractionDigits.empty()) {
        ascii.push_back('.');
        ascii.append(fractionDigits);
    }
    if (hasExponent) {
        ascii.push_back('e');
        ascii.append(std::to_string(exponent));
    }
    double parsed = 0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), parsed);
    if (result.ec == std::errc::result_out_of_range) {
        // Overflow or underflow: decided by the decimal exponent of the first nonzero digit.
        const auto firstInteger = integerDigits.find_first_not_of('0');
        long long magnitude = 0;
        if (firstInteger != std::string::npos) {
            magnitude = static_cast<long long>(integerDigits.size() - firstInteger) - 1;
        } else {
            const auto firstFraction = fractionDigits.find_first_not_of('0');
            if (firstFraction == std::string::npos)
                return NumberConversion::Ok; // all zeros
            magnitude = -static_cast<long long>(firstFraction) - 1;
        }
        if (magnitude + exponent > 0)
            return NumberConversion::Overflow;
        value = negative ? -0.0 : 0.0;
        return NumberConversion::Ok;
    }
    if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size())
        return NumberConversion::Invalid;
    value = negative ? -parsed : parsed;
    return NumberConversion::Ok;
}

} // namespace orvan
