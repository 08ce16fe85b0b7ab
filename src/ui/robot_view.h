#pragma once
// RobotMemo as a window: the conversation display's model measured and painted with
// GDI. It has no scroll bar; the robot's edit line scrolls it through FromLine.
#include "core/robot/robot_memo.h"
#include "core/ui/layout.h"
#include "ui/window.h"

#include <map>
#include <string>
#include <tuple>

namespace orvan::ui {

// Measures and draws text in the fonts the display's plan names, at one DPI.
class GdiFonts final : public TextMeasurePort {
public:
    explicit GdiFonts(int dpi) : dpi_(dpi) {}
    void SetDpi(int dpi);
    HFONT Get(const MemoFont& font) const;
    int TextWidth(const MemoFont& font, std::string_view text) const override;

private:
    using Key = std::tuple<std::string, int, bool, bool>;
    int dpi_;
    mutable std::map<Key, UniqueFont> fonts_;
    mutable UniqueMemoryDc measureDc_;
};

COLORREF ResolveMemoColor(MemoColor color);

class RobotView : public Window {
public:
    RobotView();
    HWND Create(HWND parent, int id, const RECT& rect);

    RobotMemo& Memo() { return memo_; }
    const RobotMemo& Memo() const { return memo_; }
    void SetDpi(int dpi);
    // All lines as one text, CR LF between them, as WM_GETTEXT answers.
    std::wstring AllText() const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The plan covers the whole client area.
    void Paint(HDC dc, const RECT& client) override;

private:
    GdiFonts fonts_;
    RobotMemo memo_;
};

} // namespace orvan::ui
