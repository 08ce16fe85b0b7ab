#include "ui/robot_tab.h"

#include "core/robot/robot.h"
#include "core/ui/search_layout.h"
#include "win32/wide_text.h"

namespace orvan::ui {

namespace layout = search_layout;

HWND RobotTab::CreatePage(HWND pageControl, const TabFonts& fonts) {
    const HWND page = CreatePanel(pageControl);
    if (!page)
        return nullptr;
    panel_.Create(page, RECT{}, WS_VISIBLE);
    panel_.SetBackground(::GetSysColor(COLOR_WINDOW));
    view_.Create(panel_.Handle(), RobotId::View, RECT{});
    edit_ = CreateChild(L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                        page, RobotId::Edit);
    SetFonts(fonts);
    return page;
}

void RobotTab::SetFonts(const TabFonts& fonts) {
    ::SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.text), TRUE);
    view_.SetDpi(fonts.dpi);
    Memo().SetLineHeight(ScaleForDpi(layout::kRobotLineHeight, fonts.dpi));
}

void RobotTab::Layout(const PagePlacer& place) {
    MoveTo(panel_.Handle(), place(layout::kRobotPanel));
    RECT inside;
    ::GetClientRect(panel_.Handle(), &inside);
    MoveTo(view_.Handle(), inside);
    MoveTo(edit_, place(layout::kRobotEdit));
}

void RobotTab::ApplyColors(COLORREF body) {
    SetBackground(body);
    Memo().SetBackgroundColor(MemoColor(body));
}

bool RobotTab::HandleKey(SearchKeyAction action) {
    switch (action) {
    case SearchKeyAction::RobotEnter:
        Enter();
        return true;
    case SearchKeyAction::RobotOlder:
        SetLine(HistoryOlder());
        return true;
    case SearchKeyAction::RobotNewer:
        SetLine(HistoryNewer());
        return true;
    case SearchKeyAction::RobotScrollNewer:
        Memo().SetFromLine(Memo().FromLine() - 1);
        return true;
    case SearchKeyAction::RobotScrollOlder:
        Memo().SetFromLine(Memo().FromLine() + 1);
        return true;
    default:
        return false;
    }
}

void RobotTab::Setup() {
    RobotClear(Memo());
}

void RobotTab::WriteLog(const std::string& text) {
    Memo().AddEmptyLine();
    Memo().AddLine(text);
}

void RobotTab::Enter() {
    const std::wstring line = WindowText(edit_);
    const int key = RobotExecute(Memo(), win32::Narrow(line.c_str(), line.size()));
    if (key >= 0)
        ExecuteCommand(commands_, key);
    ::SetWindowTextW(edit_, L"");
}

void RobotTab::SetLine(const std::string& text) {
    ::SetWindowTextW(edit_, win32::Wide(text).c_str());
    ::SendMessageW(edit_, EM_SETSEL, 0, -1);
}

} // namespace orvan::ui
