#pragma once
// The program's grid control: a thin window over the core's grid model (core/ui/
// list_view.h). It turns mouse, wheel and key messages into the model's calls, draws the
// model's paint plan into one off-screen bitmap shared by every grid, runs the scroll
// bar's repeat timer and the column chooser's menu, and answers assistive technology with
// an accessible table whose rows are named by their cells and whose check boxes report
// their state. Its window text is the grid as text.
#include "core/ui/list_view.h"
#include "ui/window.h"

#include <oleacc.h>

#include <functional>
#include <memory>

namespace orvan::ui {

class CheckBoxImages;

class ListView final : public Window {
public:
    ListView();
    ~ListView() override;

    // Creates the grid as a child with an identifier; visible, a tab stop.
    HWND Create(HWND parent, int id, const RECT& rect);

    orvan::ListView& Model() { return model_; }
    const orvan::ListView& Model() const { return model_; }

    // The metrics and the font of a DPI; the font is borrowed (WM_SETFONT does the same).
    void SetDpi(int dpi, HFONT font);

    // OnRowChange of the model, after the grid has told accessibility clients.
    void OnRowChange(std::function<void()> handler) { rowChange_ = std::move(handler); }
    // The context menu: asked to open at a screen point, after the grid has repainted.
    void OnContextMenu(std::function<void(POINT screen)> show) { contextMenu_ = std::move(show); }
    // The context menu's item whose shortcut is Enter, clicked by Enter without a selected
    // row; with it (or an OnFileExecute handler) the grid keeps Enter from the dialog keys.
    void OnEnterMenuItem(std::function<void()> click) { enterMenuItem_ = std::move(click); }
    void SetWantsEnter(bool wants) { wantsEnter_ = wants; }

    // What an accessibility client may do: focus and select a row, flip a tick as a click.
    void SelectRow(int row);
    void ToggleCheck(int row, int column);

    // Draws the grid as it is now into a device context (the paint and WM_PRINTCLIENT).
    void Paint(HDC dc, const RECT& client) override;

    // The scroll bar's repeat timer, for tests.
    static constexpr UINT_PTR kScrollRepeatTimer = 1;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage() override;

private:
    void OnPaint();
    void OnButtonDown(MouseButton button, POINT at, WPARAM keys, bool doubleClick);
    void OnButtonUp(MouseButton button, POINT at);
    void OnCaptureLost();
    bool OnSetCursor();
    void OnMouseWheel(int delta);
    void OnKeyDown(UINT key);
    void OnChar(wchar_t unit);
    void OnContextMenuKey(POINT at);
    void OnTimer(UINT_PTR id);
    LRESULT OnGetDlgCode(const MSG* message) const;
    LRESULT OnGetObject(WPARAM flags, LPARAM objectId);
    LRESULT OnGetText(std::size_t size, wchar_t* buffer) const;
    void ApplyRequest(ListViewRequest request, POINT at);
    void ShowColumnChooser(POINT screen);
    void StopMouse();
    void RowChanged();
    void OpenTheme();

    orvan::ListView model_;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    UniqueFont ownFont_; // Tahoma 8 pt until a font is given
    UniqueTheme buttonTheme_;
    std::unique_ptr<CheckBoxImages> checkImages_; // the themed boxes, drawn once per look
    int wheelRest_ = 0;
    wchar_t highSurrogate_ = 0;
    bool wantsEnter_ = false;
    std::function<void()> rowChange_;
    std::function<void(POINT)> contextMenu_;
    std::function<void()> enterMenuItem_;
    IAccessible* accessible_ = nullptr; // our reference; disconnected when the window goes
};

// The accessible table of a grid and its disconnection when the grid goes (in
// list_view_access.cpp).
IAccessible* CreateGridAccessible(ListView& grid);
void DisconnectGridAccessible(IAccessible* accessible);

} // namespace orvan::ui
