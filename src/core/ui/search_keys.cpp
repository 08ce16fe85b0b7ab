#include "core/ui/search_keys.h"

namespace orvan {

using search_layout::Tab;

SearchKeyAction ClassifySearchKey(const SearchKeyStroke& key, Tab activeTab, SearchFocus focus) {
    const bool plain = !key.ctrl && !key.alt;
    switch (key.virtualKey) {
    case VirtualKey::Return:
        if (!plain)
            return SearchKeyAction::PassOn;
        if (activeTab == Tab::Run)
            return SearchKeyAction::RunSelected;
        if (activeTab == Tab::Robot && focus == SearchFocus::RobotEdit)
            return SearchKeyAction::RobotEnter;
        return SearchKeyAction::PassOn;
    case VirtualKey::Escape:
        return SearchKeyAction::CloseRequest;
    case VirtualKey::Tab:
        // Ctrl+Tab switches pages, as in every tabbed window.
        if (key.ctrl && !key.alt)
            return key.shift ? SearchKeyAction::PreviousTab : SearchKeyAction::NextTab;
        return plain && focus == SearchFocus::RunEdit ? SearchKeyAction::Complete
                                                      : SearchKeyAction::PassOn;
    case VirtualKey::Back:
        return key.ctrl && !key.alt && activeTab == Tab::Run ? SearchKeyAction::CutPathComponent
                                                             : SearchKeyAction::PassOn;
    case VirtualKey::Up:
    case VirtualKey::Down: {
        const bool up = key.virtualKey == VirtualKey::Up;
        if (focus == SearchFocus::RunEdit) {
            if (!key.ctrl)
                return up ? SearchKeyAction::SelectPrevious : SearchKeyAction::SelectNext;
            return up || activeTab != Tab::Run ? SearchKeyAction::Consume
                                               : SearchKeyAction::HistoryRecall;
        }
        if (focus == SearchFocus::RobotEdit && activeTab == Tab::Robot) {
            if (key.ctrl)
                return up ? SearchKeyAction::RobotScrollNewer : SearchKeyAction::RobotScrollOlder;
            return up ? SearchKeyAction::RobotOlder : SearchKeyAction::RobotNewer;
        }
        return SearchKeyAction::PassOn;
    }
    case VirtualKey::PageUp:
    case VirtualKey::PageDown:
        if (!key.ctrl || key.alt || key.shift)
            return SearchKeyAction::PassOn;
        return key.virtualKey == VirtualKey::PageDown ? SearchKeyAction::NextTab
                                                      : SearchKeyAction::PreviousTab;
    case VirtualKey::F12:
        return plain && !key.shift ? SearchKeyAction::Settings : SearchKeyAction::PassOn;
    case VirtualKey::F4:
        return key.alt && !key.ctrl && !key.shift ? SearchKeyAction::CloseCommand
                                                  : SearchKeyAction::PassOn;
    default:
        return SearchKeyAction::PassOn;
    }
}

} // namespace orvan
