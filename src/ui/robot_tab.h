#pragma once
// The robot's page of the search window: the conversation display above, the command line
// below. Enter hands the line to the robot, whose answer goes into the display; Up and
// Down recall earlier lines, Ctrl+Up and Ctrl+Down scroll the display.
#include "core/robot/command.h"
#include "ui/robot_view.h"
#include "ui/search_tab.h"

#include <string>

namespace orvan::ui {

namespace RobotId {
constexpr int View = 1020;
constexpr int Edit = 1021;
} // namespace RobotId

class RobotTab final : public SearchTab {
public:
    // `commands` carries out what a robot command asks of the search window.
    explicit RobotTab(CommandPort& commands) : commands_(commands) {}

    HWND CreatePage(HWND pageControl, const TabFonts& fonts) override;
    void Layout(const PagePlacer& place) override;
    void SetFonts(const TabFonts& fonts) override;
    void ApplyColors(COLORREF body) override;
    HWND InputLine() const override { return edit_; }
    bool HandleKey(SearchKeyAction action) override;

    // Clears the display and writes the robot's greeting.
    void Setup();
    // Writes a line into the display after an empty one.
    void WriteLog(const std::string& text);

    RobotMemo& Memo() { return view_.Memo(); }
    HWND Display() const { return view_.Handle(); }
    HWND Edit() const { return edit_; }

private:
    void Enter();
    void SetLine(const std::string& text);

    CommandPort& commands_;
    Panel panel_; // the display's white surround
    RobotView view_;
    HWND edit_ = nullptr;
};

} // namespace orvan::ui
