#pragma once
// The candidate list box: a list box without per-row data (LBS_NODATA), so that a refill
// of any size costs one LB_SETCOUNT, which draws its rows from the candidate list itself.
// The subclass answers what a list box without data cannot: the rows' texts (LB_GETTEXT),
// Active Accessibility with every row's name, and thumb scrolling past 65 535 rows, whose
// position does not fit the 16 bits of WM_VSCROLL.
#include "core/search/run_available.h"
#include "ui/gdi.h"

#include <windows.h>

#include <oleacc.h>

#include <cstddef>
#include <functional>
#include <string>
#include <utility>

namespace orvan::ui {

class AvailableListBox {
public:
    explicit AvailableListBox(const RunAvailableList& rows) : rows_(rows) {}
    ~AvailableListBox();
    AvailableListBox(const AvailableListBox&) = delete;
    AvailableListBox& operator=(const AvailableListBox&) = delete;

    // Creates the list box, hidden, as a child of `parent` with the row height in pixels.
    HWND Create(HWND parent, int id, const RECT& rect, int rowHeight);
    HWND Handle() const { return hwnd_; }
    // The font and row height of a DPI.
    void SetDpi(int dpi, HFONT font);
    // Called when a row is drawn whose file icon the icon cache has not fetched yet.
    void OnIconsWanted(std::function<void()> wanted) { iconsWanted_ = std::move(wanted); }

    // Shows the candidate list's rows anew after it changed: shown only with rows, the
    // selection kept where the row count allows.
    void Refill();
    // Draws one row (the parent hands WM_DRAWITEM on).
    void DrawItem(const DRAWITEMSTRUCT& item);
    // The rows in the visible part, [first, last).
    std::pair<std::size_t, std::size_t> RowsOnScreen() const;
    std::size_t RowCount() const;
    std::wstring RowName(std::size_t row) const;

    // Sets the number of rows (and forgets the selection, as LB_SETCOUNT does).
    void SetCount(std::size_t count);
    int Selection() const;
    void Select(int row);
    std::size_t Count() const;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    const RunAvailableList& rows_;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    std::function<void()> iconsWanted_;
    IAccessible* accessible_ = nullptr; // our reference; released when the list goes
};

// The accessible object of the list box.
IAccessible* CreateListAccessible(HWND list, const AvailableListBox& rows);
// Tells an accessible object made above that its list is gone: every later call fails.
void DisconnectListAccessible(IAccessible* accessible);

} // namespace orvan::ui
