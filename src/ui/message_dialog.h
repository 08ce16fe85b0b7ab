#pragma once
// The program's message dialog (one OK button) and question dialogs (Yes and No, and Yes,
// No and Cancel), shown modally and released at once. Titles and texts are UTF-8; a CR
// in the text starts a new line.
#include "core/ports/message_dialog.h"

#include <windows.h>

#include <string>

namespace orvan::ui {

inline constexpr int kResultYes = IDYES;       // 6
inline constexpr int kResultNo = IDNO;         // 7
inline constexpr int kResultCancel = IDCANCEL; // 2

void ShowMessageDialog(const std::string& title, const std::string& text);
// True only for Yes; No, the close box and every other way out give false.
bool AskYesNo(const std::string& title, const std::string& text);
// 6 Yes, 7 No, 2 Cancel (also the close box).
int AskYesNoCancel(const std::string& title, const std::string& text);

// The dialogs behind the core's message port.
class Win32MessageDialogs final : public MessageDialogPort {
public:
    void ShowMessageDialog(const std::string& title, const std::string& text) override;
};

// The window class name of the dialogs, for tests and tools that look for them.
inline constexpr const wchar_t* kDialogClassName = L"#32770";

} // namespace orvan::ui
