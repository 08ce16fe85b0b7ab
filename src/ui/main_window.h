#pragma once
// TzorMain, the program's main window. It is never shown: it owns the tray icon and its
// menu, receives the global hot key and the messages other processes post to a running
// instance, and ends the program when it closes.
#include "ui/search_window.h"
#include "ui/window.h"

#include <shellapi.h>

#include <functional>

namespace orvan::ui {

// The tray icon's callback message (0x8000 itself belongs to the "-o" request).
inline constexpr UINT kTrayMessage = WM_APP + 1;
inline constexpr UINT_PTR kMainTimer = 1;
inline constexpr UINT kTrayIconId = 1;

class MainWindow final : public Window {
public:
    explicit MainWindow(SearchWindow& search);
    ~MainWindow() override;

    // Creates the hidden window with an empty title; the start-up sets the title later.
    HWND Create();
    void SetTitle(const std::string& title);

    void SetSettingsSlot(SettingsSlot slot) { settings_ = std::move(slot); }
    void SetOpenOptionsPending(bool pending) { openOptionsPending_ = pending; }
    bool OpenOptionsPending() const { return openOptionsPending_; }

    // Whether the icon is in the notification area; it may be wanted and not yet there.
    bool TrayIconVisible() const { return trayVisible_; }
    bool TrayIconWanted() const { return trayWanted_; }
    void ShowTrayIcon(bool visible);

    // The tray menu as it is adjusted before it opens (for the tray click and for tests).
    HMENU PrepareTrayMenu();
    void TrayCommand(int tag);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnTimer();
    void OnTrayNotify(UINT event);
    void OpenOptions();
    void ShowTrayMenu();
    bool AddTrayIcon();
    void RemoveTrayIcon();

    SearchWindow& search_;
    SettingsSlot settings_;
    bool openOptionsPending_ = false;
    bool trayWanted_ = false;  // what the options ask for
    bool trayVisible_ = false; // what the taskbar has
    int applyListener_ = -1;
    UINT taskbarCreated_ = 0;
    UniqueMenu trayMenu_;
};

} // namespace orvan::ui
