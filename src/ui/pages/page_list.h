#pragma once
// The list of the Quick and Clipboard pages: a standard list box with strings (so that
// screen readers and other programs read its rows as they read any list box), drawn by its
// page, that answers WM_GETTEXT with its rows, one per line, and hands the characters typed
// on it to its page's filter.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace orvan::ui {

class PageListBox {
public:
    PageListBox() = default;
    ~PageListBox();
    PageListBox(const PageListBox&) = delete;
    PageListBox& operator=(const PageListBox&) = delete;

    HWND Create(HWND parent, int id, int rowHeight);
    HWND Handle() const { return hwnd_; }

    // A printable character typed on the list, or '\b' for Backspace.
    void OnTyped(std::function<void(wchar_t)> typed) { typed_ = std::move(typed); }

    // Replaces the rows and selects `selected` (clamped into the rows; none for -1 or
    // no rows).
    void SetRows(const std::vector<std::wstring>& rows, int selected);
    int Count() const;
    int Selection() const;
    void Select(int row);
    // One row up or down, staying on the first or last; the first row when none is selected.
    void MoveSelection(bool up);
    void SetRowHeight(int height);
    // All rows, each ended by CR LF.
    std::wstring Text() const;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);

    HWND hwnd_ = nullptr;
    std::vector<std::wstring> rows_;
    std::function<void(wchar_t)> typed_;
};

// A character typed on a page's list goes on into its filter line, '\b' taking the last one
// away; the page refills from the line's EN_CHANGE.
void TypeIntoFilter(HWND filter, wchar_t c);

// Draws a row of a page list: the selection colours, an optional small icon, the text.
void DrawPageRow(const DRAWITEMSTRUCT& item, HFONT font, HICON icon, int iconSize,
                 const std::wstring& text);

} // namespace orvan::ui
