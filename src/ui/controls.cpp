#include "ui/controls.h"

#include "core/base/line_breaks.h"
#include "core/ui/fixed_tail.h"
#include "win32/wide_text.h"

#include <vsstyle.h>
#include <windowsx.h>

#include <algorithm>

namespace orvan::ui {

namespace {

constexpr const wchar_t* kImageClass = L"TZel_Image";
constexpr const wchar_t* kFlatButtonClass = L"TZel_FlatButton";
constexpr const wchar_t* kScrollLabelClass = L"TZel_ScrollLabel";
constexpr const wchar_t* kLinkLabelClass = L"TZel_LinkLabel";
constexpr const wchar_t* kPanelClass = L"TzorTabSheet";
constexpr const wchar_t* kFixedTailLabelClass = L"TZel_Label";
constexpr const wchar_t* kWaiterClass = L"TZel_Waiter";
constexpr UINT_PTR kWaiterTimer = 1;

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    const COLORREF old = ::SetBkColor(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

} // namespace

void RegisterControlClasses() {
    static WindowClassRegistration image =
        RegisterWindowClass(kImageClass, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    static WindowClassRegistration button =
        RegisterWindowClass(kFlatButtonClass, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    static WindowClassRegistration label =
        RegisterWindowClass(kScrollLabelClass, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    static WindowClassRegistration link =
        RegisterWindowClass(kLinkLabelClass, 0, ::LoadCursorW(nullptr, IDC_HAND), nullptr);
    static WindowClassRegistration panel =
        RegisterWindowClass(kPanelClass, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    static WindowClassRegistration fixedTail =
        RegisterWindowClass(kFixedTailLabelClass, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    static WindowClassRegistration waiter =
        RegisterWindowClass(kWaiterClass, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
}

COLORREF TabBodyColor(HWND window) {
    // A 100 by 100 bitmap filled with the button face, the theme's tab body drawn over it,
    // and the pixel in the middle.
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    UniqueTheme theme(::OpenThemeData(window, L"TAB"));
    if (!theme)
        return face;
    WindowDc screen(window);
    UniqueMemoryDc dc(::CreateCompatibleDC(screen.Get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), 100, 100));
    if (!dc || !bitmap)
        return face;
    SelectGuard select(dc.Get(), bitmap.Get());
    RECT all{0, 0, 100, 100};
    UniqueBrush brush(::CreateSolidBrush(face));
    ::FillRect(dc.Get(), &all, brush.Get());
    ::DrawThemeBackground(theme.Get(), dc.Get(), TABP_BODY, 0, &all, nullptr);
    const COLORREF pixel = ::GetPixel(dc.Get(), 50, 50);
    return pixel == CLR_INVALID ? face : pixel;
}

UniqueWindow CreateToolTip(HWND tool, const std::wstring& text) {
    // No owner: under Wine a topmost popup owned by the window keeps that window from
    // becoming topmost itself (the stay-on-top option).
    UniqueWindow tip(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                       WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                       nullptr, ModuleInstance(), nullptr));
    if (!tip)
        return tip;
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = ::GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(tip.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    return tip;
}

void UpdateToolTip(HWND tooltip, HWND tool, const std::wstring& text) {
    if (!tooltip)
        return;
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND;
    info.hwnd = ::GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

// ImageBox

HWND ImageBox::Create(HWND parent, int id, const RECT& rect) {
    RegisterControlClasses();
    return CreateWindowFor(0, kImageClass, L"", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(INT_PTR(id)));
}

void ImageBox::SetIcon(HICON icon, int size) {
    if (icon == icon_ && size == size_)
        return;
    icon_ = icon;
    size_ = size;
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void ImageBox::SetBackground(COLORREF color) {
    background_ = color;
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void ImageBox::Paint(HDC dc, const RECT& client) {
    FillSolid(dc, client, background_);
    if (!icon_)
        return;
    int width = size_, height = size_;
    if (size_ == 0) {
        ICONINFO info{};
        BITMAP bitmap{};
        if (::GetIconInfo(icon_, &info)) {
            ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
            width = bitmap.bmWidth;
            height = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
            if (info.hbmColor)
                ::DeleteObject(info.hbmColor);
            if (info.hbmMask)
                ::DeleteObject(info.hbmMask);
        }
    }
    const int x = client.left + (client.right - client.left - width) / 2;
    const int y = client.top + (client.bottom - client.top - height) / 2;
    ::DrawIconEx(dc, x, y, icon_, size_, size_, 0, nullptr, DI_NORMAL);
}

LRESULT ImageBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT; // clicks belong to the page beneath
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

// FlatButton

HWND FlatButton::Create(HWND parent, int id, const RECT& rect, HICON glyph, HICON disabledGlyph) {
    RegisterControlClasses();
    glyph_ = glyph;
    disabledGlyph_ = disabledGlyph;
    const HWND hwnd = CreateWindowFor(0, kFlatButtonClass, L"", WS_CHILD | WS_VISIBLE, rect.left,
                                      rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                      parent, reinterpret_cast<HMENU>(INT_PTR(id)));
    if (hwnd)
        tooltip_ = CreateToolTip(hwnd, L"");
    return hwnd;
}

void FlatButton::SetHint(const std::wstring& hint) {
    ::SetWindowTextW(Handle(), hint.c_str());
    UpdateToolTip(tooltip_.Get(), Handle(), hint);
}

void FlatButton::SetGlyph(HICON glyph, HICON disabledGlyph) {
    glyph_ = glyph;
    disabledGlyph_ = disabledGlyph;
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void FlatButton::SetBackground(COLORREF color) {
    background_ = color;
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void FlatButton::Paint(HDC dc, const RECT& client) {
    FillSolid(dc, client, background_);
    const bool enabled = ::IsWindowEnabled(Handle());
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const int offset = pressed_ && hot_ ? 1 : 0;
    const HICON picture = enabled ? glyph_ : disabledGlyph_;
    if (picture)
        ::DrawIconEx(dc, client.left + offset, client.top + offset, picture, width, height, 0,
                     nullptr, DI_NORMAL);
    if (enabled && hot_) {
        RECT edge = client;
        ::DrawEdge(dc, &edge, pressed_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
}

void FlatButton::OnMouseMove(POINT at) {
    if (!hot_) {
        // Asks for WM_MOUSELEAVE, which takes the raised edge away again.
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = Handle();
        ::TrackMouseEvent(&track);
    }
    RECT client;
    ::GetClientRect(Handle(), &client);
    const bool inside = ::PtInRect(&client, at) != FALSE;
    if (inside != hot_) {
        hot_ = inside;
        ::InvalidateRect(Handle(), nullptr, FALSE);
    }
}

void FlatButton::OnButtonDown() {
    pressed_ = true;
    hot_ = true;
    ::SetCapture(Handle());
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void FlatButton::OnButtonUp() {
    // A click is a release over the button that was pressed on it.
    const bool click = pressed_ && hot_;
    pressed_ = false;
    if (::GetCapture() == Handle())
        ::ReleaseCapture();
    ::InvalidateRect(Handle(), nullptr, FALSE);
    if (click)
        Click();
}

void FlatButton::Click() {
    const HWND parent = ::GetParent(Handle());
    const int id = ::GetDlgCtrlID(Handle());
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Handle()));
}

LRESULT FlatButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ENABLE:
        hot_ = pressed_ = false;
        ::InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSELEAVE:
        hot_ = false;
        ::InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown();
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp();
        return 0;
    case WM_CAPTURECHANGED:
        pressed_ = false;
        ::InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case BM_CLICK: // lets tests and assistive tools press the button like a standard one
        if (::IsWindowEnabled(Handle()))
            Click();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_BUTTON;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

// ScrollLabel

HWND ScrollLabel::Create(HWND parent, int id, const RECT& rect) {
    RegisterControlClasses();
    return CreateWindowFor(0, kScrollLabelClass, L"", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(INT_PTR(id)));
}

void ScrollLabel::SetBackground(COLORREF color) {
    background_ = color;
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void ScrollLabel::SetFont(HFONT font) {
    font_ = font;
    Measure();
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

std::wstring ScrollLabel::DrawnText() const {
    // A lone CR starts a new line; DrawText wants CR LF for that.
    const std::wstring text = WindowText(Handle());
    const std::u16string drawn =
        CrToCrLf(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
    return std::wstring(drawn.begin(), drawn.end());
}

void ScrollLabel::Measure() {
    RECT client;
    ::GetClientRect(Handle(), &client);
    const UiSize label{client.right, client.bottom};
    UiSize text{0, 0};
    const std::wstring drawn = DrawnText();
    if (!drawn.empty()) {
        WindowDc dc(Handle());
        SelectGuard font(dc.Get(), font_ ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
        RECT box{0, 0, std::max<LONG>(client.right, 1), 0};
        ::DrawTextW(dc.Get(), drawn.c_str(), int(drawn.size()), &box,
                    DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
        text = {box.right - box.left, box.bottom - box.top};
    }
    model_.SetSizes(label, text);
}

void ScrollLabel::Paint(HDC dc, const RECT& client) {
    FillSolid(dc, client, background_);
    const std::wstring drawn = DrawnText();
    if (!drawn.empty()) {
        SelectGuard font(dc, font_ ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
        TextStateGuard state(dc);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        const UiPoint offset = model_.Offset();
        RECT box{client.left + offset.x, client.top + offset.y,
                 client.left + offset.x + std::max(model_.TextSize().width, int(client.right)),
                 client.top + offset.y + model_.TextSize().height};
        ::DrawTextW(dc, drawn.c_str(), int(drawn.size()), &box,
                    DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    }
    // Marks along the edges where text is hidden.
    const COLORREF mark = ::GetSysColor(COLOR_BTNSHADOW);
    if (model_.HiddenAbove())
        FillSolid(dc, RECT{client.left, client.top, client.right, client.top + 2}, mark);
    if (model_.HiddenBelow())
        FillSolid(dc, RECT{client.left, client.bottom - 2, client.right, client.bottom}, mark);
}

LRESULT ScrollLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT: {
        const auto* text = reinterpret_cast<const wchar_t*>(lParam);
        if (WindowText(Handle()) == (text ? text : L""))
            return TRUE; // the same text changes nothing
        const LRESULT result = DefaultProc(message, wParam, lParam);
        model_.SetText(win32::Narrow(text ? text : L""));
        Measure();
        ::InvalidateRect(Handle(), nullptr, FALSE);
        return result;
    }
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wParam));
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SIZE:
        Measure();
        ::InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        model_.BeginDrag({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        ::SetCapture(Handle());
        return 0;
    case WM_MOUSEMOVE:
        if (model_.Dragging() && model_.DragTo({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
            ::InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        model_.EndDrag();
        if (::GetCapture() == Handle())
            ::ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        model_.EndDrag();
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

// LinkLabel

HWND LinkLabel::Create(HWND parent, int id, const RECT& rect, const std::wstring& caption) {
    RegisterControlClasses();
    const HWND hwnd =
        CreateWindowFor(0, kLinkLabelClass, caption.c_str(), WS_CHILD | WS_VISIBLE, rect.left,
                        rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                        reinterpret_cast<HMENU>(INT_PTR(id)));
    if (hwnd)
        tooltip_ = CreateToolTip(hwnd, hint_);
    return hwnd;
}

void LinkLabel::SetFont(HFONT font) {
    font_ = font;
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void LinkLabel::SetHint(const std::wstring& hint) {
    hint_ = hint;
    UpdateToolTip(tooltip_.Get(), Handle(), hint_);
}

void LinkLabel::SetBackground(COLORREF color) {
    background_ = color;
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void LinkLabel::Paint(HDC dc, const RECT& client) {
    FillSolid(dc, client, background_);
    const std::wstring text = WindowText(Handle());
    SelectGuard font(dc, font_ ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
    TextStateGuard state(dc);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_HOTLIGHT));
    RECT box = client;
    ::DrawTextW(dc, text.c_str(), int(text.size()), &box, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT);
}

LRESULT LinkLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT: {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        ::InvalidateRect(Handle(), nullptr, FALSE);
        return result;
    }
    case WM_LBUTTONUP:
    case BM_CLICK:
        if (click_)
            click_();
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

// Panel

Panel::Panel() : background_(::GetSysColor(COLOR_BTNFACE)) {}

HWND Panel::Create(HWND parent, const RECT& rect, DWORD style) {
    RegisterControlClasses();
    return CreateWindowFor(
        WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | style,
        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, nullptr);
}

void Panel::SetBackground(COLORREF color) {
    background_ = color;
    brush_.Reset(::CreateSolidBrush(color));
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

HBRUSH Panel::BackgroundBrush() const {
    return brush_ ? brush_.Get() : ::GetSysColorBrush(COLOR_BTNFACE);
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_DRAWITEM:
        OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_CTLCOLORSTATIC: {
        // Labels on the panel take its colour.
        const auto dc = reinterpret_cast<HDC>(wParam);
        ::SetBkColor(dc, background_);
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(BackgroundBrush());
    }
    case WM_ERASEBKGND: {
        RECT client;
        ::GetClientRect(Handle(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, BackgroundBrush());
        return 1;
    }
    case WM_PRINTCLIENT: {
        RECT client;
        ::GetClientRect(Handle(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, BackgroundBrush());
        return 0;
    }
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

// ForwardingPanel

LRESULT ForwardingPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CONTEXTMENU:
        return target_ ? ::SendMessageW(target_, message, wParam, lParam) : 0;
    default:
        return Panel::HandleMessage(message, wParam, lParam);
    }
}

// FixedTailLabel

HWND FixedTailLabel::Create(HWND parent, int id, std::size_t fixedCount) {
    RegisterControlClasses();
    fixedCount_ = fixedCount;
    return CreateWindowFor(0, kFixedTailLabelClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(INT_PTR(id)));
}

void FixedTailLabel::SetBackground(COLORREF color) {
    background_ = color;
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void FixedTailLabel::Paint(HDC dc, const RECT& client) {
    FillSolid(dc, client, background_);
    const std::wstring text = WindowText(Handle());
    if (text.empty())
        return;
    SelectGuard font(dc, font_ ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
    TextStateGuard state(dc);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc,
                   ::GetSysColor(::IsWindowEnabled(Handle()) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    const auto measure = [dc](std::u16string_view part) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(part.data()), int(part.size()),
                                &size);
        return int(size.cx);
    };
    const std::u16string_view caption(reinterpret_cast<const char16_t*>(text.data()), text.size());
    const FixedTailFit fit =
        FitFixedTail(caption, fixedCount_, client.right - client.left, measure);
    RECT box = client;
    ::DrawTextW(dc, reinterpret_cast<const wchar_t*>(fit.head.c_str()), int(fit.head.size()), &box,
                DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    ::DrawTextW(dc, reinterpret_cast<const wchar_t*>(fit.tail.c_str()), int(fit.tail.size()), &box,
                DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT FixedTailLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT: {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        ::InvalidateRect(Handle(), nullptr, FALSE);
        return result;
    }
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            ::InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_ENABLE:
        ::InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_NCHITTEST:
        return HTTRANSPARENT; // a label: clicks go to what lies beneath, as with a static
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

// WaiterControl

HWND WaiterControl::Create(HWND parent, int id, bool border) {
    RegisterControlClasses();
    border_ = border;
    return CreateWindowFor(0, kWaiterClass, L"", WS_CHILD, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(INT_PTR(id)));
}

void WaiterControl::SetActive(bool active) {
    if (active == active_)
        return;
    active_ = active;
    if (active)
        ::SetTimer(Handle(), kWaiterTimer, WaiterBand::kTickMilliseconds, nullptr);
    else
        ::KillTimer(Handle(), kWaiterTimer);
}

void WaiterControl::Paint(HDC dc, const RECT& client) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    FillSolid(dc, client, face);
    RECT inner = client;
    if (border_)
        ::InflateRect(&inner, -1, -1);
    // The band's colours are handed over as 0x00BBGGRR, which is how COLORREF holds them.
    for (const WaiterBand::Stripe& stripe : band_.Stripes(face, ::GetSysColor(COLOR_GRAYTEXT))) {
        const RECT r{inner.left + stripe.left, inner.top, inner.left + stripe.left + stripe.width,
                     inner.bottom};
        RECT shown;
        if (::IntersectRect(&shown, &r, &inner))
            FillSolid(dc, shown, COLORREF(stripe.color));
    }
    if (border_)
        ::FrameRect(dc, &client, ::GetSysColorBrush(COLOR_BTNSHADOW));
}

LRESULT WaiterControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kWaiterTimer) {
            RECT client;
            ::GetClientRect(Handle(), &client);
            band_.Tick(client.right - client.left - (border_ ? 2 : 0));
            ::InvalidateRect(Handle(), nullptr, FALSE);
        }
        return 0;
    case WM_DESTROY:
        ::KillTimer(Handle(), kWaiterTimer);
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

} // namespace orvan::ui
