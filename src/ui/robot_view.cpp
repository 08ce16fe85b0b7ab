#include "ui/robot_view.h"

#include "ui/gdi.h"
#include "win32/wide_text.h"

#include <algorithm>
#include <cstring>

namespace orvan::ui {

namespace {
constexpr const wchar_t* kRobotClass = L"RobotMemo";
}

void GdiFonts::SetDpi(int dpi) {
    if (dpi == dpi_)
        return;
    dpi_ = dpi;
    fonts_.clear();
}

HFONT GdiFonts::Get(const MemoFont& font) const {
    const Key key{font.name, font.size, font.bold, font.underline};
    auto found = fonts_.find(key);
    if (found == fonts_.end()) {
        const std::wstring face = win32::Wide(font.name);
        found = fonts_
                    .emplace(key, CreatePointFont(face.c_str(), std::max(1, font.size), dpi_,
                                                  font.bold, font.underline))
                    .first;
    }
    return found->second.Get();
}

int GdiFonts::TextWidth(const MemoFont& font, std::string_view text) const {
    if (text.empty())
        return 0;
    if (!measureDc_)
        measureDc_.Reset(::CreateCompatibleDC(nullptr));
    SelectGuard guard(measureDc_.Get(), Get(font));
    const std::wstring wide = win32::Wide(text);
    SIZE size{};
    ::GetTextExtentPoint32W(measureDc_.Get(), wide.c_str(), int(wide.size()), &size);
    return size.cx;
}

COLORREF ResolveMemoColor(MemoColor color) {
    if (IsSystemColor(color))
        return ::GetSysColor(int(color & 0xFF));
    return COLORREF(color);
}

RobotView::RobotView() : Window(Painting::Self), fonts_(kDesignDpi), memo_(fonts_) {}

HWND RobotView::Create(HWND parent, int id, const RECT& rect) {
    static WindowClassRegistration registration =
        RegisterWindowClass(kRobotClass, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    const HWND hwnd = CreateWindowFor(0, kRobotClass, L"", WS_CHILD | WS_VISIBLE, rect.left,
                                      rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                      parent, reinterpret_cast<HMENU>(INT_PTR(id)));
    if (hwnd) {
        memo_.SetClientSize(rect.right - rect.left, rect.bottom - rect.top);
        memo_.SetRepaintHandler([this] {
            if (Handle()) {
                ::InvalidateRect(Handle(), nullptr, FALSE);
                ::UpdateWindow(Handle());
            }
        });
    }
    return hwnd;
}

void RobotView::SetDpi(int dpi) {
    fonts_.SetDpi(dpi);
    memo_.SetLineHeight(ScaleForDpi(13, dpi));
}

std::wstring RobotView::AllText() const {
    std::string text;
    for (const std::string& line : memo_.Lines()) {
        if (!text.empty())
            text += "\r\n";
        text += line;
    }
    return win32::Wide(text);
}

void RobotView::Paint(HDC dc, const RECT&) {
    const MemoPaintPlan plan = memo_.PlanPaint();
    for (const MemoFrame& frame : plan.frames) {
        const RECT r{frame.rect.left, frame.rect.top, frame.rect.right, frame.rect.bottom};
        UniquePen topLeft(::CreatePen(PS_SOLID, 1, ResolveMemoColor(frame.topLeft)));
        UniquePen bottomRight(::CreatePen(PS_SOLID, 1, ResolveMemoColor(frame.bottomRight)));
        {
            SelectGuard pen(dc, topLeft.Get());
            ::MoveToEx(dc, r.left, r.bottom - 1, nullptr);
            ::LineTo(dc, r.left, r.top);
            ::LineTo(dc, r.right - 1, r.top);
        }
        {
            SelectGuard pen(dc, bottomRight.Get());
            ::MoveToEx(dc, r.right - 1, r.top, nullptr);
            ::LineTo(dc, r.right - 1, r.bottom - 1);
            ::LineTo(dc, r.left - 1, r.bottom - 1);
        }
    }
    const COLORREF fill = ResolveMemoColor(plan.fillColor);
    const RECT fillRect{plan.fill.left, plan.fill.top, plan.fill.right, plan.fill.bottom};
    UniqueBrush brush(::CreateSolidBrush(fill));
    ::FillRect(dc, &fillRect, brush.Get());

    TextStateGuard state(dc);
    ::SetBkColor(dc, fill);
    const RECT clip = {plan.textArea.left, plan.textArea.top, plan.textArea.right,
                       plan.textArea.bottom};
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    for (const MemoRow& row : plan.rows)
        for (const MemoRun& run : row.runs) {
            SelectGuard font(dc, fonts_.Get(run.font));
            ::SetTextColor(dc, ResolveMemoColor(run.font.color));
            ::SetBkMode(dc, run.transparent ? TRANSPARENT : OPAQUE);
            const std::wstring text = win32::Wide(run.text);
            ::ExtTextOutW(dc, run.x, run.y, 0, nullptr, text.c_str(), UINT(text.size()), nullptr);
        }
    ::RestoreDC(dc, saved);
}

LRESULT RobotView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        memo_.SetClientSize(LOWORD(lParam), HIWORD(lParam));
        ::InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_GETTEXTLENGTH:
        return LRESULT(AllText().size());
    case WM_GETTEXT: {
        if (wParam == 0 || lParam == 0)
            return 0;
        const std::wstring text = AllText();
        const std::size_t count = std::min<std::size_t>(text.size(), wParam - 1);
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        std::memcpy(buffer, text.data(), count * sizeof(wchar_t));
        buffer[count] = L'\0';
        return LRESULT(count);
    }
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

} // namespace orvan::ui
