#include "core/fileinfo/file_size.h"

#include "core/language/language.h"

namespace orvan {

namespace {

constexpr int kTextBytes = 10001;
constexpr int kTextKilobytes = 10002;
constexpr int kTextMegabytes = 10003;
constexpr int kTextGigabytes = 10004;

// count / unit with two decimals, an exact half of the last digit rounded up (1152 bytes are
// 1.125 kB: "1.13"). Worked out in whole numbers, so that the tie is the decimal one and the
// largest counts keep every digit.
std::string Fixed2(std::uint64_t count, std::uint64_t unit, std::string_view decimalSeparator) {
    std::uint64_t whole = count / unit;
    // The remainder is below 2^30, so a hundred times it cannot overflow.
    std::uint64_t hundredths = ((count % unit) * 100 + unit / 2) / unit;
    if (hundredths == 100) {
        ++whole;
        hundredths = 0;
    }
    std::string text = std::to_string(whole);
    text += decimalSeparator.empty() ? "." : decimalSeparator;
    text += static_cast<char>('0' + hundredths / 10);
    text += static_cast<char>('0' + hundredths % 10);
    return text;
}

} // namespace

std::string FormatFileSize(std::int64_t count) {
    return FormatFileSize(count, CurrentLocale());
}

std::string FormatFileSize(std::int64_t count, const LocaleSettings& locale) {
    // The magnitude is taken unsigned, so the most negative count does not overflow.
    const std::uint64_t magnitude = count < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(count)
                                              : static_cast<std::uint64_t>(count);
    constexpr std::uint64_t kKilo = 1024;
    constexpr std::uint64_t kMega = kKilo * 1024;
    constexpr std::uint64_t kGiga = kMega * 1024;
    if (magnitude < kKilo)
        return Languages::TextFmt(kTextBytes, {std::to_string(magnitude)});
    if (magnitude < kMega)
        return Languages::TextFmt(kTextKilobytes,
                                  {Fixed2(magnitude, kKilo, locale.decimalSeparator)});
    if (magnitude < kGiga)
        return Languages::TextFmt(kTextMegabytes,
                                  {Fixed2(magnitude, kMega, locale.decimalSeparator)});
    return Languages::TextFmt(kTextGigabytes, {Fixed2(magnitude, kGiga, locale.decimalSeparator)});
}

} // namespace orvan
