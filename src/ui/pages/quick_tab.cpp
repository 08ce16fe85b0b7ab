#include "ui/pages/quick_tab.h"

#include "core/base/line_breaks.h"
#include "core/language/language.h"
#include "core/pages/page_layout.h"
#include "core/pages/quick_list.h"
#include "core/search/run_details.h"
#include "ui/icon_cache.h"
#include "ui/pictures.h"
#include "win32/wide_text.h"

#include <algorithm>

namespace orvan::ui {

namespace pages = page_layout;

QuickTab::QuickTab(LaunchServices launch, const OptionsServices& options,
                   std::function<void(const std::string&)> log)
    : launch_(launch), options_(options), log_(std::move(log)) {}

HWND QuickTab::CreatePage(HWND pageControl, const TabFonts& fonts) {
    const HWND page = CreatePanel(pageControl);
    if (!page)
        return nullptr;
    filterLabel_ = CreateChild(L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, page,
                               QuickId::FilterLabel);
    filter_ = CreateChild(L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                          page, QuickId::Filter);
    list_.Create(page, QuickId::List, ScaleForDpi(pages::kRowHeight, fonts.dpi));
    list_.OnTyped([this](wchar_t c) { Typed(c); });
    hint_ = CreateChild(L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, page, QuickId::Hint);
    SetFonts(fonts);
    return page;
}

void QuickTab::SetFonts(const TabFonts& fonts) {
    dpi_ = fonts.dpi;
    font_ = fonts.text;
    for (HWND control : {filterLabel_, filter_, list_.Handle(), hint_})
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.text), TRUE);
    list_.SetRowHeight(ScaleForDpi(pages::kRowHeight, dpi_));
}

void QuickTab::Layout(const PagePlacer& place) {
    MoveTo(filterLabel_, place(pages::kFilterLabel));
    MoveTo(filter_, place(pages::kFilterEdit));
    MoveTo(list_.Handle(), place(pages::kQuickList));
    MoveTo(hint_, place(pages::kQuickHint));
}

void QuickTab::LocalizeCaptions() {
    ::SetWindowTextW(filterLabel_, win32::Wide(Languages::Text(pages::kFilterLabelId)).c_str());
    Refill(); // the hint says whether anything is pinned
}

void QuickTab::Activated() {
    // The first entry is selected whenever the page opens.
    ShowRows(0);
}

void QuickTab::Refill() {
    ShowRows(list_.Selection());
}

std::wstring QuickTab::FilterText() const {
    return WindowText(filter_);
}

void QuickTab::ShowRows(int selected) {
    if (!list_.Handle())
        return;
    const QuickItems& items = CurrentOptions().quick;
    const std::wstring filter = FilterText();
    shown_ = FilterQuickItems(items, win32::Narrow(filter.c_str(), filter.size()));
    std::vector<std::wstring> rows;
    rows.reserve(shown_.size());
    for (const std::size_t i : shown_)
        rows.push_back(win32::Wide(QuickItemName(items[i])));
    list_.SetRows(rows, selected < 0 ? 0 : selected);
    const int hint = items.empty() ? pages::kQuickEmptyId : pages::kQuickHintId;
    ::SetWindowTextW(hint_, win32::Wide(CrToCrLf(Languages::Text(hint))).c_str());
}

// --- commands and keys -------------------------------------------------------------------

void QuickTab::OnCommand(int id, int code, HWND) {
    if (id == QuickId::Filter && code == EN_CHANGE)
        ShowRows(0);
    else if (id == QuickId::List && code == LBN_DBLCLK && list_.Selection() >= 0)
        StartSelected();
}

bool QuickTab::HandleKey(SearchKeyAction action) {
    switch (action) {
    case SearchKeyAction::PageEnter:
        StartSelected();
        return true;
    case SearchKeyAction::PageDelete:
        RemoveSelected();
        return true;
    case SearchKeyAction::PageMoveUp:
    case SearchKeyAction::PageMoveDown:
        MoveSelected(action == SearchKeyAction::PageMoveUp);
        return true;
    case SearchKeyAction::SelectPrevious:
    case SearchKeyAction::SelectNext:
        list_.MoveSelection(action == SearchKeyAction::SelectPrevious);
        return true;
    default:
        return false;
    }
}

void QuickTab::Typed(wchar_t c) {
    TypeIntoFilter(filter_, c); // refills through EN_CHANGE
}

void QuickTab::StartSelected() {
    const int row = list_.Selection();
    if (row < 0 || std::size_t(row) >= shown_.size())
        return;
    const QuickItems& items = CurrentOptions().quick;
    if (shown_[std::size_t(row)] >= items.size())
        return;
    // A copy: starting may apply other options (AutoHide hides the window meanwhile).
    const QuickItem item = items[shown_[std::size_t(row)]];
    ExecuteRunAvailable(QuickRunCandidate(item), CurrentOptions(), launch_);
}

bool QuickTab::StartSlot(int slot) {
    const QuickItems& items = CurrentOptions().quick;
    if (slot < 1 || std::size_t(slot) > items.size())
        return false;
    const QuickItem item = items[std::size_t(slot - 1)];
    ExecuteRunAvailable(QuickRunCandidate(item), CurrentOptions(), launch_);
    return true;
}

void QuickTab::RemoveSelected() {
    const int row = list_.Selection();
    QuickItems& items = CurrentOptions().quick;
    if (row < 0 || std::size_t(row) >= shown_.size() || shown_[std::size_t(row)] >= items.size())
        return;
    items.erase(items.begin() + std::ptrdiff_t(shown_[std::size_t(row)]));
    Save();
    ShowRows(row);
}

void QuickTab::MoveSelected(bool up) {
    const int row = list_.Selection();
    if (row < 0)
        return;
    const std::optional<std::size_t> moved =
        MoveQuickItem(CurrentOptions().quick, shown_, std::size_t(row), up);
    if (!moved)
        return;
    Save();
    ShowRows(int(*moved));
}

void QuickTab::Pin(const std::string& path, const std::string& name) {
    const std::size_t before = CurrentOptions().quick.size();
    const std::size_t at = PinQuickItem(CurrentOptions().quick, path, name);
    if (CurrentOptions().quick.size() != before)
        Save();
    // The filter would hide it: cleared, so that the pinned entry shows selected.
    ::SetWindowTextW(filter_, L"");
    ShowRows(int(at));
}

void QuickTab::Save() {
    if (const FileResult saved = SaveOptions(CurrentOptions(), options_); !saved && log_)
        log_(saved.Error());
}

// --- drawing and icons ------------------------------------------------------------------

void QuickTab::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem != list_.Handle())
        return;
    const QuickItems& items = CurrentOptions().quick;
    std::wstring text;
    HICON icon = nullptr;
    if (item.itemID < shown_.size() && shown_[item.itemID] < items.size()) {
        const QuickItem& entry = items[shown_[item.itemID]];
        text = win32::Wide(QuickItemName(entry));
        // The shell is asked at idle, not while rows are drawn; until then, and for a path
        // the shell has no icon for, the program's own picture of a file or folder shows.
        const CachedIcon cached = PeekFileIcon(entry.path, true, &icon);
        if (cached == CachedIcon::Unknown && !iconTimerOn_)
            iconTimerOn_ = ::SetTimer(Handle(), kQuickIconTimer, 10, nullptr) != 0;
        if (!icon)
            icon = ProgramPictures().MainImage(QuickRunCandidate(entry).kind == RunKind::Folder
                                                   ? RunImage::Folder
                                                   : RunImage::File,
                                               ScaleForDpi(16, dpi_));
    }
    DrawPageRow(item, font_, icon, ScaleForDpi(16, dpi_), text);
}

void QuickTab::OnTimer(UINT_PTR id) {
    if (id != kQuickIconTimer)
        return;
    ::KillTimer(Handle(), kQuickIconTimer);
    iconTimerOn_ = false;
    for (const QuickItem& item : CurrentOptions().quick)
        if (PeekFileIcon(item.path, true) == CachedIcon::Unknown)
            GetFileIcon(item.path, true);
    ::InvalidateRect(list_.Handle(), nullptr, FALSE);
}

} // namespace orvan::ui
