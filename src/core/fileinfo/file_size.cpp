#include "core/fileinfo/file_size.h"

#include "core/language/language.h"

#include <charconv>

namespace orvan {

namespace {

constexpr int kTextBytes = 10001;
constexpr int kTextKilobytes = 10002;
constexpr int kTextMegabytes = 10003;
constexpr int kTextGigabytes = 10004;

std::string Fixed2(double value, std::string_view decimalSeparator) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    std::string text(buffer, result.ptr);
    const std::size_t point = text.find('.');
    if (point != std::string::npos)
        text.replace(point, 1, decimalSeparator.empty() ? "." : decimalSeparator);
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
    const double value = static_cast<double>(magnitude);
    if (magnitude < kMega)
        return Languages::TextFmt(kTextKilobytes,
                                  {Fixed2(value / double(kKilo), locale.decimalSeparator)});
    if (magnitude < kGiga)
        return Languages::TextFmt(kTextMegabytes,
                                  {Fixed2(value / double(kMega), locale.decimalSeparator)});
    return Languages::TextFmt(kTextGigabytes,
                              {Fixed2(value / double(kGiga), locale.decimalSeparator)});
}

} // namespace orvan
