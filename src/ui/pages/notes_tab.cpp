#include "ui/pages/notes_tab.h"

#include "core/base/file_result.h"
#include "core/base/utf.h"
#include "core/language/language.h"
#include "core/pages/page_layout.h"
#include "win32/wide_text.h"

#include <commctrl.h>

namespace orvan::ui {

namespace pages = page_layout;

namespace {

// Posted by the saving thread after each write, wParam saying whether it succeeded.
constexpr UINT kSaveDoneMessage = WM_APP + 1;
constexpr UINT_PTR kEditSubclassId = 1;

} // namespace

NotesTab::NotesTab(const FileStorePort& files)
    : files_(files), save_(files, [this](const std::string&, bool ok) {
          // The saving thread: only a posted message reaches the page.
          if (Handle())
              ::PostMessageW(Handle(), kSaveDoneMessage, ok, 0);
      }) {}

NotesTab::~NotesTab() {
    if (edit_ && ::IsWindow(edit_))
        ::RemoveWindowSubclass(edit_, EditProc, kEditSubclassId);
    save_.Wait();
}

LRESULT CALLBACK NotesTab::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR data) {
    const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
    // A multi-line edit sends no EN_CHANGE for WM_SETTEXT; a text set by another program
    // (an accessibility tool, a script) is written all the same.
    if (message == WM_SETTEXT && result)
        reinterpret_cast<NotesTab*>(data)->Edited();
    return result;
}

void NotesTab::Edited() {
    if (loading_ || !Handle())
        return;
    // Each keystroke starts the quiet time again.
    ::SetTimer(Handle(), kNotesSaveTimer, kNotesQuietMs, nullptr);
}

HWND NotesTab::CreatePage(HWND pageControl, const TabFonts& fonts) {
    const HWND page = CreatePanel(pageControl);
    if (!page)
        return nullptr;
    reason_ = CreateChild(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, page, NotesId::Reason);
    edit_ = CreateChild(L"EDIT", L"",
                        WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                            ES_WANTRETURN | ES_NOHIDESEL,
                        WS_EX_CLIENTEDGE, page, NotesId::Edit);
    ::SendMessageW(edit_, EM_SETLIMITTEXT, WPARAM(kNotesEditLimit), 0);
    ::SetWindowSubclass(edit_, EditProc, kEditSubclassId, reinterpret_cast<DWORD_PTR>(this));
    SetFonts(fonts);
    return page;
}

void NotesTab::SetFonts(const TabFonts& fonts) {
    ::SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.text), TRUE);
    ::SendMessageW(reason_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.text), TRUE);
}

void NotesTab::Layout(const PagePlacer& place) {
    place_ = place;
    const bool reason = ::IsWindowVisible(reason_) != FALSE;
    MoveTo(reason_, place(pages::kNotesReason));
    MoveTo(edit_, place(reason ? pages::kNotesEditBelowReason : pages::kNotesEdit));
}

void NotesTab::LocalizeCaptions() {
    ShowReason();
}

void NotesTab::Load(const std::string& optionsFileName) {
    fileName_ = NotesFileName(optionsFileName);
    const NotesContent content = LoadNotes(files_, fileName_);
    rules_.emplace(content);
    saveFailed_ = false;
    loading_ = true;
    ::SetWindowTextW(edit_, win32::Wide(content.text).c_str());
    loading_ = false;
    ::SendMessageW(edit_, EM_SETREADONLY, rules_->ReadOnly(), 0);
    ShowReason();
}

void NotesTab::ShowReason() {
    std::string text;
    if (rules_ && rules_->State() == NotesState::TooLarge)
        text = Languages::TextFmt(pages::kNotesTooLargeId, {fileName_});
    else if (rules_ && rules_->State() == NotesState::Unreadable)
        text = Languages::TextFmt(pages::kNotesUnreadableId, {fileName_});
    else if (saveFailed_)
        text = UnableToWriteText(fileName_);
    ::SetWindowTextW(reason_, win32::Wide(text).c_str());
    const bool show = !text.empty();
    if (show != (::IsWindowVisible(reason_) != FALSE)) {
        ::ShowWindow(reason_, show ? SW_SHOWNA : SW_HIDE);
        Layout(place_);
    }
}

void NotesTab::OnCommand(int id, int code, HWND) {
    if (id == NotesId::Edit && code == EN_CHANGE)
        Edited();
}

void NotesTab::OnTimer(UINT_PTR id) {
    if (id != kNotesSaveTimer)
        return;
    ::KillTimer(Handle(), kNotesSaveTimer);
    Save();
}

void NotesTab::Save() {
    // A destroyed edit would read as empty and write the notes away.
    if (!rules_ || fileName_.empty() || !edit_ || !::IsWindow(edit_))
        return;
    const std::wstring text = WindowText(edit_);
    if (std::optional<std::string> bytes =
            rules_->TakeSave(win32::Narrow(text.c_str(), text.size())))
        save_.Save(fileName_, std::move(*bytes));
}

void NotesTab::Flush() {
    if (Handle())
        ::KillTimer(Handle(), kNotesSaveTimer);
    Save();
    save_.Wait();
}

LRESULT NotesTab::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSaveDoneMessage) {
        // A failed write is tried again with the next keystroke or at exit; meanwhile the
        // page says that the file could not be written.
        if (!wParam && rules_)
            rules_->SaveFailed();
        saveFailed_ = !wParam;
        ShowReason();
        return 0;
    }
    return SearchTab::HandleMessage(message, wParam, lParam);
}

} // namespace orvan::ui
