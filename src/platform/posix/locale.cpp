#include "platform/native.h"

#include <cstdlib>
#include <string_view>

namespace orvan::platform {

namespace {

// Linux has no per-user Windows locale: a fixed default, which ORVAN_LOCALE may override
// field by field, e.g. "decimal=,;thousands=.;shortdate=dd.MM.yyyy;longtime=HH:mm:ss".
class PosixLocale final : public LocalePort {
public:
    LocaleSettings ReadLocale() const override {
        LocaleSettings settings;
        const char* spec = std::getenv("ORVAN_LOCALE");
        if (spec == nullptr)
            return settings;
        std::string_view rest(spec);
        while (!rest.empty()) {
            const auto end = rest.find(';');
            const std::string_view item = rest.substr(0, end);
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
            const auto eq = item.find('=');
            if (eq == std::string_view::npos)
                continue;
            const std::string_view key = item.substr(0, eq);
            const std::string value(item.substr(eq + 1));
            if (key == "decimal" && !value.empty())
                settings.decimalSeparator = value;
            else if (key == "thousands")
                settings.thousandSeparator = value;
            else if (key == "shortdate" && !value.empty())
                settings.shortDateFormat = value;
            else if (key == "longtime" && !value.empty())
                settings.longTimeFormat = value;
            else if (key == "am")
                settings.amDesignator = value;
            else if (key == "pm")
                settings.pmDesignator = value;
        }
        return settings;
    }
};

} // namespace

const LocalePort& Locale() {
    static const PosixLocale locale;
    return locale;
}

} // namespace orvan::platform
