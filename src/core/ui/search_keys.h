#pragma once
// The search window's key table: which key press the window takes before the focused
// control sees it, and what it does with it.
#include "core/ui/search_layout.h"
#include "core/ui/virtual_keys.h"

#include <cstdint>

namespace orvan {

enum class SearchFocus { RunEdit, RobotEdit, Other };

struct SearchKeyStroke {
    std::uint32_t virtualKey = 0;
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
};

enum class SearchKeyAction {
    PassOn,           // not the window's: the focused control gets the key
    Consume,          // taken, nothing happens (Up and Down that cannot move, Ctrl+Up)
    RunSelected,      // Enter on the run tab
    RobotEnter,       // Enter in the robot's edit line
    CloseRequest,     // Esc: hides the window
    Complete,         // Tab in the input line
    CutPathComponent, // Ctrl+Backspace on the run tab
    HistoryRecall,    // Ctrl+Down in the input line
    SelectPrevious,   // Up in the input line
    SelectNext,       // Down in the input line
    RobotOlder,       // Up in the robot's edit line
    RobotNewer,       // Down in the robot's edit line
    RobotScrollNewer, // Ctrl+Up in the robot's edit line
    RobotScrollOlder, // Ctrl+Down in the robot's edit line
    Settings,         // F12
    CloseCommand,     // Alt+F4: save and end
    NextTab,          // Ctrl+Tab, Ctrl+PageDown: the next page, after the last the first
    PreviousTab,      // Ctrl+Shift+Tab, Ctrl+PageUp
};

SearchKeyAction ClassifySearchKey(const SearchKeyStroke& key, search_layout::Tab activeTab,
                                  SearchFocus focus);

} // namespace orvan
