#pragma once
// The user's regional settings as far as the core needs them. Formats use the Windows
// picture syntax ("dd.MM.yyyy", "H:mm:ss", "h:mm:ss tt").
#include <string>

namespace orvan {

struct LocaleSettings {
    std::string decimalSeparator = ".";
    std::string thousandSeparator = ",";
    std::string shortDateFormat = "yyyy-MM-dd";
    std::string longTimeFormat = "H:mm:ss";
    std::string amDesignator = "AM";
    std::string pmDesignator = "PM";
};

class LocalePort {
public:
    virtual ~LocalePort() = default;
    virtual LocaleSettings ReadLocale() const = 0;
};

// The settings the core formats and parses with. The programs set them once at start-up
// from the platform; until then the defaults above apply.
const LocaleSettings& CurrentLocale();
void SetCurrentLocale(const LocaleSettings& settings);

} // namespace orvan
