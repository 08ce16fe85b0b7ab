#pragma once
// The robot page of the search window: the robot's set-up, Enter, the history keys and the
// scrolling of the conversation display.
#include "ui/search_slots.h"

namespace orvan::ui {

class RobotPage final : public RobotPageHandler {
public:
    void Setup(RobotMemo& memo) override;
    int Enter(RobotMemo& memo, const std::string& line) override;
    std::string Older() override;
    std::string Newer() override;
    void ScrollNewer(RobotMemo& memo) override;
    void ScrollOlder(RobotMemo& memo) override;
};

} // namespace orvan::ui
