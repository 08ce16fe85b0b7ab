#pragma once
// The candidate list box: a list box without per-row data (LBS_NODATA), so that a refill
// of any size costs one LB_SETCOUNT, with owner-drawn rows taken from the candidate list.
// The subclass answers what a list box without data cannot: the rows' texts (LB_GETTEXT),
// Active Accessibility with every row's name, and thumb scrolling past 65 535 rows, whose
// position does not fit the 16 bits of WM_VSCROLL.
#include "ui/gdi.h"

#include <windows.h>

#include <oleacc.h>

#include <cstddef>
#include <string>

namespace orvan::ui {

// Where the list box takes its rows from.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual std::size_t RowCount() const = 0;
    virtual std::wstring RowName(std::size_t row) const = 0;
};

class AvailableListBox {
public:
    AvailableListBox() = default;
    ~AvailableListBox();
    AvailableListBox(const AvailableListBox&) = delete;
    AvailableListBox& operator=(const AvailableListBox&) = delete;

    // Creates the list box as a child of `parent` with the row height in pixels.
    HWND Create(HWND parent, int id, const RECT& rect, int rowHeight, const RowSource& rows);
    HWND Handle() const { return hwnd_; }

    // Sets the number of rows (and forgets the selection, as LB_SETCOUNT does).
    void SetCount(std::size_t count);
    int Selection() const;
    void Select(int row);
    std::size_t Count() const;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    const RowSource* rows_ = nullptr;
    IAccessible* accessible_ = nullptr; // our reference; released when the list goes
};

// The accessible object of a list box whose rows come from a RowSource. Exposed for tests.
IAccessible* CreateListAccessible(HWND list, const RowSource& rows);
// Tells an accessible object made above that its list is gone: every later call fails.
void DisconnectListAccessible(IAccessible* accessible);

} // namespace orvan::ui
