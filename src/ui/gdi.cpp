#include "ui/gdi.h"

namespace orvan::ui {

BackBuffer::BackBuffer(HDC target, const RECT& area) noexcept : target_(target), area_(area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    memory_.Reset(::CreateCompatibleDC(target));
    if (!memory_)
        return;
    bitmap_.Reset(::CreateCompatibleBitmap(target, width, height));
    if (!bitmap_) {
        memory_.Reset();
        return;
    }
    oldBitmap_ = ::SelectObject(memory_.Get(), bitmap_.Get());
    // Draw with the target's coordinates.
    ::SetViewportOrgEx(memory_.Get(), -area.left, -area.top, nullptr);
}

BackBuffer::~BackBuffer() {
    if (!memory_)
        return;
    ::SetViewportOrgEx(memory_.Get(), 0, 0, nullptr);
    ::BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
             memory_.Get(), 0, 0, SRCCOPY);
    ::SelectObject(memory_.Get(), oldBitmap_);
}

UniqueFont CreatePointFont(const wchar_t* face, int points, int dpi, bool bold, bool underline) {
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(points, dpi, 72);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfUnderline = underline ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return UniqueFont(::CreateFontIndirectW(&font));
}

} // namespace orvan::ui
