#pragma once
#include <string>

namespace orvan::cli {

// Hands the platform's locale and clock to the core and, on Windows, switches the standard streams
// to binary UTF-8 so that output is byte for byte the same as on Linux.
void PreparePlatform();

#ifdef _WIN32
std::string WideToUtf8(const wchar_t* text);
#endif

} // namespace orvan::cli
