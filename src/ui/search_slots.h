#pragma once
// The attachment points of the search window: the run page (details area, Tab,
// Ctrl+Backspace, starting and history recall), the robot page, the details command and
// the settings command. The window calls them where its algorithms say so; an empty slot
// does nothing.
#include "core/robot/robot_memo.h"
#include "core/search/run_available.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace orvan::ui {

// What the details area shows.
struct DetailsArea {
    int image = 0;               // an image of ilMain
    std::string iconPath;        // when not empty: the large icon of this file instead of image
    std::string text;            // lines separated by CR
    bool buttonsEnabled = false; // the details and run buttons
    bool timerOn = false;        // the 500 ms refresh
};

// The run page as its handler sees it.
class RunPageAccess {
public:
    virtual ~RunPageAccess() = default;
    virtual std::u16string InputText() const = 0;
    // The caret in UTF-16 code units.
    virtual std::size_t Caret() const = 0;
    // Puts a text into the input line (which rebuilds the list) with the caret at `caret`
    // and nothing selected.
    virtual void SetInput(const std::u16string& text, std::size_t caret) = 0;
    virtual const RunAvailableList& Candidates() const = 0;
    virtual std::optional<std::size_t> SelectedRow() const = 0;
    virtual void ShowDetails(const DetailsArea& area) = 0;
    // Whether the shell has a large icon for the file (asked through the icon cache).
    virtual bool HasLargeIcon(const std::string& path) = 0;
};

class RunPageHandler {
public:
    virtual ~RunPageHandler() = default;
    virtual void UpdateRunDetails(RunPageAccess& page) = 0;
    virtual void Complete(RunPageAccess& page) = 0;         // Tab
    virtual void CutPathComponent(RunPageAccess& page) = 0; // Ctrl+Backspace
    // Starts the selected candidate; true when the input line is to be cleared.
    virtual bool RunSelected(RunPageAccess& page) = 0;
    virtual void RecallHistory(RunPageAccess& page) = 0; // Ctrl+Down
};

class RobotPageHandler {
public:
    virtual ~RobotPageHandler() = default;
    virtual void Setup(RobotMemo& memo) = 0;
    // A line entered with Enter; returns a command key for the dispatcher, or -1.
    virtual int Enter(RobotMemo& memo, const std::string& line) = 0;
    virtual std::string Older() = 0;               // Up: the line to show
    virtual std::string Newer() = 0;               // Down
    virtual void ScrollNewer(RobotMemo& memo) = 0; // Ctrl+Up
    virtual void ScrollOlder(RobotMemo& memo) = 0; // Ctrl+Down
};

// The details command: shows the details window with the details text and picture.
struct DetailsSlot {
    std::function<void(const std::string& text, HICON picture)> show;
    std::function<bool()> visible; // whether the details window exists and is visible
};

// The settings command: the modal settings dialog.
struct SettingsSlot {
    std::function<void()> show;
    std::function<bool()> visible;
};

} // namespace orvan::ui
