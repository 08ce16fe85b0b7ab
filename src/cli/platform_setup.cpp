#include "cli/platform_setup.h"

#include "core/base/utf.h"
#include "core/ports/clock.h"
#include "platform/system_services.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>
#endif

namespace orvan::cli {

void PreparePlatform() {
    platform::UseSystemLocaleAndClock();
#ifdef _WIN32
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}

#ifdef _WIN32
std::string WideToUtf8(const wchar_t* text) {
    std::u16string wide;
    for (const wchar_t* p = text; *p; ++p)
        wide.push_back(static_cast<char16_t>(*p));
    return Utf16ToUtf8(wide);
}
#endif

} // namespace orvan::cli
