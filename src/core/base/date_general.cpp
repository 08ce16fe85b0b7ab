#include "core/base/date_general.h"

#include "core/base/date_format.h"

namespace orvan {

std::string FormatDateTimeGeneral(double moment, const LocaleSettings& locale) {
    const std::optional<DateTimeParts> parts = DecodeMoment(moment);
    if (!parts)
        return {};
    std::string text = FormatDateTimePicture(locale.shortDateFormat, moment, locale);
    // Milliseconds are not shown, so they do not count against "midnight" either.
    if (parts->hour != 0 || parts->minute != 0 || parts->second != 0)
        text += ' ' + FormatDateTimePicture(locale.longTimeFormat, moment, locale);
    return text;
}

} // namespace orvan
