#include "core/fileinfo/text_file.h"

#include "core/base/utf.h"
#include "core/language/language.h"

namespace orvan {

std::string EncodeTextFile(std::string_view text, const AnsiCodePagePort& codePage) {
    const std::string withLineEnd = std::string(text) + "\r\n";
    std::string bytes;
    if (codePage.ToAnsiCodePage(withLineEnd, bytes))
        return bytes;
    // Invalid UTF-8 in the text comes out as U+FFFD, like every other conversion here.
    std::string utf8 = "\xEF\xBB\xBF";
    std::size_t pos = 0;
    while (pos < withLineEnd.size())
        AppendUtf8(utf8, DecodeUtf8(withLineEnd, pos));
    return utf8;
}

bool SaveTextToFile(std::string_view text, const std::string& fileName,
                    const AnsiCodePagePort& codePage, const FileWritePort& files,
                    std::string& errorText) {
    const FileWriteOutcome outcome =
        files.CreateOrReplace(fileName, EncodeTextFile(text, codePage));
    switch (outcome.status) {
    case FileWriteOutcome::Status::Written:
        errorText.clear();
        return true;
    case FileWriteOutcome::Status::WriteFailed:
        errorText = Languages::TextFmt(104, {std::to_string(outcome.errorNumber)});
        return false;
    case FileWriteOutcome::Status::OpenFailed:
        // A system that gives no words for its failure still gets its number shown.
        errorText = outcome.message.empty()
                        ? Languages::TextFmt(104, {std::to_string(outcome.errorNumber)})
                        : outcome.message;
        return false;
    }
    return false;
}

bool SaveTextToFile(std::string_view text, const std::string& fileName,
                    const TextFileServices& services, std::string& errorText) {
    if (!services.codePage || !services.files) {
        errorText = Languages::TextFmt(104, {"0"});
        return false;
    }
    return SaveTextToFile(text, fileName, *services.codePage, *services.files, errorText);
}

} // namespace orvan
