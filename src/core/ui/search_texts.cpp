#include "core/ui/search_texts.h"

#include "core/base/date_general.h"
#include "core/language/language.h"
#include "core/robot/version.h"
#include "core/ui/search_layout.h"

namespace orvan {

std::string AboutText() {
    std::string text(ProductTitle);
    text += "\r\n";
    text += VersionText;
    text += "\r\n";
    for (const std::string_view line : AboutClosingLines) {
        text += "\r\n";
        text += line;
    }
    return text;
}

std::string StartedAtText(double moment, const LocaleSettings& locale) {
    return Languages::TextFmt(search_layout::kStartedAtId, {FormatDateTimeGeneral(moment, locale)});
}

std::string ApplicationErrorText(std::string_view message) {
    return Languages::TextFmt(search_layout::kApplicationErrorId, {message});
}

} // namespace orvan
