#pragma once
// The program's own controls (the component library's Zel_* controls as far as the
// windows need them): an image box, a flat button with a hint, the scrolling label, a link
// label, a label with a fixed tail, the sweeping progress band, and the containers that
// hold one tab page's controls.
#include "core/ui/scroll_label.h"
#include "core/ui/waiter_band.h"
#include "ui/window.h"

#include <functional>
#include <string>

namespace orvan::ui {

// Registers the window classes of the controls; idempotent.
void RegisterControlClasses();

// An image box: one icon at a given size, centred, on a background colour.
class ImageBox : public Window {
public:
    ImageBox() : Window(Painting::Self) {}
    HWND Create(HWND parent, int id, const RECT& rect);
    // The icon is borrowed; `size` 0 draws it at its own size.
    void SetIcon(HICON icon, int size);
    HICON Icon() const { return icon_; }
    void SetBackground(COLORREF color);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc, const RECT& client) override;
    HICON icon_ = nullptr;
    int size_ = 0;
    COLORREF background_ = ::GetSysColor(COLOR_BTNFACE);
};

// A flat button: a borderless 16 by 16 button showing a glyph; a raised edge under the
// mouse, a sunken one while pressed. Its window text is its hint, shown as a tooltip and
// answered to WM_GETTEXT. A click sends WM_COMMAND (id, BN_CLICKED) to the parent.
class FlatButton : public Window {
public:
    FlatButton() : Window(Painting::Self) {}
    HWND Create(HWND parent, int id, const RECT& rect, HICON glyph, HICON disabledGlyph);
    void SetHint(const std::wstring& hint);
    void SetGlyph(HICON glyph, HICON disabledGlyph);
    void SetBackground(COLORREF color);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc, const RECT& client) override;
    void OnMouseMove(POINT at);
    void OnButtonDown();
    void OnButtonUp();
    void Click();
    HICON glyph_ = nullptr;
    HICON disabledGlyph_ = nullptr;
    COLORREF background_ = ::GetSysColor(COLOR_BTNFACE);
    bool hot_ = false;
    bool pressed_ = false;
    UniqueWindow tooltip_;
};

// A scroll label: a word-wrapped text that the user drags with the mouse when it does
// not fit; a CR in the text starts a new line. Its window text is the text.
class ScrollLabel : public Window {
public:
    ScrollLabel() : Window(Painting::Self) {}
    HWND Create(HWND parent, int id, const RECT& rect);
    void SetBackground(COLORREF color);
    void SetFont(HFONT font);
    const ScrollLabelModel& Model() const { return model_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc, const RECT& client) override;
    void Measure();
    std::wstring DrawnText() const;

    ScrollLabelModel model_;
    HFONT font_ = nullptr;
    COLORREF background_ = ::GetSysColor(COLOR_BTNFACE);
};

// A label that opens something when clicked: underlined, in the hot-tracking colour,
// with the hand cursor. Its hint (the address) shows as a tooltip.
class LinkLabel : public Window {
public:
    LinkLabel() : Window(Painting::Self) {}
    HWND Create(HWND parent, int id, const RECT& rect, const std::wstring& caption);
    void SetFont(HFONT font);
    void SetHint(const std::wstring& hint);
    const std::wstring& Hint() const { return hint_; }
    void SetBackground(COLORREF color);
    void OnClick(std::function<void()> action) { click_ = std::move(action); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc, const RECT& client) override;
    HFONT font_ = nullptr;
    std::wstring hint_;
    COLORREF background_ = ::GetSysColor(COLOR_BTNFACE);
    std::function<void()> click_;
    UniqueWindow tooltip_;
};

// A plain area that holds controls: it paints its background colour and gives its labels
// that colour. The controls' notifications (commands, owner drawing, timers) reach the
// panel itself; a panel with controls of its own derives from it and handles them.
class Panel : public Window {
public:
    Panel();
    HWND Create(HWND parent, const RECT& rect, DWORD style = 0);
    void SetBackground(COLORREF color);
    COLORREF Background() const { return background_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
    virtual void OnDrawItem(const DRAWITEMSTRUCT& /*item*/) {}
    virtual void OnTimer(UINT_PTR /*id*/) {}
    HBRUSH BackgroundBrush() const;

private:
    COLORREF background_;
    UniqueBrush brush_;
};

// A tab page whose controls belong to the window around the tab control: their commands,
// notifications and context menus go to `target`, so that one dialog handles the controls
// of all its pages in one place.
class ForwardingPanel final : public Panel {
public:
    explicit ForwardingPanel(HWND target = nullptr) : target_(target) {}
    void SetTarget(HWND target) { target_ = target; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND target_;
};

// A one-line label whose last characters stay visible: when the caption is wider than the
// label, the rest ends in an ellipsis and the tail (the colon) keeps to the right edge. Its
// window text is the caption; it takes WM_SETFONT like a standard label.
class FixedTailLabel : public Window {
public:
    FixedTailLabel() : Window(Painting::Self) {}
    HWND Create(HWND parent, int id, std::size_t fixedCount = 1);
    void SetBackground(COLORREF color);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc, const RECT& client) override;
    std::size_t fixedCount_ = 1;
    HFONT font_ = nullptr;
    COLORREF background_ = ::GetSysColor(COLOR_BTNFACE);
};

// The sweeping progress band: inactive it keeps the band where it stopped; active, a 50 ms
// timer moves it. With a border a frame is drawn around the control.
class WaiterControl : public Window {
public:
    WaiterControl() : Window(Painting::Self) {}
    HWND Create(HWND parent, int id, bool border);
    void SetActive(bool active);
    bool Active() const { return active_; }
    const WaiterBand& Band() const { return band_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc, const RECT& client) override;
    WaiterBand band_;
    bool active_ = false;
    bool border_ = false;
};

// The colour of the themed tab-page body (the button face without a theme), which pages
// take so that they do not stand out of the tab control.
COLORREF TabBodyColor(HWND window);

// A tooltip for a window, showing `text`; returns its owner.
UniqueWindow CreateToolTip(HWND tool, const std::wstring& text);
void UpdateToolTip(HWND tooltip, HWND tool, const std::wstring& text);

} // namespace orvan::ui
