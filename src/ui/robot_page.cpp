#include "ui/robot_page.h"

#include "core/robot/robot.h"

namespace orvan::ui {

void RobotPage::Setup(RobotMemo& memo) {
    RobotClear(memo);
}

int RobotPage::Enter(RobotMemo& memo, const std::string& line) {
    return RobotExecute(memo, line);
}

std::string RobotPage::Older() {
    return HistoryOlder();
}

std::string RobotPage::Newer() {
    return HistoryNewer();
}

void RobotPage::ScrollNewer(RobotMemo& memo) {
    memo.SetFromLine(memo.FromLine() - 1);
}

void RobotPage::ScrollOlder(RobotMemo& memo) {
    memo.SetFromLine(memo.FromLine() + 1);
}

} // namespace orvan::ui
