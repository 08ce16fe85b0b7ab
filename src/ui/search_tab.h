#pragma once
// One page of the search window's tab control: a panel that owns the page's controls and
// knows how to place them, scale them and name them in the current language. The window
// itself is only the frame around the pages.
#include "core/ui/layout.h"
#include "core/ui/search_keys.h"
#include "core/ui/search_layout.h"
#include "ui/controls.h"

#include <windows.h>

namespace orvan::ui {

// The fonts of the window at its current DPI; the window owns them.
struct TabFonts {
    int dpi = 96;
    HFONT text = nullptr; // Tahoma 8 pt
    HFONT link = nullptr; // the same, underlined
};

// Where a designed control goes on a page of the given size at the given DPI.
struct PagePlacer {
    int dpi = 96;
    UiSize page;
    RECT operator()(const DesignedControl& control) const;
};

// Moves a child window to a rectangle (nothing for a missing window).
void MoveTo(HWND window, const RECT& rect);
// Creates a standard control as a child with an identifier.
HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle,
                 HWND parent, int id);

class SearchTab : public Panel {
public:
    // Creates the page, hidden, inside the tab control, and its controls.
    virtual HWND CreatePage(HWND pageControl, const TabFonts& fonts) = 0;
    virtual void Layout(const PagePlacer& place) = 0;
    // Takes the fonts of a new DPI.
    virtual void SetFonts(const TabFonts& fonts) = 0;
    virtual void LocalizeCaptions() {}
    // The page colour of the current theme.
    virtual void ApplyColors(COLORREF body) { SetBackground(body); }
    // The control that takes the keyboard focus when the page is shown, if any.
    virtual HWND InputLine() const { return nullptr; }
    // The page was switched to (and is shown).
    virtual void Activated() {}
    // A key of the window's key table that belongs to this page; true when it was handled.
    virtual bool HandleKey(SearchKeyAction /*action*/) { return false; }

protected:
    HWND CreatePanel(HWND pageControl);
};

} // namespace orvan::ui
