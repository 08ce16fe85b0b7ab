// Feeds arbitrary lines to the robot on a display of arbitrary width and paints it: no
// input may crash, hang or leave a display line wider than the rule allows.
#include "core/base/random.h"
#include "core/base/utf.h"
#include "core/expression/expression.h"
#include "core/ports/clock.h"
#include "core/robot/robot.h"
#include "core/robot/robot_memo.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

class FixedClock final : public orvan::ClockPort {
public:
    double Now() const override { return 45000.5; }
};

// Characters of varying width, so that blanks, cuts and the one-character rule all occur.
class VaryingWidthMeasure final : public orvan::TextMeasurePort {
public:
    int TextWidth(const orvan::MemoFont& font, std::string_view text) const override {
        int width = 0;
        for (std::size_t pos = 0; pos < text.size();) {
            const char32_t c = orvan::DecodeUtf8(text, pos);
            width += 1 + static_cast<int>(c % 3) + (font.bold ? 1 : 0);
        }
        return width;
    }
};

int CharCount(std::string_view text) {
    int count = 0;
    for (std::size_t pos = 0; pos < text.size(); ++count)
        orvan::DecodeUtf8(text, pos);
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FixedClock clock;
    orvan::SetCurrentClock(&clock);
    // The engine and the robot keep state between inputs in the program; here every input
    // starts afresh so that a finding can be replayed on its own.
    orvan::ExpressionEngine().Functions.clear();
    orvan::ResetRobotHistory();
    orvan::ProgramRandom().SetState(0);

    if (size == 0)
        return 0;
    const VaryingWidthMeasure measure;
    orvan::RobotMemo memo(measure);
    const int width = data[0] & 0x7F;
    memo.SetClientSize(width, 1 + (data[0] >> 4) * 13);
    memo.SetBorderStyle((data[0] & 0x80) != 0 ? orvan::MemoBorderStyle::Single
                                              : orvan::MemoBorderStyle::None);
    orvan::RobotClear(memo);

    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    std::size_t start = 0;
    while (start <= input.size()) {
        std::size_t end = input.find('\n', start);
        if (end == std::string_view::npos)
            end = input.size();
        orvan::RobotExecute(memo, input.substr(start, end - start));
        start = end + 1;
    }
    orvan::HistoryOlder();
    orvan::HistoryNewer();

    const int textWidth = width - (memo.BorderStyle() == orvan::MemoBorderStyle::Single ? 6 : 0);
    for (const std::string& line : memo.Lines()) {
        if (CharCount(line) > 1 && measure.TextWidth(memo.Font(), line) >= textWidth)
            __builtin_trap();
    }
    memo.SetFromLine(static_cast<int>(memo.Lines().size() / 2));
    const orvan::MemoPaintPlan plan = memo.PlanPaint();
    if (plan.rows.size() > memo.Lines().size())
        __builtin_trap();
    return 0;
}
