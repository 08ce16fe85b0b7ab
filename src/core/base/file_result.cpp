#include "core/base/file_result.h"

#include "core/language/language.h"

namespace orvan {

namespace {
constexpr int kTextUnableToWrite = 107;
} // namespace

std::string UnableToWriteText(std::string_view fileName) {
    return Languages::TextFmt(kTextUnableToWrite, {fileName});
}

} // namespace orvan
