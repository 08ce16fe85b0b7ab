#pragma once
// The program's file dialogs: the common save dialog as the details window uses it.
#include <windows.h>

#include <string>

namespace orvan::ui {

// Shows the save dialog with a proposed file name, a title, a filter of descriptions and
// patterns separated by "|" (with "Any file (*.*)" appended when asked) and a default
// extension. It hides the read-only box, asks before creating a file that does not exist,
// can be resized and does not ask before replacing one. True when the user confirmed a
// file, whose name then replaces `fileName`; otherwise `fileName` stays as it was.
bool ExecuteSaveDialog(HWND owner, std::string& fileName, const std::string& title,
                       bool addAllFiles, const std::string& filter,
                       const std::string& defaultExtension);

} // namespace orvan::ui
