#include "ui/list_view.h"

#include "win32/wide_text.h"

#include <vsstyle.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace orvan::ui {

namespace {

constexpr const wchar_t* kListViewClass = L"TZel_ListView";

// Timers count whole milliseconds: the repeat of 86.4 ms runs every 86.
constexpr UINT kScrollRepeatMsRounded = UINT(kScrollRepeatMs);

// One off-screen bitmap for every grid, grown to the largest client area asked for: the
// grids draw into it and copy it to the screen in one step.
class GridCanvas {
public:
    GridCanvas() = default;
    ~GridCanvas() {
        if (dc_ && old_)
            ::SelectObject(dc_.Get(), old_);
    }
    GridCanvas(const GridCanvas&) = delete;
    GridCanvas& operator=(const GridCanvas&) = delete;

    // A memory DC at least width by height, or nullptr when the system has no memory left.
    HDC Get(HDC target, int width, int height) {
        if (dc_ && width <= width_ && height <= height_)
            return dc_.Get();
        if (!dc_) {
            dc_.Reset(::CreateCompatibleDC(target));
            if (!dc_)
                return nullptr;
        }
        const int w = std::max(width, width_);
        const int h = std::max(height, height_);
        UniqueBitmap bitmap(::CreateCompatibleBitmap(target, w, h));
        if (!bitmap)
            return nullptr;
        const HGDIOBJ previous = ::SelectObject(dc_.Get(), bitmap.Get());
        if (!old_)
            old_ = previous; // the DC's own bitmap, put back at the end
        bitmap_ = std::move(bitmap);
        width_ = w;
        height_ = h;
        return dc_.Get();
    }

private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

GridCanvas& SharedCanvas() {
    static GridCanvas canvas;
    return canvas;
}

RECT ToWinRect(const UiRect& r) {
    return RECT{r.left, r.top, r.Right(), r.Bottom()};
}

void Fill(HDC dc, const UiRect& rect, COLORREF color) {
    const RECT r = ToWinRect(rect);
    const COLORREF old = ::SetBkColor(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

// The sort column's cells: the window colour a shade darker.
COLORREF Shaded(COLORREF color) {
    auto shade = [](BYTE c) { return BYTE(c - c / 16); };
    return RGB(shade(GetRValue(color)), shade(GetGValue(color)), shade(GetBValue(color)));
}

UINT AlignFlag(ColumnAlignment alignment) {
    switch (alignment) {
    case ColumnAlignment::Center:
        return DT_CENTER;
    case ColumnAlignment::Right:
        return DT_RIGHT;
    default:
        return DT_LEFT;
    }
}

void DrawCellText(HDC dc, const std::string& text, const UiRect& rect, UINT align) {
    if (text.empty() || rect.width <= 0)
        return;
    const std::wstring wide = win32::Wide(text);
    RECT r = ToWinRect(rect);
    ::DrawTextW(dc, wide.c_str(), int(wide.size()), &r,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | align);
}

// A small filled triangle pointing up or down inside rect.
void DrawTriangle(HDC dc, const UiRect& rect, bool up, COLORREF color) {
    if (rect.width <= 0 || rect.height <= 0)
        return;
    const int half = rect.width / 2;
    POINT points[3];
    if (up) {
        points[0] = {rect.left, rect.Bottom() - 1};
        points[1] = {rect.left + 2 * half, rect.Bottom() - 1};
        points[2] = {rect.left + half, rect.Bottom() - 1 - half};
    } else {
        points[0] = {rect.left, rect.top};
        points[1] = {rect.left + 2 * half, rect.top};
        points[2] = {rect.left + half, rect.top + half};
    }
    UniqueBrush brush(::CreateSolidBrush(color));
    UniquePen pen(::CreatePen(PS_SOLID, 1, color));
    SelectGuard brushGuard(dc, brush.Get());
    SelectGuard penGuard(dc, pen.Get());
    ::Polygon(dc, points, 3);
}

void DrawRaised(HDC dc, const UiRect& rect, bool pressed) {
    Fill(dc, rect, ::GetSysColor(COLOR_BTNFACE));
    RECT r = ToWinRect(rect);
    ::DrawEdge(dc, &r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
}

void DrawFlatCheckBox(HDC dc, const UiRect& rect, CheckState state) {
    RECT r = ToWinRect(rect);
    UINT flags = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (state == CheckState::Checked)
        flags |= DFCS_CHECKED;
    else if (state == CheckState::Mixed)
        flags = DFCS_BUTTON3STATE | DFCS_CHECKED | DFCS_FLAT; // ticked and greyed
    ::DrawFrameControl(dc, &r, DFC_BUTTON, flags);
}

} // namespace

// The themed check box costs far more than the rest of a row (under Wine the theme's image
// is scaled and blended each time), so each look is drawn once into a bitmap of its own,
// on the background it sits on, and copied from there.
class CheckBoxImages {
public:
    // False when the theme could not draw it.
    bool Draw(HDC target, HTHEME theme, const UiRect& rect, CheckState state, COLORREF background) {
        Image* image = Find(state, background, rect.width, rect.height);
        if (!image) {
            if (images_.size() >= kMaxImages)
                images_.clear();
            image = Make(target, theme, state, background, rect.width, rect.height);
            if (!image)
                return false;
        }
        return ::BitBlt(target, rect.left, rect.top, rect.width, rect.height, image->dc.Get(), 0, 0,
                        SRCCOPY) != FALSE;
    }
    void Clear() { images_.clear(); }

private:
    static constexpr std::size_t kMaxImages = 16;
    struct Image {
        CheckState state;
        COLORREF background;
        int width;
        int height;
        UniqueBitmap bitmap; // goes after the DC that holds it
        UniqueMemoryDc dc;
    };

    Image* Find(CheckState state, COLORREF background, int width, int height) {
        for (Image& image : images_)
            if (image.state == state && image.background == background && image.width == width &&
                image.height == height)
                return &image;
        return nullptr;
    }

    Image* Make(HDC target, HTHEME theme, CheckState state, COLORREF background, int width,
                int height) {
        if (width <= 0 || height <= 0)
            return nullptr;
        Image image{state, background, width, height, {}, {}};
        image.dc.Reset(::CreateCompatibleDC(target));
        image.bitmap.Reset(::CreateCompatibleBitmap(target, width, height));
        if (!image.dc || !image.bitmap)
            return nullptr;
        ::SelectObject(image.dc.Get(), image.bitmap.Get());
        Fill(image.dc.Get(), {0, 0, width, height}, background);
        RECT r{0, 0, width, height};
        const int part = state == CheckState::Checked ? CBS_CHECKEDNORMAL
                         : state == CheckState::Mixed ? CBS_MIXEDNORMAL
                                                      : CBS_UNCHECKEDNORMAL;
        if (FAILED(::DrawThemeBackground(theme, image.dc.Get(), BP_CHECKBOX, part, &r, nullptr)))
            return nullptr;
        images_.push_back(std::move(image));
        return &images_.back();
    }

    std::vector<Image> images_;
};

namespace {

void DrawScrollBar(HDC dc, const ListViewScrollBarPlan& bar) {
    const ScrollBarGeometry& g = bar.geometry;
    Fill(dc, g.track, ::GetSysColor(COLOR_SCROLLBAR));
    auto pressedPage = [&](ScrollBarPart part, const UiRect& area) {
        if (bar.pressed == part && area.height > 0)
            Fill(dc, area, ::GetSysColor(COLOR_3DDKSHADOW));
    };
    pressedPage(ScrollBarPart::PageUp,
                {g.track.left, g.track.top, g.track.width, g.thumb.top - g.track.top});
    pressedPage(ScrollBarPart::PageDown, {g.track.left, g.thumb.Bottom(), g.track.width,
                                          g.track.Bottom() - g.thumb.Bottom()});
    RECT up = ToWinRect(g.upArrow);
    RECT down = ToWinRect(g.downArrow);
    ::DrawFrameControl(dc, &up, DFC_SCROLL,
                       DFCS_SCROLLUP | (bar.pressed == ScrollBarPart::UpArrow ? DFCS_PUSHED : 0));
    ::DrawFrameControl(dc, &down, DFC_SCROLL,
                       DFCS_SCROLLDOWN |
                           (bar.pressed == ScrollBarPart::DownArrow ? DFCS_PUSHED : 0));
    if (g.thumb.height > 0) {
        Fill(dc, g.thumb, ::GetSysColor(COLOR_BTNFACE));
        RECT thumb = ToWinRect(g.thumb);
        ::DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
    }
}

void DrawSearchBox(HDC dc, const ListViewSearchBoxPlan& box) {
    Fill(dc, box.rect, ::GetSysColor(COLOR_INFOBK));
    RECT frame = ToWinRect(box.rect);
    ::FrameRect(dc, &frame, ::GetSysColorBrush(COLOR_WINDOWFRAME));
    UiRect text{box.rect.left + 3, box.rect.top, std::max(box.rect.width - 6, 0), box.rect.height};
    ::SetTextColor(dc, ::GetSysColor(COLOR_INFOTEXT));
    const std::wstring typed = win32::Wide(box.typed);
    RECT typedRect = ToWinRect(text);
    ::DrawTextW(dc, typed.c_str(), int(typed.size()), &typedRect,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_CALCRECT);
    const int typedWidth = std::min<int>(typedRect.right - typedRect.left, text.width);
    DrawCellText(dc, box.typed, {text.left, text.top, typedWidth, text.height}, DT_LEFT);
    // The row found, after the typed text and greyed, as much of it as fits.
    ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    const int gap = 6;
    DrawCellText(dc, box.foundText,
                 {text.left + typedWidth + gap, text.top,
                  std::max(text.width - typedWidth - gap, 0), text.height},
                 DT_LEFT);
}

unsigned ShiftFromKeys(WPARAM keys) {
    unsigned shift = 0;
    if (keys & MK_SHIFT)
        shift |= ShiftState::Shift;
    if (keys & MK_CONTROL)
        shift |= ShiftState::Ctrl;
    if (keys & MK_LBUTTON)
        shift |= ShiftState::Left;
    if (keys & MK_RBUTTON)
        shift |= ShiftState::Right;
    if (keys & MK_MBUTTON)
        shift |= ShiftState::Middle;
    if (::GetKeyState(VK_MENU) < 0)
        shift |= ShiftState::Alt;
    return shift;
}

POINT ToScreen(HWND window, POINT at) {
    ::ClientToScreen(window, &at);
    return at;
}

} // namespace

ListView::ListView() : checkImages_(std::make_unique<CheckBoxImages>()) {
    model_.SetRepaintHandler([this] {
        if (Handle())
            ::InvalidateRect(Handle(), nullptr, FALSE);
    });
    model_.SetOnRowChange([this] { RowChanged(); });
}

ListView::~ListView() {
    if (accessible_) {
        DisconnectGridAccessible(accessible_);
        accessible_->Release();
        accessible_ = nullptr;
    }
}

HWND ListView::Create(HWND parent, int id, const RECT& rect) {
    static WindowClassRegistration registration =
        RegisterWindowClass(kListViewClass, CS_DBLCLKS, nullptr, nullptr);
    const HWND hwnd = CreateWindowFor(
        0, kListViewClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, rect.left,
        rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
        reinterpret_cast<HMENU>(INT_PTR(id)));
    if (!hwnd)
        return nullptr;
    SetDpi(WindowDpi(hwnd), nullptr);
    OpenTheme();
    RECT client;
    ::GetClientRect(hwnd, &client);
    model_.SetClientSize(client.right, client.bottom);
    return hwnd;
}

void ListView::SetDpi(int dpi, HFONT font) {
    dpi_ = dpi;
    if (font) {
        font_ = font;
        ownFont_.Reset();
    } else if (!font_ || ownFont_) {
        ownFont_ = CreatePointFont(L"Tahoma", 8, dpi_);
        font_ = ownFont_.Get();
    }
    model_.SetMetrics(ListViewMetrics::ForDpi(dpi_));
    checkImages_->Clear();
}

void ListView::OpenTheme() {
    checkImages_->Clear();
    buttonTheme_.Reset(::IsThemeActive() ? ::OpenThemeData(Handle(), L"BUTTON") : nullptr);
}

void ListView::SelectRow(int row) {
    if (row < 0 || row >= model_.ItemsCount())
        return;
    model_.FocusRow(row);
    RowChanged();
}

void ListView::ToggleCheck(int row, int column) {
    model_.ToggleCheckCell(row, column);
}

void ListView::RowChanged() {
    // Screen readers follow the focused row. The model knows whether the grid has the
    // focus: asking the system costs a server call under Wine, once per added row.
    if (Handle() && model_.HasFocus() && !model_.Updating() && model_.ItemIsSelected())
        ::NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT,
                         LONG(model_.ItemFocusedRow() + 1));
    if (rowChange_)
        rowChange_();
}

// --- messages ---------------------------------------------------------------------------

LRESULT ListView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_PRINTCLIENT: {
        RECT client;
        ::GetClientRect(Handle(), &client);
        Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // the paint covers everything
    case WM_SIZE:
        model_.SetClientSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        ownFont_.Reset();
        if (LOWORD(lParam))
            ::InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SETFOCUS:
        model_.SetHasFocus(true);
        RowChanged();
        return 0;
    case WM_KILLFOCUS:
        model_.SetHasFocus(false);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(MouseButton::Left, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, wParam,
                     message == WM_LBUTTONDBLCLK);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        OnButtonDown(MouseButton::Right, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, wParam,
                     message == WM_RBUTTONDBLCLK);
        return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        OnButtonDown(MouseButton::Middle, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, wParam,
                     message == WM_MBUTTONDBLCLK);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(MouseButton::Left, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_RBUTTONUP: // the menu opened on the press; no WM_CONTEXTMENU from here
        OnButtonUp(MouseButton::Right, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MBUTTONUP:
        OnButtonUp(MouseButton::Middle, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEMOVE:
        model_.MouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != Handle())
            OnCaptureLost();
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && OnSetCursor())
            return TRUE;
        return DefaultProc(message, wParam, lParam);
    case WM_MOUSEWHEEL:
        OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(UINT(wParam));
        return 0;
    case WM_CHAR:
        OnChar(wchar_t(wParam));
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenuKey({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_GETDLGCODE:
        return OnGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_GETOBJECT:
        return OnGetObject(wParam, lParam);
    case WM_GETTEXTLENGTH:
        return LRESULT(win32::Wide(ListViewText(model_)).size());
    case WM_GETTEXT:
        return OnGetText(std::size_t(wParam), reinterpret_cast<wchar_t*>(lParam));
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
        OpenTheme();
        ::InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_DESTROY:
        StopMouse();
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

void ListView::OnFinalMessage() {
    if (accessible_) {
        DisconnectGridAccessible(accessible_);
        accessible_->Release();
        accessible_ = nullptr;
    }
}

// --- painting ---------------------------------------------------------------------------

void ListView::OnPaint() {
    PaintDc paint(Handle());
    RECT client;
    ::GetClientRect(Handle(), &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0)
        return;
    const HDC canvas = SharedCanvas().Get(paint.Get(), width, height);
    if (!canvas) { // no memory for the bitmap: draw straight to the screen
        Paint(paint.Get(), client);
        return;
    }
    Paint(canvas, client);
    ::BitBlt(paint.Get(), 0, 0, width, height, canvas, 0, 0, SRCCOPY);
}

void ListView::Paint(HDC dc, const RECT& client) {
    const ListViewPaintPlan plan = model_.PlanPaint();
    TextStateGuard textState(dc);
    SelectGuard font(dc, font_ ? static_cast<HGDIOBJ>(font_) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    Fill(dc, {0, 0, client.right, client.bottom}, ::GetSysColor(COLOR_WINDOW));

    // The header: its cells, the empty rest, the column chooser.
    if (plan.header.height > 0) {
        DrawRaised(dc, plan.header, false);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
        for (const ListViewHeaderCellPlan& cell : plan.headerCells) {
            if (cell.rect.width <= 0)
                continue;
            DrawRaised(dc, cell.rect, cell.pressed);
            if (cell.arrow != SortArrow::None) {
                // The sorted state: the cell a shade darker, the arrow at its right end.
                Fill(dc,
                     {cell.rect.left + 1, cell.rect.top + 1, cell.rect.width - 2,
                      cell.rect.height - 2},
                     Shaded(::GetSysColor(COLOR_BTNFACE)));
                DrawTriangle(dc, cell.arrowRect, cell.arrow == SortArrow::Ascending,
                             ::GetSysColor(COLOR_BTNSHADOW));
            }
            UiRect text = cell.textRect;
            if (cell.pressed)
                text.left += 1;
            DrawCellText(dc, cell.caption, text, AlignFlag(cell.alignment));
        }
        DrawRaised(dc, plan.chooserButton, plan.chooserPressed);
        const int glyph = std::max(plan.chooserButton.width / 3, 3);
        DrawTriangle(dc,
                     {plan.chooserButton.left + (plan.chooserButton.width - glyph) / 2,
                      plan.chooserButton.top + (plan.chooserButton.height - glyph / 2) / 2, glyph,
                      glyph},
                     false, ::GetSysColor(COLOR_BTNTEXT));
    }

    // The rows, clipped to their area.
    {
        const int saved = ::SaveDC(dc);
        ::IntersectClipRect(dc, plan.rowsArea.left, plan.rowsArea.top, plan.rowsArea.Right(),
                            plan.rowsArea.Bottom());
        const COLORREF shaded = Shaded(::GetSysColor(COLOR_WINDOW));
        for (const ListViewRowPlan& row : plan.rows) {
            if (row.background != ListViewColor::Window)
                Fill(dc, row.rect, ::GetSysColor(row.background));
            ::SetTextColor(dc, ::GetSysColor(row.textColor));
            for (const ListViewCellPlan& cell : row.cells) {
                if (cell.shaded)
                    Fill(dc, cell.rect, shaded);
                if (cell.kind == ColumnKind::CheckBox) {
                    const COLORREF background =
                        cell.shaded ? shaded : ::GetSysColor(row.background);
                    if (!buttonTheme_ || !checkImages_->Draw(dc, buttonTheme_.Get(), cell.checkRect,
                                                             cell.check, background))
                        DrawFlatCheckBox(dc, cell.checkRect, cell.check);
                } else
                    DrawCellText(dc, cell.text, cell.textRect, AlignFlag(cell.alignment));
            }
            if (row.focusRect) {
                RECT focus = ToWinRect(row.rect);
                ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
                ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
                ::DrawFocusRect(dc, &focus);
            }
        }
        ::RestoreDC(dc, saved);
    }

    if (plan.scrollBar)
        DrawScrollBar(dc, *plan.scrollBar);
    if (plan.searchBox)
        DrawSearchBox(dc, *plan.searchBox);
    if (plan.border) {
        RECT frame = ToWinRect(plan.client);
        ::FrameRect(dc, &frame, ::GetSysColorBrush(COLOR_BTNSHADOW));
    }
}

// --- mouse ------------------------------------------------------------------------------

void ListView::OnButtonDown(MouseButton button, POINT at, WPARAM keys, bool doubleClick) {
    if (::GetFocus() != Handle())
        ::SetFocus(Handle());
    const unsigned shift = ShiftFromKeys(keys) | (doubleClick ? ShiftState::Double : 0);
    const ListViewRequest request = model_.MouseDown(button, {at.x, at.y}, shift);
    ApplyRequest(request, at);
    if (doubleClick && button == MouseButton::Left)
        model_.DoubleClick({at.x, at.y});
}

void ListView::ApplyRequest(ListViewRequest request, POINT at) {
    switch (request) {
    case ListViewRequest::CaptureMouse:
        ::SetCapture(Handle());
        break;
    case ListViewRequest::StartScrollRepeat:
        ::SetCapture(Handle());
        ::SetTimer(Handle(), kScrollRepeatTimer, kScrollRepeatMsRounded, nullptr);
        break;
    case ListViewRequest::PopupMenu:
        ::UpdateWindow(Handle()); // the menu opens over the repainted grid
        if (contextMenu_)
            contextMenu_(ToScreen(Handle(), at));
        break;
    case ListViewRequest::ColumnChooser:
        ShowColumnChooser(ToScreen(Handle(), at));
        break;
    case ListViewRequest::ClickEnterMenuItem:
        if (enterMenuItem_)
            enterMenuItem_();
        break;
    case ListViewRequest::None:
        break;
    }
}

void ListView::OnButtonUp(MouseButton button, POINT at) {
    const ListViewRequest request = model_.MouseUp(button, {at.x, at.y});
    if (button == MouseButton::Left)
        StopMouse();
    ApplyRequest(request, at);
}

void ListView::StopMouse() {
    if (!Handle())
        return;
    ::KillTimer(Handle(), kScrollRepeatTimer);
    if (::GetCapture() == Handle())
        ::ReleaseCapture();
}

void ListView::OnCaptureLost() {
    // Another window took the mouse (a menu, a dialog): whatever was held ends without
    // acting, as a release far outside the grid would.
    ::KillTimer(Handle(), kScrollRepeatTimer);
    model_.MouseUp(MouseButton::Left, {-0x4000, -0x4000});
}

bool ListView::OnSetCursor() {
    POINT at;
    ::GetCursorPos(&at);
    ::ScreenToClient(Handle(), &at);
    const bool split = model_.CursorAt({at.x, at.y}) == ListViewCursor::SizeWE;
    ::SetCursor(::LoadCursorW(nullptr, split ? IDC_SIZEWE : IDC_ARROW));
    return true;
}

void ListView::OnMouseWheel(int delta) {
    wheelRest_ += delta;
    while (wheelRest_ >= WHEEL_DELTA) {
        model_.MouseWheel(true);
        wheelRest_ -= WHEEL_DELTA;
    }
    while (wheelRest_ <= -WHEEL_DELTA) {
        model_.MouseWheel(false);
        wheelRest_ += WHEEL_DELTA;
    }
}

void ListView::OnTimer(UINT_PTR id) {
    if (id != kScrollRepeatTimer)
        return;
    POINT at;
    ::GetCursorPos(&at);
    ::ScreenToClient(Handle(), &at);
    model_.RepeatScroll({at.x, at.y});
}

void ListView::ShowColumnChooser(POINT screen) {
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu)
        return;
    const std::vector<ColumnChooserItem> items = model_.ColumnChooserItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::wstring caption = win32::Wide(items[i].caption);
        UINT flags = MF_STRING;
        if (items[i].checked)
            flags |= MF_CHECKED;
        if (!items[i].enabled)
            flags |= MF_GRAYED;
        ::AppendMenuW(menu.Get(), flags, UINT_PTR(i + 1), caption.c_str());
    }
    const UINT chosen = UINT(::TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                              screen.y, 0, Handle(), nullptr));
    if (chosen > 0)
        model_.ToggleColumnVisible(int(chosen) - 1);
}

void ListView::OnContextMenuKey(POINT at) {
    if (!contextMenu_)
        return;
    if (at.x == -1 && at.y == -1) {
        // From the keyboard: below the focused row, or at the grid's corner.
        const UiRect row = model_.RowRect(model_.ItemFocusedRow());
        POINT corner{row.height > 0 ? row.left + 8 : 8,
                     row.height > 0 ? row.Bottom() : model_.RowsArea().top};
        at = ToScreen(Handle(), corner);
    }
    contextMenu_(at);
}

// --- keys -------------------------------------------------------------------------------

LRESULT ListView::OnGetDlgCode(const MSG* message) const {
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (message && message->message == WM_KEYDOWN) {
        // Esc ends a search before it may close the window; Enter is the grid's own when
        // it runs a row or a menu item.
        if (message->wParam == VK_ESCAPE && model_.SearchActive())
            code |= DLGC_WANTMESSAGE;
        if (message->wParam == VK_RETURN && (wantsEnter_ || enterMenuItem_))
            code |= DLGC_WANTMESSAGE;
    }
    return code;
}

void ListView::OnKeyDown(UINT key) {
    ListViewKeyStroke stroke;
    stroke.virtualKey = key;
    stroke.ctrl = ::GetKeyState(VK_CONTROL) < 0;
    ApplyRequest(model_.KeyDown(stroke), {0, 0});
}

void ListView::OnChar(wchar_t unit) {
    char32_t character = unit;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        highSurrogate_ = unit; // the character comes whole with the next message
        return;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
        if (!highSurrogate_)
            return;
        character = 0x10000 + ((char32_t(highSurrogate_) - 0xD800) << 10) + (unit - 0xDC00);
    }
    highSurrogate_ = 0;
    model_.KeyChar(character);
}

// --- text and accessibility -------------------------------------------------------------

LRESULT ListView::OnGetText(std::size_t size, wchar_t* buffer) const {
    if (!buffer || size == 0)
        return 0;
    const std::wstring text = win32::Wide(ListViewText(model_));
    const std::size_t count = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), count * sizeof(wchar_t));
    buffer[count] = L'\0';
    return LRESULT(count);
}

LRESULT ListView::OnGetObject(WPARAM flags, LPARAM objectId) {
    if (LONG(objectId) != LONG(OBJID_CLIENT))
        return DefaultProc(WM_GETOBJECT, flags, objectId);
    if (!accessible_)
        accessible_ = CreateGridAccessible(*this);
    const LRESULT result = ::LresultFromObject(IID_IAccessible, flags, accessible_);
    if (SUCCEEDED(HRESULT(result)))
        return result;
    // Without a registered proxy for IAccessible (Wine has none) the interface cannot be
    // marshalled, but IUnknown can, and clients ask it for IAccessible.
    return ::LresultFromObject(IID_IUnknown, flags, accessible_);
}

} // namespace orvan::ui
