#pragma once
// The system's own words for an error code, without the line break it ends them with.
#include "win32/wide_text.h"

#include <windows.h>

#include <string>

namespace orvan::win32 {

inline std::string SystemMessage(DWORD error) {
    wchar_t buffer[512] = {};
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, error, 0, buffer, 512, nullptr);
    while (length > 0 && (buffer[length - 1] == L'\r' || buffer[length - 1] == L'\n' ||
                          buffer[length - 1] == L' '))
        --length;
    return Narrow(buffer, length);
}

} // namespace orvan::win32
