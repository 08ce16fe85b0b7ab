#pragma once
// The program's own multi-line texts separate lines with a lone CR; other programs (the
// clipboard's readers, text files, DrawText) expect CR LF.
#include <string>
#include <string_view>

namespace orvan {

// Every CR that no LF follows gets one; CR LF pairs and lone LFs stay as they are.
std::string CrToCrLf(std::string_view text);
std::u16string CrToCrLf(std::u16string_view text);

} // namespace orvan
