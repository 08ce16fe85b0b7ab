#include "platform/native.h"

#include "core/base/utf.h"

#include <windows.h>

namespace orvan::platform {

namespace {

// An empty answer is a real value for the AM/PM designators of 24-hour locales, but never
// for separators and formats, which fall back to the defaults.
std::string LocaleText(LCTYPE type, const char* fallback, bool emptyAllowed = false) {
    wchar_t buffer[128];
    const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 128);
    if (n < 1 || (n == 1 && !emptyAllowed))
        return fallback;
    return Utf16ToUtf8(
        std::u16string(reinterpret_cast<const char16_t*>(buffer), static_cast<std::size_t>(n - 1)));
}

class Win32Locale final : public LocalePort {
public:
    LocaleSettings ReadLocale() const override {
        LocaleSettings settings;
        settings.decimalSeparator = LocaleText(LOCALE_SDECIMAL, ".");
        settings.thousandSeparator = LocaleText(LOCALE_STHOUSAND, ",");
        settings.shortDateFormat = LocaleText(LOCALE_SSHORTDATE, "yyyy-MM-dd");
        settings.longTimeFormat = LocaleText(LOCALE_STIMEFORMAT, "H:mm:ss");
        settings.amDesignator = LocaleText(LOCALE_SAM, "AM", true);
        settings.pmDesignator = LocaleText(LOCALE_SPM, "PM", true);
        return settings;
    }
};

} // namespace

const LocalePort& Locale() {
    static const Win32Locale locale;
    return locale;
}

} // namespace orvan::platform
