#include "core/ports/locale.h"

namespace orvan {

namespace {
LocaleSettings& Storage() {
    static LocaleSettings settings;
    return settings;
}
} // namespace

const LocaleSettings& CurrentLocale() {
    return Storage();
}

void SetCurrentLocale(const LocaleSettings& settings) {
    Storage() = settings;
}

} // namespace orvan
