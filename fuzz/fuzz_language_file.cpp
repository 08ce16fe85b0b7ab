// Language files of any content: reading never crashes, keeps only texts the table can
// show, and the header alone reads the same as the header of the whole file.
#include "../tests/core/catalog/fakes.h"
#include "core/base/utf.h"
#include "core/language/language.h"
#include "core/language/language_file.h"

#include <cstdlib>
#include <string>

namespace {

bool Clean(const std::string& text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const char32_t c = orvan::DecodeUtf8(text, pos);
        if ((c == 0xFFFD && pos - start == 1) || (c < 0x20 && c != '\t') || c == 0x7F)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const orvan::LanguageFile file = orvan::ParseLanguageFile(bytes);
    const orvan::LanguageFile header = orvan::ParseLanguageFile(bytes, true);
    if (header.code != file.code || header.name != file.name || !header.texts.empty())
        std::abort();
    if (!Clean(file.name))
        std::abort();
    for (const orvan::TranslatedText& text : file.texts) {
        const std::string english = orvan::StoredText(text.id);
        if (english.empty() || text.text.empty() || !Clean(text.text) ||
            orvan::PlaceholderCount(english) != orvan::PlaceholderCount(text.text))
            std::abort();
    }

    // Through the Languages folder, as the program loads it.
    orvan::testing::FakeDisk disk;
    disk.AddFile("C:\\Orvan\\Languages\\Fuzz.lng", bytes);
    const orvan::LanguageLoad load = orvan::LoadProgramLanguage(file.code == 0 ? 1031 : file.code,
                                                                "C:\\Orvan\\Orvan.exe", disk, disk);
    if (load.status == orvan::LanguageLoadStatus::Loaded)
        for (const orvan::TranslatedText& text : file.texts)
            (void)orvan::Languages::TextFmt(text.id, {"a", "b", "c", "d", "e"});
    orvan::ClearTranslations();
    return 0;
}
