#pragma once
// The program's message dialog as the core asks for it: a title and a text that may hold
// CR line breaks. The window program shows its modal dialog; tools and tests record.
#include <string>

namespace orvan {

class MessageDialogPort {
public:
    virtual ~MessageDialogPort() = default;
    virtual void ShowMessageDialog(const std::string& title, const std::string& text) = 0;
};

} // namespace orvan
