#pragma once
// The message loop of the program's own modal windows (the settings dialog, the catalog
// path editor and the details window), which are ordinary windows rather than dialog
// templates: the owner is disabled while the window is up, the window's keys are taken
// before its controls see them, Tab, Enter and Esc work as in a dialog, and every other
// window keeps getting its messages (the main window's hot key and timer, the tray icon).
// The same handling serves the message processing that a catalog rebuild runs once per
// folder.
#include <windows.h>

#include <functional>

namespace orvan::ui {

class ModalLoop {
public:
    // Keys for the modal window or its controls, offered before the dialog navigation;
    // true when the key was consumed.
    using KeyHandler = std::function<bool(const MSG& message)>;

    ModalLoop(HWND window, KeyHandler keys) : window_(window), keys_(std::move(keys)) {}

    // Shows the window over `owner` (disabled meanwhile) and handles messages until `done`
    // answers true or the quit message comes. Returns false on quit; the quit message is
    // then posted again when the window is down, so that the loops further out end too.
    bool Run(HWND owner, const std::function<bool()>& done);
    // Handles every waiting message; false once the quit message came (remembered, so
    // that Run ends).
    bool Pump();
    bool QuitSeen() const { return quit_; }

    // One message as the loop handles it.
    void Dispatch(MSG& message);

private:
    HWND window_;
    KeyHandler keys_;
    bool quit_ = false;
    int exitCode_ = 0;
};

} // namespace orvan::ui
