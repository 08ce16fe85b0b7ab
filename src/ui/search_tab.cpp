#include "ui/search_tab.h"

namespace orvan::ui {

RECT PagePlacer::operator()(const DesignedControl& control) const {
    const UiRect scaled = ScaleForDpi(control.rect, dpi);
    const UiSize designed{ScaleForDpi(search_layout::kPage.width, dpi),
                          ScaleForDpi(search_layout::kPage.height, dpi)};
    const UiRect r = AnchorInParent(scaled, control.anchors, designed, page);
    return ToRect(r.left, r.top, r.width, r.height);
}

void MoveTo(HWND window, const RECT& rect) {
    if (window)
        ::MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     TRUE);
}

HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle,
                 HWND parent, int id) {
    return ::CreateWindowExW(exStyle, className, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(INT_PTR(id)), ModuleInstance(), nullptr);
}

HWND SearchTab::CreatePanel(HWND pageControl) {
    return Create(pageControl, RECT{0, 0, 10, 10});
}

} // namespace orvan::ui
