#pragma once
// The robot's conversation display as a model: a list of lines anchored at the bottom, the
// newest on the lowest row, wrapped to the width when added. Lines that begin with "." are
// formatted: "#" codes switch bold, underline, colour, size and position while they are
// drawn. The model measures text through a port and hands the window code a painting plan,
// so the window code only turns the plan into drawing calls.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvan {

// A colour as the window code resolves it: an RGB value 0x00BBGGRR, or a system colour,
// which is the system colour index with the high bit set.
using MemoColor = std::uint32_t;

constexpr MemoColor RgbColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return MemoColor(r) | MemoColor(g) << 8 | MemoColor(b) << 16;
}
constexpr MemoColor SystemColor(int index) {
    return 0x80000000u | MemoColor(index);
}
constexpr bool IsSystemColor(MemoColor color) {
    return (color & 0x80000000u) != 0;
}

// The system colour indexes the display uses (the numbering of GetSysColor).
inline constexpr int kSysColorWindow = 5;
inline constexpr int kSysColorWindowText = 8;
inline constexpr int kSysColorBtnFace = 15;
inline constexpr int kSysColorBtnShadow = 16;

// The colours of "#C0" to "#C9".
inline constexpr std::array<MemoColor, 10> RichColors{
    RgbColor(0, 0, 0),   RgbColor(255, 255, 255), RgbColor(255, 0, 0), RgbColor(0, 128, 0),
    RgbColor(0, 0, 255), RgbColor(0, 255, 255),   RgbColor(0, 0, 128), RgbColor(255, 255, 0),
    RgbColor(0, 255, 0), RgbColor(192, 192, 192),
};

struct MemoFont {
    std::string name = "Tahoma";
    int size = 8; // points
    bool bold = false;
    bool underline = false;
    MemoColor color = SystemColor(kSysColorWindowText);

    bool operator==(const MemoFont&) const = default;
};

// Measures text as the window will draw it.
class TextMeasurePort {
public:
    virtual ~TextMeasurePort() = default;
    // The width in pixels of the text drawn on one line in the font.
    virtual int TextWidth(const MemoFont& font, std::string_view text) const = 0;
};

enum class MemoBorderStyle { None, Single };

struct MemoRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const MemoRect&) const = default;
};

// A one-pixel 3-D frame: one colour on the top and left edges, another on the bottom and
// right edges.
struct MemoFrame {
    MemoRect rect;
    MemoColor topLeft = 0;
    MemoColor bottomRight = 0;
};

// Text drawn with one call at (x, y), the top left corner of the text.
struct MemoRun {
    int x = 0;
    int y = 0;
    std::string text;
    MemoFont font;
    // The first character of a line is drawn on an opaque background, the rest
    // transparently.
    bool transparent = false;
};

struct MemoRow {
    std::size_t line = 0; // index into Lines
    int y = 0;
    std::vector<MemoRun> runs; // empty for an empty line
};

struct MemoPaintPlan {
    std::vector<MemoFrame> frames; // drawn in this order, outer first
    MemoRect fill;                 // filled with fillColor
    MemoColor fillColor = 0;
    MemoRect textArea;
    std::vector<MemoRow> rows; // in drawing order: the lowest row first
};

class RobotMemo {
public:
    // The port must outlive the display.
    explicit RobotMemo(const TextMeasurePort& measure) : measure_(measure) {}

    const std::vector<std::string>& Lines() const { return lines_; }

    // The number of newest lines skipped at the bottom; only 0 to Lines().size() - 1 are
    // accepted, other values are ignored.
    int FromLine() const { return fromLine_; }
    void SetFromLine(int value);

    // Only values above 0 are accepted.
    int LineHeight() const { return lineHeight_; }
    void SetLineHeight(int value);

    MemoBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(MemoBorderStyle value);

    int BorderSize() const { return borderSize_; }
    void SetBorderSize(int value) { borderSize_ = value; }

    MemoColor BackgrounColor() const { return backgrounColor_; }
    void SetBackgroundColor(MemoColor value);

    const MemoFont& Font() const { return font_; }
    void SetFont(const MemoFont& font) { font_ = font; }

    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    // Lines already added keep their wrapping.
    void SetClientSize(int width, int height);

    // Called whenever the display must be repainted at once.
    void SetRepaintHandler(std::function<void()> handler) { repaint_ = std::move(handler); }

    // Appends the text wrapped into as many lines as it needs (an empty text adds one empty
    // line), shows the newest line again and repaints.
    void AddLine(std::string_view text);
    void AddEmptyLine() { AddLine({}); }
    // Removes every line without repainting; the next AddLine repaints.
    void Clear() { lines_.clear(); }

    // What a paint of the whole client area draws.
    MemoPaintPlan PlanPaint() const;

private:
    void Repaint() const;
    void PlanFormattedLine(std::string_view line, int left, int y, MemoFont& font,
                           MemoRow& row) const;

    const TextMeasurePort& measure_;
    std::vector<std::string> lines_;
    int fromLine_ = 0;
    int lineHeight_ = 13;
    MemoBorderStyle borderStyle_ = MemoBorderStyle::None;
    int borderSize_ = 0;
    MemoColor backgrounColor_ = SystemColor(kSysColorBtnFace);
    MemoFont font_;
    int clientWidth_ = 50;
    int clientHeight_ = 50;
    std::function<void()> repaint_;
};

} // namespace orvan
