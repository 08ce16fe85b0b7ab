#include "core/settings/hot_key_choice.h"

#include "core/language/language.h"

namespace orvan {

namespace {

// Flags of the hot-key control's high byte.
constexpr std::uint16_t kEntryShift = 0x01;
constexpr std::uint16_t kEntryControl = 0x02;
constexpr std::uint16_t kEntryAlt = 0x04;

constexpr std::uint16_t kCtrlSpace = 0x4020;
constexpr std::uint16_t kAltSpace = 0x8020;
constexpr std::uint16_t kCtrlAltSpace = 0xC020;

} // namespace

std::array<HotKeyPreset, 3> HotKeyPresets(const KeyNamePort& names) {
    return {{
        {kCtrlSpace, ShortCutText(kCtrlSpace, names)},
        {kAltSpace, ShortCutText(kAltSpace, names)},
        {kCtrlAltSpace, ShortCutText(kCtrlAltSpace, names)},
    }};
}

std::uint16_t HotKeyEntryValue(std::uint16_t shortCut) {
    std::uint16_t flags = 0;
    if ((shortCut & ShortCutFlag::Shift) != 0)
        flags |= kEntryShift;
    if ((shortCut & ShortCutFlag::Ctrl) != 0)
        flags |= kEntryControl;
    if ((shortCut & ShortCutFlag::Alt) != 0)
        flags |= kEntryAlt;
    return static_cast<std::uint16_t>((flags << 8) | (shortCut & 0xFF));
}

std::uint16_t ShortCutFromHotKeyEntry(std::uint16_t entryValue) {
    const std::uint16_t flags = entryValue >> 8;
    std::uint16_t shortCut = entryValue & 0xFF;
    if ((flags & kEntryShift) != 0)
        shortCut |= ShortCutFlag::Shift;
    if ((flags & kEntryControl) != 0)
        shortCut |= ShortCutFlag::Ctrl;
    if ((flags & kEntryAlt) != 0)
        shortCut |= ShortCutFlag::Alt;
    return shortCut;
}

std::optional<HotKeyNotice> HotKeyRegistrationNotice(std::int32_t hotKey, bool registered,
                                                     const KeyNamePort& names) {
    if (registered)
        return std::nullopt;
    const auto shortCut = static_cast<std::uint16_t>(hotKey);
    std::string shown = ShortCutText(shortCut, names);
    // A key the layout has no name for is still named, by its code.
    if (shown.empty())
        shown = std::to_string(shortCut);
    return HotKeyNotice{Languages::Text(18), Languages::TextFmt(9000057, {shown})};
}

} // namespace orvan
