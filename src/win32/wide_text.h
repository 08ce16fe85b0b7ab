#pragma once
// UTF-8 <-> UTF-16 at the Windows API edge; wchar_t is 16 bits wide there.
#include "core/base/utf.h"

#include <cwchar>
#include <string>
#include <string_view>

namespace orvan::win32 {

inline std::wstring Wide(std::string_view text) {
    const std::u16string wide = Utf8ToUtf16(text);
    return std::wstring(wide.begin(), wide.end());
}

inline std::string Narrow(const wchar_t* text, std::size_t length) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

inline std::string Narrow(const wchar_t* text) {
    return Narrow(text, std::wcslen(text));
}

} // namespace orvan::win32
