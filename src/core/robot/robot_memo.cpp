#include "core/robot/robot_memo.h"

#include <algorithm>

#include "core/base/utf.h"

namespace orvan {
namespace {

MemoRect Inset(MemoRect rect, int dx, int dy) {
    return {rect.left + dx, rect.top + dy, rect.right - dx, rect.bottom - dy};
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Byte length of the character starting at pos (an invalid byte counts as one character).
std::size_t CharLength(std::string_view text, std::size_t pos) {
    std::size_t next = pos;
    DecodeUtf8(text, next);
    return next - pos;
}

} // namespace

void RobotMemo::SetFromLine(int value) {
    if (value == fromLine_ || value < 0 || static_cast<std::size_t>(value) >= lines_.size())
        return;
    fromLine_ = value;
    Repaint();
}

void RobotMemo::SetLineHeight(int value) {
    if (value == lineHeight_ || value <= 0)
        return;
    lineHeight_ = value;
    Repaint();
}

void RobotMemo::SetBorderStyle(MemoBorderStyle value) {
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    Repaint();
}

void RobotMemo::SetBackgroundColor(MemoColor value) {
    if (value == backgrounColor_)
        return;
    backgrounColor_ = value;
    Repaint();
}

void RobotMemo::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
}

void RobotMemo::Repaint() const {
    if (repaint_)
        repaint_();
}

void RobotMemo::AddLine(std::string_view text) {
    const int width = clientWidth_ - (borderStyle_ == MemoBorderStyle::Single ? 6 : 0);
    std::string_view rest = text;
    do {
        // Grow the prefix one character at a time until it reaches the width, noting the
        // last blank on the way.
        std::size_t end = 0;
        std::size_t lastStart = 0; // where the last character of the prefix starts
        std::size_t lastBlank = std::string_view::npos;
        bool reached = false;
        while (end < rest.size()) {
            if (rest[end] == ' ')
                lastBlank = end;
            lastStart = end;
            end += CharLength(rest, end);
            if (measure_.TextWidth(font_, rest.substr(0, end)) >= width) {
                reached = true;
                break;
            }
        }
        if (!reached) {
            lines_.emplace_back(rest);
            break;
        }
        std::size_t take = 0; // bytes that go on the line
        std::size_t drop = 0; // bytes removed from the text
        if (lastBlank != std::string_view::npos) {
            // Break at the blank and drop it.
            take = lastBlank;
            drop = lastBlank + 1;
        } else {
            // A word wider than the display is cut before the character that reached the
            // width; when the first character alone does, it goes on a line of its own so
            // that wrapping always makes progress.
            take = lastStart > 0 ? lastStart : end;
            drop = take;
        }
        lines_.emplace_back(rest.substr(0, take));
        rest.remove_prefix(drop);
    } while (!rest.empty());
    fromLine_ = 0;
    Repaint();
}

MemoPaintPlan RobotMemo::PlanPaint() const {
    MemoPaintPlan plan;
    const MemoRect client{0, 0, clientWidth_, clientHeight_};
    const bool single = borderStyle_ == MemoBorderStyle::Single;
    plan.fill = client;
    if (single) {
        plan.frames.push_back(
            {client, SystemColor(kSysColorBtnShadow), SystemColor(kSysColorWindow)});
        plan.frames.push_back(
            {Inset(client, 1, 1), SystemColor(kSysColorWindowText), SystemColor(kSysColorBtnFace)});
        plan.fill = Inset(client, 2, 2);
    }
    plan.fillColor = backgrounColor_;
    plan.textArea = single ? Inset(client, 3, 4) : client;
    plan.textArea = Inset(plan.textArea, borderSize_, borderSize_);
    if (lines_.empty())
        return plan;

    // Font codes of formatted lines stay in force for the rest of the pass.
    MemoFont font = font_;
    const auto count = static_cast<long long>(lines_.size());
    long long rows = std::max(0, plan.textArea.Height()) / lineHeight_;
    rows = std::min(rows, count - fromLine_);
    int y = plan.textArea.bottom - lineHeight_;
    for (long long k = fromLine_; k < fromLine_ + rows; ++k) {
        const auto index = static_cast<std::size_t>(count - 1 - k);
        const std::string& line = lines_[index];
        MemoRow row;
        row.line = index;
        row.y = y;
        if (!line.empty() && line.front() == '.') {
            PlanFormattedLine(line, plan.textArea.left, y, font, row);
        } else if (!line.empty()) {
            row.runs.push_back({plan.textArea.left, y, line, font, false});
        }
        plan.rows.push_back(std::move(row));
        y -= lineHeight_;
    }
    return plan;
}

void RobotMemo::PlanFormattedLine(std::string_view line, int left, int y, MemoFont& font,
                                  MemoRow& row) const {
    int x = left;
    bool firstDrawn = true;
    int runEnd = 0; // where the last run ends, to extend it while nothing moves X
    const auto draw = [&](std::string_view ch) {
        const bool transparent = !firstDrawn;
        firstDrawn = false;
        MemoRun* last = row.runs.empty() ? nullptr : &row.runs.back();
        if (last != nullptr && last->font == font && last->transparent == transparent &&
            runEnd == x) {
            last->text.append(ch);
        } else {
            row.runs.push_back({x, y, std::string(ch), font, transparent});
        }
        x += measure_.TextWidth(font, ch);
        runEnd = x;
    };
    const auto digitsAt = [&](std::size_t pos, std::size_t n) {
        if (pos + n > line.size())
            return false;
        return std::all_of(line.begin() + static_cast<std::ptrdiff_t>(pos),
                           line.begin() + static_cast<std::ptrdiff_t>(pos + n), IsDigit);
    };
    const auto number = [&](std::size_t pos, std::size_t n) {
        int value = 0;
        for (std::size_t i = 0; i < n; ++i)
            value = value * 10 + (line[pos + i] - '0');
        return value;
    };

    std::size_t pos = 1; // past the "."
    while (pos < line.size()) {
        if (line[pos] == '#' && pos + 1 < line.size()) {
            const char code = line[pos + 1];
            const std::size_t arg = pos + 2;
            bool done = true;
            switch (code) {
            case 'A':
            case 'B':
            case 'U':
                if (arg < line.size()) {
                    if (code == 'B')
                        font.bold = line[arg] != '0';
                    else if (code == 'U')
                        font.underline = line[arg] != '0';
                    pos = arg + CharLength(line, arg);
                } else {
                    done = false;
                }
                break;
            case 'C':
            case 'S':
                if (digitsAt(arg, 1)) {
                    if (code == 'C')
                        font.color = RichColors[static_cast<std::size_t>(line[arg] - '0')];
                    else
                        font.size = line[arg] - '0';
                    pos = arg + 1;
                } else {
                    done = false;
                }
                break;
            case 'X':
            case 'T':
                if (digitsAt(arg, 3)) {
                    // "#X" is a position on the control itself, not within the text area.
                    x = code == 'X' ? number(arg, 3) : x + number(arg, 3);
                    pos = arg + 3;
                } else {
                    done = false;
                }
                break;
            default:
                // Any other character after "#": the "#" is dropped and the character
                // is taken as it comes.
                ++pos;
                break;
            }
            if (done)
                continue;
            // A code without its argument is drawn as it stands, starting with the "#".
        }
        const std::size_t length = CharLength(line, pos);
        draw(line.substr(pos, length));
        pos += length;
    }
}

} // namespace orvan
