#include "core/settings/path_editor_model.h"

#include "core/base/utf.h"
#include "core/config/path_variables.h"
#include "core/language/language.h"

#include <algorithm>

namespace orvan {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::int32_t ClampDepth(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 0, kMaxCatalogDepth));
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Within the text, and never between the two halves of a surrogate pair.
std::size_t EditPosition(const std::u16string& text, std::size_t position) {
    position = std::min(position, text.size());
    if (position > 0 && position < text.size() && IsLowSurrogate(text[position]) &&
        IsHighSurrogate(text[position - 1]))
        --position;
    return position;
}

} // namespace

PathEditorTexts CatalogPathEditorTexts() {
    PathEditorTexts texts;
    texts.caption = Languages::Text(9000039);
    texts.pathLabel = Languages::TextColon(9000040);
    texts.maskLabel = Languages::TextColon(9000041);
    texts.depthLabel = Languages::TextColon(9000043);
    texts.unlimitedDepth = Languages::TextColon(9000044);
    texts.includeDirectories = Languages::TextColon(9000045);
    texts.active = Languages::Text(9000042);
    texts.ok = Languages::Text(1);
    texts.cancel = Languages::Text(2);
    return texts;
}

PathEditorControls PathToControls(const SettingsOptionsCatalogPath& path) {
    PathEditorControls controls;
    controls.path = path.path;
    controls.mask = path.mask;
    controls.depth = DepthText(path.depth);
    controls.unlimitedDepth = path.depth == UnlimitedDepth;
    controls.includeDirectories = path.includeDirectories;
    controls.active = path.active;
    return controls;
}

void ControlsToPath(const PathEditorControls& controls, SettingsOptionsCatalogPath& path) {
    path.path = RemoveRefusedPathCharacters(controls.path);
    path.mask = RemoveRefusedPathCharacters(controls.mask);
    path.depth = controls.unlimitedDepth ? UnlimitedDepth : ReadDepthText(controls.depth);
    path.includeDirectories = controls.includeDirectories;
    path.active = controls.active;
}

PathEditorState PathEditorStateOf(const PathEditorControls& controls) {
    return {!controls.path.empty(), !controls.unlimitedDepth};
}

std::int32_t ReadDepthText(std::string_view text) {
    while (!text.empty() && !IsDigit(text.back()))
        text.remove_suffix(1);
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Digits beyond the range only need to be known as too many.
    std::int64_t value = 0;
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits)
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), kMaxCatalogDepth + 1);
    if (i < text.size() && text[i] == '.') {
        ++i;
        if (i < text.size() && IsDigit(text[i]) && text[i] >= '5')
            value = std::min<std::int64_t>(value + 1, kMaxCatalogDepth + 1);
        for (; i < text.size() && IsDigit(text[i]); ++i)
            ++digits;
    }
    if (digits == 0 || i != text.size())
        return 0;
    return ClampDepth(negative ? -value : value);
}

std::string DepthText(std::int32_t value) {
    return std::to_string(ClampDepth(value));
}

std::string StepDepthText(std::string_view text, int step) {
    return DepthText(ClampDepth(std::int64_t(ReadDepthText(text)) + step));
}

bool IsRefusedPathCharacter(char32_t character) {
    return character == U'|';
}

std::string RemoveRefusedPathCharacters(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    // "|" is ASCII and never part of a longer UTF-8 sequence, so bytes suffice.
    for (char c : text)
        if (!IsRefusedPathCharacter(static_cast<unsigned char>(c)))
            kept += c;
    return kept;
}

EditedText ReplaceSelection(std::string_view text, EditSelection selection,
                            std::string_view inserted) {
    std::u16string units = Utf8ToUtf16(text);
    std::size_t start = EditPosition(units, selection.start);
    std::size_t end = EditPosition(units, selection.end);
    if (start > end)
        std::swap(start, end);
    const std::u16string insertedUnits = Utf8ToUtf16(inserted);
    units.replace(start, end - start, insertedUnits);
    return {Utf16ToUtf8(units), {start, start + insertedUnits.size()}};
}

std::array<SpecialFolderMenuItem, 18> SpecialFolderMenu() {
    std::array<SpecialFolderMenuItem, 18> items;
    static_assert(std::size(kPathVariables) == items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string_view token = kPathVariables[i].token;
        items[i] = {token.substr(1, token.size() - 2), token};
    }
    return items;
}

} // namespace orvan
