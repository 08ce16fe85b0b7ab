#include "ui/robot_page.h"

#include "core/robot/robot.h"

namespace orvan::ui {

void RobotPage::Setup(TZel_RobotMemo& memo) {
    RobotClear(memo);
}

int RobotPage::Enter(TZel_RobotMemo& memo, const std::string& line) {
    return RobotExecute(memo, line);
}

std::string RobotPage::Older() {
    return HistoryOlder();
}

std::string RobotPage::Newer() {
    return HistoryNewer();
}

void RobotPage::ScrollNewer(TZel_RobotMemo& memo) {
    memo.SetFromLine(memo.FromLine() - 1);
}

void RobotPage::ScrollOlder(TZel_RobotMemo& memo) {
    memo.SetFromLine(memo.FromLine() + 1);
}

} // namespace orvan::ui
