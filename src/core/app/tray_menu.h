#pragma once
// The main window's tray menu as it is adjusted each time before it opens.
#include <array>

namespace orvan {

// Tags of the tray menu items; one handler dispatches on them.
namespace TrayTag {
constexpr int Show = 0;
constexpr int Hide = 1;
constexpr int Options = 2;
constexpr int Exit = 3;
} // namespace TrayTag

struct TrayMenuItem {
    int tag = 0;
    int captionId = 0; // text table number
    bool visible = true;
    bool enabled = true;
    bool isDefault = false; // drawn bold: what a double-click on the icon would do
};

// The four items in menu order (a separator follows "Hide"). "Show" appears only while the
// search window is hidden and "Hide" only while it is visible; "Options" is greyed while
// the settings dialog is open. Show or Hide, whichever is there, is the default item.
std::array<TrayMenuItem, 4> TrayMenuItems(bool searchVisible, bool settingsVisible);

} // namespace orvan
