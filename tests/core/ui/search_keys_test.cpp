#include "core/ui/search_keys.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

using search_layout::Tab;
using K = SearchKeyAction;
namespace VK = VirtualKey;

TEST(SearchKeys, TheKeyTable) {
    struct Case {
        std::uint32_t key;
        bool ctrl, alt, shift;
        Tab tab;
        SearchFocus focus;
        SearchKeyAction action;
    };
    const auto R = SearchFocus::RunEdit;
    const auto B = SearchFocus::RobotEdit;
    const auto O = SearchFocus::Other;
    const auto L = SearchFocus::PageList;
    const auto F = SearchFocus::PageFilter;
    const Case cases[] = {
        // Enter runs the selection on the run tab whatever has the focus.
        {VK::Return, false, false, false, Tab::Run, R, K::RunSelected},
        {VK::Return, false, false, false, Tab::Run, O, K::RunSelected},
        {VK::Return, false, false, false, Tab::Robot, B, K::RobotEnter},
        {VK::Return, false, false, false, Tab::Robot, O, K::PassOn},
        {VK::Return, false, false, false, Tab::Quick, O, K::PassOn},
        {VK::Return, false, false, false, Tab::About, O, K::PassOn},
        // Esc always hides, on every tab.
        {VK::Escape, false, false, false, Tab::Run, R, K::CloseRequest},
        {VK::Escape, false, false, false, Tab::Robot, B, K::CloseRequest},
        {VK::Escape, false, false, false, Tab::About, O, K::CloseRequest},
        // Tab completes only in the input line.
        {VK::Tab, false, false, false, Tab::Run, R, K::Complete},
        {VK::Tab, false, false, false, Tab::Run, O, K::PassOn},
        {VK::Tab, false, false, false, Tab::Robot, B, K::PassOn},
        // Ctrl+Tab and Ctrl+PageDown go to the next page, with Shift or PageUp back; on every
        // page, whatever has the focus.
        {VK::Tab, true, false, false, Tab::Run, R, K::NextTab},
        {VK::Tab, true, false, true, Tab::Robot, B, K::PreviousTab},
        {VK::Tab, true, false, false, Tab::About, O, K::NextTab},
        {VK::Tab, true, true, false, Tab::Run, R, K::PassOn},
        {VK::PageDown, true, false, false, Tab::Run, R, K::NextTab},
        {VK::PageUp, true, false, false, Tab::Robot, B, K::PreviousTab},
        {VK::PageDown, false, false, false, Tab::Run, O, K::PassOn}, // the list box scrolls
        {VK::PageUp, true, false, true, Tab::Run, R, K::PassOn},
        // Ctrl+Backspace on the run tab; plain Backspace is the edit's.
        {VK::Back, true, false, false, Tab::Run, R, K::CutPathComponent},
        {VK::Back, true, false, false, Tab::Run, O, K::CutPathComponent},
        {VK::Back, false, false, false, Tab::Run, R, K::PassOn},
        {VK::Back, true, false, false, Tab::Robot, B, K::PassOn},
        // Up and Down in the input line are always consumed.
        {VK::Up, false, false, false, Tab::Run, R, K::SelectPrevious},
        {VK::Down, false, false, false, Tab::Run, R, K::SelectNext},
        {VK::Down, false, false, true, Tab::Run, R, K::SelectNext},
        {VK::Down, true, false, false, Tab::Run, R, K::HistoryRecall},
        {VK::Up, true, false, false, Tab::Run, R, K::Consume},
        // In the robot's edit line: history without Ctrl, scrolling with it.
        {VK::Up, false, false, false, Tab::Robot, B, K::RobotOlder},
        {VK::Down, false, false, false, Tab::Robot, B, K::RobotNewer},
        {VK::Up, true, false, false, Tab::Robot, B, K::RobotScrollNewer},
        {VK::Down, true, false, false, Tab::Robot, B, K::RobotScrollOlder},
        // Elsewhere (the list box, the tabs) the arrows are the control's.
        {VK::Down, false, false, false, Tab::Run, O, K::PassOn},
        // Menu shortcuts.
        {VK::F12, false, false, false, Tab::Run, R, K::Settings},
        {VK::F12, false, false, false, Tab::About, O, K::Settings},
        {VK::F4, false, true, false, Tab::Run, R, K::CloseCommand},
        {VK::F4, false, true, false, Tab::Robot, B, K::CloseCommand},
        {VK::F4, false, false, false, Tab::Run, R, K::PassOn},
        {VK::F4, true, false, false, Tab::Run, R, K::PassOn},
        // The Quick and Clipboard pages: Enter starts or copies from the list and the filter
        // line, Delete removes only in the list, Ctrl+arrows move pinned entries only.
        {VK::Return, false, false, false, Tab::Quick, L, K::PageEnter},
        {VK::Return, false, false, false, Tab::Clipboard, F, K::PageEnter},
        {VK::Return, true, false, false, Tab::Quick, L, K::PassOn},
        {VK::Return, false, false, false, Tab::Notes, O, K::PassOn}, // a new line in the notes
        {VK::Delete, false, false, false, Tab::Quick, L, K::PageDelete},
        {VK::Delete, false, false, false, Tab::Clipboard, L, K::PageDelete},
        {VK::Delete, false, false, false, Tab::Quick, F, K::PassOn},
        {VK::Delete, false, false, true, Tab::Quick, L, K::PassOn},
        {VK::Delete, false, false, false, Tab::Notes, O, K::PassOn},
        {VK::Delete, false, false, false, Tab::Run, R, K::PassOn},
        {VK::Up, true, false, false, Tab::Quick, L, K::PageMoveUp},
        {VK::Down, true, false, false, Tab::Quick, F, K::PageMoveDown},
        {VK::Down, true, false, false, Tab::Clipboard, L, K::Consume},
        {VK::Down, false, false, false, Tab::Quick, L, K::PassOn}, // the list moves itself
        {VK::Down, false, false, false, Tab::Clipboard, F, K::SelectNext},
        {VK::Up, false, false, false, Tab::Quick, F, K::SelectPrevious},
        // Ctrl+D pins the run tab's row; Alt+1 .. Alt+9 start pinned entries from anywhere.
        {'D', true, false, false, Tab::Run, R, K::PinSelected},
        {'D', true, false, false, Tab::Run, O, K::PinSelected},
        {'D', true, false, false, Tab::Quick, L, K::PassOn},
        {'D', false, false, false, Tab::Run, R, K::PassOn},
        {'D', true, true, false, Tab::Run, R, K::PassOn},
        {'1', false, true, false, Tab::Run, R, K::StartPinned},
        {'9', false, true, false, Tab::Notes, O, K::StartPinned},
        {'5', false, true, false, Tab::Robot, B, K::StartPinned},
        {'0', false, true, false, Tab::Run, R, K::PassOn},
        {'1', true, true, false, Tab::Run, R, K::PassOn}, // AltGr types a character
        {'1', false, false, false, Tab::Run, R, K::PassOn},
        // Ordinary keys reach the control.
        {'A', false, false, false, Tab::Run, R, K::PassOn},
        {0x2D /* Insert */, false, false, false, Tab::Run, R, K::PassOn},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifySearchKey({c.key, c.ctrl, c.alt, c.shift}, c.tab, c.focus), c.action)
            << "key " << c.key << " ctrl " << c.ctrl << " alt " << c.alt << " tab " << int(c.tab)
            << " focus " << int(c.focus);
}

TEST(SearchKeys, AltAndADigitNameThePinnedSlot) {
    struct Case {
        SearchKeyStroke key;
        int slot;
    };
    const Case cases[] = {
        {{'1', false, true, false}, 1},
        {{'9', false, true, false}, 9},
        {{'0', false, true, false}, 0},
        {{'1', false, true, true}, 0},
        {{'1', true, true, false}, 0},
        {{'1', false, false, false}, 0},
        {{0x61 /* numpad 1 */, false, true, false}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PinnedSlot(c.key), c.slot) << c.key.virtualKey;
}

} // namespace
} // namespace orvan
