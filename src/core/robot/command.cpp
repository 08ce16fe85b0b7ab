#include "core/robot/command.h"

#include <string>

#include "core/base/utf.h"

namespace orvan {

const std::array<Command, kCommandTableSize> CommandTable{{
    {kCommandExit, 0, "sc_Exit", 0, 0},
    {kCommandNone, 0, "", 0, 0},
    {10, 0, "sc_Home", 0, 0},
    {11, 0, "sc_Quick", 0, 0},
    {12, 0, "sc_Note", 0, 0},
    {13, 0, "sc_Clipboard", 0, 0},
    {14, 0, "sc_Robot", 0, 0},
    {kCommandAbout, 0, "sc_About", 0, 0},
}};

int CommandByName(std::string_view name) {
    const std::string wanted = Lower(name);
    for (const Command& command : CommandTable)
        if (Lower(command.Name) == wanted)
            return command.Key;
    return -1;
}

void ExecuteCommand(CommandPort& port, int key) noexcept {
    try {
        if (!port.SearchWindowVisible())
            return;
        if (key == kCommandExit)
            port.Terminate();
        else if (key >= kCommandFirstPage && key <= kCommandLastPage)
            port.ShowPage(key - kCommandFirstPage);
    } catch (...) {
        // A failing page switch or shutdown leaves the window as it is; the command is
        // simply not carried out.
    }
}

} // namespace orvan
