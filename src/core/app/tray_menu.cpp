#include "core/app/tray_menu.h"

namespace orvan {

std::array<TrayMenuItem, 4> TrayMenuItems(bool searchVisible, bool settingsVisible) {
    return {{
        {TrayTag::Show, 1000005, !searchVisible, true, !searchVisible},
        {TrayTag::Hide, 1000004, searchVisible, true, searchVisible},
        {TrayTag::Options, 9000000, true, !settingsVisible},
        {TrayTag::Exit, 1000001, true, true},
    }};
}

} // namespace orvan
