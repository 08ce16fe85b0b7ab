#pragma once
// A message-only window on the system's list of clipboard listeners: every time any program
// puts something on the clipboard it reads the text, unless the content is marked private,
// and hands it on. It lives as long as the search window, hidden or shown.
#include "ui/window.h"

#include <functional>
#include <optional>
#include <string>

namespace orvan::ui {

// What the clipboard holds now, as the history needs it: its text (UTF-8, at most a little
// over `limit` bytes, so that a longer text is known as longer) unless a privacy marker is
// present; nothing when it holds no text, is private or cannot be opened.
std::optional<std::string> ReadRecordableClipboardText(HWND owner, std::size_t limit);

class ClipboardListener final : public Window {
public:
    ~ClipboardListener() override;

    // Creates the window and registers it as a listener; false when either fails.
    bool Start(std::function<void(const std::string&)> copied);
    bool Listening() const { return listening_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::function<void(const std::string&)> copied_;
    bool listening_ = false;
};

} // namespace orvan::ui
