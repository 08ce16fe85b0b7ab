#include "ui/pages/clipboard_tab.h"

#include "core/base/file_result.h"
#include "core/language/language.h"
#include "core/pages/page_layout.h"
#include "ui/clipboard.h"
#include "win32/wide_text.h"

#include <algorithm>

namespace orvan::ui {

namespace pages = page_layout;

ClipboardTab::ClipboardTab(const OptionsServices& options, SearchWindowPort* window,
                           std::function<void(const std::string&)> log)
    : options_(options), window_(window), log_(std::move(log)), save_(options.files) {}

ClipboardTab::~ClipboardTab() {
    save_.Wait();
}

HWND ClipboardTab::CreatePage(HWND pageControl, const TabFonts& fonts) {
    const HWND page = CreatePanel(pageControl);
    if (!page)
        return nullptr;
    filterLabel_ = CreateChild(L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, page,
                               ClipboardId::FilterLabel);
    filter_ = CreateChild(L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                          page, ClipboardId::Filter);
    list_.Create(page, ClipboardId::List, ScaleForDpi(pages::kRowHeight, fonts.dpi));
    list_.OnTyped([this](wchar_t c) { Typed(c); });
    keep_ = CreateChild(L"BUTTON", L"", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, page,
                        ClipboardId::Keep);
    clear_ = CreateChild(L"BUTTON", L"", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, page,
                         ClipboardId::Clear);
    hint_ =
        CreateChild(L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, page, ClipboardId::Hint);
    SetFonts(fonts);
    return page;
}

void ClipboardTab::SetFonts(const TabFonts& fonts) {
    dpi_ = fonts.dpi;
    font_ = fonts.text;
    for (HWND control : {filterLabel_, filter_, list_.Handle(), keep_, clear_, hint_})
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.text), TRUE);
    list_.SetRowHeight(ScaleForDpi(pages::kRowHeight, dpi_));
}

void ClipboardTab::Layout(const PagePlacer& place) {
    MoveTo(filterLabel_, place(pages::kFilterLabel));
    MoveTo(filter_, place(pages::kFilterEdit));
    MoveTo(list_.Handle(), place(pages::kClipboardList));
    MoveTo(keep_, place(pages::kClipboardKeep));
    MoveTo(clear_, place(pages::kClipboardClear));
    MoveTo(hint_, place(pages::kClipboardHint));
}

void ClipboardTab::LocalizeCaptions() {
    ::SetWindowTextW(filterLabel_, win32::Wide(Languages::Text(pages::kFilterLabelId)).c_str());
    ::SetWindowTextW(keep_, win32::Wide(Languages::Text(pages::kClipboardKeepId)).c_str());
    ::SetWindowTextW(clear_, win32::Wide(Languages::Text(pages::kClipboardClearId)).c_str());
    ::SetWindowTextW(hint_, win32::Wide(Languages::Text(pages::kClipboardHintId)).c_str());
    ShowRows(list_.Selection()); // the cut mark is a text of the language
}

void ClipboardTab::Activated() {
    ::SendMessageW(keep_, BM_SETCHECK,
                   CurrentOptions().keepClipboardHistory ? BST_CHECKED : BST_UNCHECKED, 0);
    ShowRows(0);
}

void ClipboardTab::Start(const std::string& optionsFileName) {
    fileName_ = ClipboardHistoryFileName(optionsFileName);
    if (CurrentOptions().keepClipboardHistory) {
        ClipboardHistoryLoad loaded = LoadClipboardHistory(options_.files, fileName_);
        history_ = std::move(loaded.history);
        fileBlocked_ = loaded.blocked;
    }
    ::SendMessageW(keep_, BM_SETCHECK,
                   CurrentOptions().keepClipboardHistory ? BST_CHECKED : BST_UNCHECKED, 0);
    ShowRows(0);
    if (!listener_.Start([this](const std::string& text) { Record(text); }) && log_)
        log_("AddClipboardFormatListener failed");
}

void ClipboardTab::Record(const std::string& text) {
    if (!history_.Record(text))
        return;
    // The row that was selected keeps its selection when the new text comes on top.
    const int selected = list_.Selection();
    ShowRows(selected < 0 ? 0 : selected + 1);
    Changed();
}

std::vector<std::wstring> ClipboardTab::RowTexts() const {
    const std::string cutMark = Languages::Text(pages::kClipboardCutMarkId);
    std::vector<std::wstring> rows;
    rows.reserve(shown_.size());
    for (const std::size_t i : shown_)
        rows.push_back(win32::Wide(ClipboardRowText(history_.Entries()[i], cutMark)));
    return rows;
}

void ClipboardTab::ShowRows(int selected) {
    if (!list_.Handle())
        return;
    const std::wstring filter = WindowText(filter_);
    shown_ =
        FilterClipboardEntries(history_.Entries(), win32::Narrow(filter.c_str(), filter.size()));
    rows_ = RowTexts();
    list_.SetRows(rows_, selected < 0 ? 0 : selected);
}

int ClipboardTab::SelectedEntry() const {
    const int row = list_.Selection();
    if (row < 0 || std::size_t(row) >= shown_.size() ||
        shown_[std::size_t(row)] >= history_.Entries().size())
        return -1;
    return int(shown_[std::size_t(row)]);
}

// --- commands and keys -------------------------------------------------------------------

void ClipboardTab::OnCommand(int id, int code, HWND) {
    switch (id) {
    case ClipboardId::Filter:
        if (code == EN_CHANGE)
            ShowRows(0);
        return;
    case ClipboardId::List:
        if (code == LBN_DBLCLK)
            CopySelected();
        return;
    case ClipboardId::Keep:
        if (code == BN_CLICKED)
            KeepChanged();
        return;
    case ClipboardId::Clear:
        if (code == BN_CLICKED)
            ClearHistory();
        return;
    default:
        return;
    }
}

bool ClipboardTab::HandleKey(SearchKeyAction action) {
    switch (action) {
    case SearchKeyAction::PageEnter:
        CopySelected();
        return true;
    case SearchKeyAction::PageDelete:
        RemoveSelected();
        return true;
    case SearchKeyAction::SelectPrevious:
    case SearchKeyAction::SelectNext:
        list_.MoveSelection(action == SearchKeyAction::SelectPrevious);
        return true;
    default:
        return false;
    }
}

void ClipboardTab::Typed(wchar_t c) {
    TypeIntoFilter(filter_, c); // refills through EN_CHANGE
}

void ClipboardTab::CopySelected() {
    const int entry = SelectedEntry();
    if (entry < 0)
        return;
    const std::string text = history_.Entries()[std::size_t(entry)].text;
    DWORD error = 0;
    if (!CopyTextToClipboard(Handle(), win32::Wide(text), &error)) {
        if (log_)
            log_("The clipboard could not be opened (error " + std::to_string(error) + ")");
        return;
    }
    // As the system's own clipboard history does: the user pastes where they were.
    if (window_)
        window_->RequestClose();
}

void ClipboardTab::RemoveSelected() {
    const int entry = SelectedEntry();
    if (entry < 0)
        return;
    const int row = list_.Selection();
    history_.Remove(std::size_t(entry));
    ShowRows(row);
    Changed();
}

void ClipboardTab::ClearHistory() {
    history_.Clear();
    ShowRows(0);
    Changed();
    ::SetFocus(list_.Handle());
}

void ClipboardTab::KeepChanged() {
    const bool keep = ::SendMessageW(keep_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (keep == CurrentOptions().keepClipboardHistory)
        return;
    CurrentOptions().keepClipboardHistory = keep;
    if (const FileResult saved = SaveOptions(CurrentOptions(), options_); !saved && log_)
        log_(saved.Error());
    if (keep) {
        dirty_ = true;
        SaveNow();
    } else if (!fileBlocked_) {
        // Not kept any more: what was kept goes, so that nothing copied stays on the disk.
        ::KillTimer(Handle(), kClipboardSaveTimer);
        save_.Wait();
        options_.fileSystem.RemoveFile(fileName_);
        dirty_ = false;
    }
}

void ClipboardTab::Changed() {
    if (!CurrentOptions().keepClipboardHistory)
        return;
    dirty_ = true;
    ::SetTimer(Handle(), kClipboardSaveTimer, kClipboardSaveQuietMs, nullptr);
}

void ClipboardTab::OnTimer(UINT_PTR id) {
    if (id != kClipboardSaveTimer)
        return;
    ::KillTimer(Handle(), kClipboardSaveTimer);
    SaveNow();
}

void ClipboardTab::SaveNow() {
    if (!dirty_ || fileBlocked_ || fileName_.empty() || !CurrentOptions().keepClipboardHistory)
        return;
    dirty_ = false;
    save_.Save(fileName_, history_.Serialize());
}

void ClipboardTab::Flush() {
    if (Handle())
        ::KillTimer(Handle(), kClipboardSaveTimer);
    SaveNow();
    save_.Wait();
}

// --- drawing ----------------------------------------------------------------------------

void ClipboardTab::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem != list_.Handle())
        return;
    std::wstring text;
    if (item.itemID < rows_.size())
        text = rows_[item.itemID];
    DrawPageRow(item, font_, nullptr, 0, text);
}

} // namespace orvan::ui
