#include "core/ui/search_keys.h"

namespace orvan {

using search_layout::Tab;

namespace {

bool ListPage(Tab tab) {
    return tab == Tab::Quick || tab == Tab::Clipboard;
}

bool OnPageList(Tab tab, SearchFocus focus) {
    return ListPage(tab) && (focus == SearchFocus::PageList || focus == SearchFocus::PageFilter);
}

} // namespace

int PinnedSlot(const SearchKeyStroke& key) {
    if (!key.alt || key.ctrl || key.shift || key.virtualKey < VirtualKey::Digit1 ||
        key.virtualKey > VirtualKey::Digit9)
        return 0;
    return int(key.virtualKey - VirtualKey::Digit1) + 1;
}

SearchKeyAction ClassifySearchKey(const SearchKeyStroke& key, Tab activeTab, SearchFocus focus) {
    const bool plain = !key.ctrl && !key.alt;
    if (PinnedSlot(key) != 0)
        return SearchKeyAction::StartPinned;
    switch (key.virtualKey) {
    case VirtualKey::Return:
        if (!plain)
            return SearchKeyAction::PassOn;
        if (activeTab == Tab::Run)
            return SearchKeyAction::RunSelected;
        if (activeTab == Tab::Robot && focus == SearchFocus::RobotEdit)
            return SearchKeyAction::RobotEnter;
        if (OnPageList(activeTab, focus))
            return SearchKeyAction::PageEnter;
        return SearchKeyAction::PassOn;
    case VirtualKey::Delete:
        // In the filter line Delete edits the filter.
        return plain && !key.shift && ListPage(activeTab) && focus == SearchFocus::PageList
                   ? SearchKeyAction::PageDelete
                   : SearchKeyAction::PassOn;
    case VirtualKey::D:
        return key.ctrl && !key.alt && !key.shift && activeTab == Tab::Run
                   ? SearchKeyAction::PinSelected
                   : SearchKeyAction::PassOn;
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
        if (OnPageList(activeTab, focus) && !key.alt) {
            if (key.ctrl)
                return activeTab != Tab::Quick ? SearchKeyAction::Consume
                       : up                    ? SearchKeyAction::PageMoveUp
                                               : SearchKeyAction::PageMoveDown;
            // In the filter line the arrows move the list's selection, as in the input line.
            if (focus == SearchFocus::PageFilter)
                return up ? SearchKeyAction::SelectPrevious : SearchKeyAction::SelectNext;
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
