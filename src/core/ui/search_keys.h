#pragma once
// The search window's key table: which key press the window takes before the focused
// control sees it, and what it does with it.
#include "core/ui/search_layout.h"
#include "core/ui/virtual_keys.h"

#include <cstdint>

namespace orvan {

// PageList and PageFilter: the list, or the filter line above it, of the Quick or the
// Clipboard page.
enum class SearchFocus { RunEdit, RobotEdit, PageList, PageFilter, Other };

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
    PageEnter,        // Enter on the Quick or Clipboard page: start or copy the selected row
    PageDelete,       // Delete in the Quick or Clipboard page's list: remove the row
    PageMoveUp,       // Ctrl+Up on the Quick page: move the pinned entry up
    PageMoveDown,     // Ctrl+Down on the Quick page
    PinSelected,      // Ctrl+D on the run tab: pin the selected row to the Quick page
    StartPinned,      // Alt+1 .. Alt+9 on any page: start that pinned entry (PinnedSlot)
};

SearchKeyAction ClassifySearchKey(const SearchKeyStroke& key, search_layout::Tab activeTab,
                                  SearchFocus focus);

// The pinned entry (1 to 9) a StartPinned key stands for; 0 for any other key.
int PinnedSlot(const SearchKeyStroke& key);

} // namespace orvan
