#pragma once
// The robot: a one-line command interpreter that writes its answers into the conversation
// display and hands page switches and the exit request back as command keys. It keeps the
// history of entered lines for recall with Up and Down.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/robot/robot_memo.h"

namespace orvan {

inline constexpr std::string_view RobotVersionLine = "Version 0.9 beta";

// The words answered with "Be proper!".
inline constexpr std::array<std::string_view, 4> ProfaneWords{"damn", "crap", "shit", "fuck"};

// Interprets one entered line, writes the answer to the display and returns a command key
// for ExecuteCommand, or -1 when there is nothing more to do.
int RobotExecute(RobotMemo& memo, std::string_view line);

// Clears the display and writes the banner and the version line.
void RobotClear(RobotMemo& memo);

// The entered lines, newest first, and the position of the line last recalled (-1 while
// not browsing).
const std::vector<std::string>& History();
int HistoryIndex();

// One step towards older lines (Up): the entry, or "" at the oldest one.
std::string HistoryOlder();
// One step towards newer lines (Down): the entry, or "" at the newest one.
std::string HistoryNewer();

// Forgets the history, as at program start.
void ResetRobotHistory();

} // namespace orvan
