#pragma once
#include "core/base/utf.h"
#include "core/robot/robot_memo.h"

namespace orvan::test {

// Every character is `unit` pixels wide, twice that in bold, so that tests can see which
// font a width was measured with.
class FixedWidthMeasure final : public TextMeasurePort {
public:
    explicit FixedWidthMeasure(int unit = 1) : unit_(unit) {}

    int TextWidth(const MemoFont& font, std::string_view text) const override {
        ++calls;
        int count = 0;
        for (std::size_t pos = 0; pos < text.size(); ++count)
            DecodeUtf8(text, pos);
        return count * unit_ * (font.bold ? 2 : 1);
    }

    mutable int calls = 0;

private:
    int unit_;
};

} // namespace orvan::test
