#pragma once
// The program's question dialog with Yes, No and Cancel, as the core asks for it. The
// window program shows its modal dialog; tools and tests answer as they are told.
#include <string>

namespace orvan {

enum class DialogAnswer { Yes, No, Cancel };

class QuestionDialogPort {
public:
    virtual ~QuestionDialogPort() = default;
    // Cancel also stands for every other way out (Esc, the close box).
    virtual DialogAnswer AskYesNoCancel(const std::string& title, const std::string& text) = 0;
};

} // namespace orvan
