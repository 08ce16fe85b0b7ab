#include "ui/run_tab.h"

#include "core/base/line_breaks.h"
#include "core/base/utf.h"
#include "core/config/options.h"
#include "core/language/language.h"
#include "core/ui/available_view.h"
#include "core/ui/search_layout.h"
#include "ui/clipboard.h"
#include "ui/icon_cache.h"
#include "ui/pictures.h"
#include "win32/wide_text.h"

namespace orvan::ui {

namespace {

namespace layout = search_layout;

std::u16string ToU16(const std::wstring& text) {
    return std::u16string(text.begin(), text.end());
}

std::wstring FromU16(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

// The button group: each button's tag, identifier and what a click does.
struct ButtonCommand {
    int tag;
    int id;
    void (RunTab::*click)();
};

} // namespace

RunTab::RunTab(RunTabServices services) : services_(services), list_(available_) {}

HWND RunTab::CreatePage(HWND pageControl, const TabFonts& fonts) {
    const HWND page = CreatePanel(pageControl);
    if (!page)
        return nullptr;
    dpi_ = fonts.dpi;
    edit_ = CreateChild(L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                        page, RunId::Edit);
    icon_.Create(page, RunId::Icon, RECT{});
    label_.Create(page, RunId::Label, RECT{});
    execute_.Create(page, RunId::Execute, RECT{}, nullptr, nullptr);
    detailsButton_.Create(page, RunId::Details, RECT{}, nullptr, nullptr);
    copy_.Create(page, RunId::Copy, RECT{}, nullptr, nullptr);
    bevel_ = CreateChild(L"STATIC", L"", WS_VISIBLE | SS_ETCHEDHORZ, 0, page, RunId::Bevel);
    list_.Create(page, RunId::List, RECT{}, ScaleForDpi(layout::kAvailableRowHeight, dpi_));
    list_.OnIconsWanted([this] { WantIcons(); });
    SetFonts(fonts);
    return page;
}

void RunTab::SetFonts(const TabFonts& fonts) {
    dpi_ = fonts.dpi;
    ::SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.text), TRUE);
    label_.SetFont(fonts.text);
    list_.SetDpi(dpi_, fonts.text);
    Pictures& pictures = ProgramPictures();
    const int glyph = ScaleForDpi(16, dpi_);
    execute_.SetGlyph(pictures.ButtonGlyph(Glyph::Execute, glyph),
                      pictures.ButtonGlyph(Glyph::Execute, glyph, true));
    detailsButton_.SetGlyph(pictures.ButtonGlyph(Glyph::Details, glyph),
                            pictures.ButtonGlyph(Glyph::Details, glyph, true));
    copy_.SetGlyph(pictures.ButtonGlyph(Glyph::Copy, glyph),
                   pictures.ButtonGlyph(Glyph::Copy, glyph, true));
    if (Handle())
        UpdateRunDetails(); // the picture's size follows the DPI
}

void RunTab::Layout(const PagePlacer& place) {
    MoveTo(edit_, place(layout::kRunEdit));
    MoveTo(icon_.Handle(), place(layout::kRunIcon));
    MoveTo(label_.Handle(), place(layout::kRunLabel));
    MoveTo(execute_.Handle(), place(layout::kRunExecute));
    MoveTo(detailsButton_.Handle(), place(layout::kRunDetails));
    MoveTo(copy_.Handle(), place(layout::kRunCopy));
    MoveTo(bevel_, place(layout::kRunBevel));
    MoveTo(list_.Handle(), place(layout::kAvailableList));
}

void RunTab::LocalizeCaptions() {
    execute_.SetHint(win32::Wide(Languages::Text(layout::kExecuteHintId)));
    detailsButton_.SetHint(win32::Wide(Languages::Text(layout::kDetailsHintId)));
    copy_.SetHint(win32::Wide(Languages::Text(layout::kCopyHintId)));
}

void RunTab::ApplyColors(COLORREF body) {
    SetBackground(body);
    icon_.SetBackground(body);
    label_.SetBackground(body);
    execute_.SetBackground(body);
    detailsButton_.SetBackground(body);
    copy_.SetBackground(body);
}

HWND RunTab::Button(int tag) const {
    switch (tag) {
    case layout::kTagExecute:
        return execute_.Handle();
    case layout::kTagDetails:
        return detailsButton_.Handle();
    case layout::kTagCopy:
        return copy_.Handle();
    default:
        return nullptr;
    }
}

// --- commands and keys -------------------------------------------------------------------

void RunTab::OnCommand(int id, int code, HWND) {
    static constexpr ButtonCommand kButtons[] = {
        {layout::kTagExecute, RunId::Execute, &RunTab::RunSelected},
        {layout::kTagDetails, RunId::Details, &RunTab::ShowDetailsWindow},
        {layout::kTagCopy, RunId::Copy, &RunTab::CopyDetails},
    };
    switch (id) {
    case RunId::Edit:
        if (code == EN_CHANGE)
            Rebuild();
        return;
    case RunId::List:
        if (code == LBN_SELCHANGE)
            UpdateRunDetails();
        else if (code == LBN_DBLCLK && list_.Selection() >= 0)
            RunSelected();
        return;
    default:
        break;
    }
    if (code != BN_CLICKED)
        return;
    for (const ButtonCommand& button : kButtons)
        if (button.id == id)
            (this->*button.click)();
}

bool RunTab::HandleKey(SearchKeyAction action) {
    switch (action) {
    case SearchKeyAction::RunSelected:
        RunSelected();
        return true;
    case SearchKeyAction::Complete:
        Complete();
        return true;
    case SearchKeyAction::CutPathComponent:
        CutPathComponent();
        return true;
    case SearchKeyAction::HistoryRecall:
        RecallHistory();
        return true;
    case SearchKeyAction::SelectPrevious:
    case SearchKeyAction::SelectNext:
        MoveSelection(action == SearchKeyAction::SelectPrevious);
        return true;
    default:
        return false;
    }
}

void RunTab::MoveSelection(bool up) {
    const std::optional<int> row = orvan::MoveSelection(
        list_.Selection(), list_.Count(), ::IsWindowVisible(list_.Handle()) != FALSE, up);
    if (row) {
        list_.Select(*row);
        UpdateRunDetails();
    }
}

void RunTab::RunSelected() {
    if (list_.Count() == 0 || list_.Selection() < 0)
        return;
    // A catalog entry started for the typed text is what the relevance order learns from.
    if (const std::optional<std::size_t> row = SelectedRow();
        keeper_ && row && *row < available_.size() && available_[*row].kind == RunKind::Catalog) {
        const RunAvailableRow chosen = available_[*row];
        const std::wstring text = WindowText(edit_);
        keeper_->RecordLaunch(win32::Narrow(text.c_str(), text.size()), chosen.name, chosen.path);
    }
    if (orvan::RunSelected(available_, SelectedRow(), CurrentOptions(), services_.launch))
        ::SetWindowTextW(edit_, L"");
}

void RunTab::ShowDetailsWindow() {
    if (details_.show)
        details_.show(win32::Narrow(WindowText(label_.Handle()).c_str()), icon_.Icon());
}

void RunTab::CopyDetails() {
    // The label keeps single CR line breaks; other programs expect CR LF.
    CopyTextToClipboard(Handle(),
                        win32::Wide(CrToCrLf(win32::Narrow(WindowText(label_.Handle()).c_str()))));
}

void RunTab::Complete() {
    if (const std::optional<InputEdit> edit = CompleteSelected(available_, SelectedRow()))
        SetInput(Utf8ToUtf16(edit->text), edit->caret);
}

void RunTab::CutPathComponent() {
    if (const std::optional<InputEdit16> edit = orvan::CutPathComponent(InputText(), Caret()))
        SetInput(edit->text, edit->caret);
}

void RunTab::RecallHistory() {
    const std::optional<std::string> path = RecallRunHistory(CurrentOptions());
    if (!path)
        return;
    const std::u16string text = Utf8ToUtf16(*path);
    SetInput(text, text.size());
}

// --- the candidate list and the details area ---------------------------------------------

void RunTab::Rebuild() {
    WaitCursor wait;
    const std::wstring text = WindowText(edit_);
    try {
        RunBuildEnvironment build = services_.build;
        build.order = CurrentOptions().order;
        build.memory = keeper_ ? &keeper_->Memory() : nullptr;
        BuildRunAvailableList(win32::Narrow(text.c_str(), text.size()),
                              CurrentOptions().catalog.items, available_, build);
    } catch (...) {
        // A failing step still leaves a sorted list: show it, then let the error be reported.
        list_.Refill();
        UpdateRunDetails();
        throw;
    }
    list_.Refill();
    UpdateRunDetails();
}

void RunTab::RebuildKeepingSelection() {
    // Read from the list box itself: a hidden window has no visible selection, but the
    // selection is there when it shows again.
    const int before = list_.Selection();
    std::optional<RunAvailable> selected;
    if (before >= 0 && std::size_t(before) < available_.size()) {
        const RunAvailableRow row = available_[std::size_t(before)];
        selected = RunAvailable{std::string(row.name), std::string(row.path), row.kind, {}};
    }
    Rebuild();
    if (!selected)
        return;
    for (std::size_t i = 0; i < available_.size(); ++i) {
        const RunAvailableRow row = available_[i];
        if (row.path == selected->path && row.name == selected->name) {
            if (int(i) != list_.Selection()) {
                list_.Select(int(i));
                UpdateRunDetails();
            }
            return;
        }
    }
}

void RunTab::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem == list_.Handle())
        list_.DrawItem(item);
}

void RunTab::UpdateRunDetails() {
    const RunDetailsView view = orvan::UpdateRunDetails(
        Utf16ToUtf8(InputText()), available_, SelectedRow(), services_.fileInfo,
        [this](const std::string& path) { return HasLargeIcon(path); });
    ShowDetails(view);
}

void RunTab::ShowDetails(const RunDetailsView& view) {
    const int size = ScaleForDpi(layout::kRunIconImageSize, dpi_);
    if (!view.iconPath.empty()) {
        const HICON picture = GetFileIcon(view.iconPath, false);
        icon_.SetIcon(picture ? picture : ProgramPictures().MainImage(RunImage::File, size),
                      picture ? 0 : size);
    } else {
        icon_.SetIcon(ProgramPictures().MainImage(view.image, size), size);
    }
    ::SetWindowTextW(label_.Handle(), win32::Wide(view.text).c_str());
    ::EnableWindow(execute_.Handle(), view.buttonsEnabled);
    ::EnableWindow(detailsButton_.Handle(), view.buttonsEnabled);
    if (view.timerOn != labelTimerOn_) {
        labelTimerOn_ = view.timerOn;
        if (labelTimerOn_)
            ::SetTimer(Handle(), kRunLabelTimer, 500, nullptr);
        else
            ::KillTimer(Handle(), kRunLabelTimer);
    }
    ::InvalidateRect(icon_.Handle(), nullptr, FALSE);
}

bool RunTab::HasLargeIcon(const std::string& path) {
    switch (PeekFileIcon(path, false)) {
    case CachedIcon::Present:
        return true;
    case CachedIcon::None:
        return false;
    case CachedIcon::Unknown:
        break;
    }
    // Not asked yet: shown as a file without an icon until the idle fetch has it.
    detailsIconPath_ = path;
    WantIcons();
    return false;
}

void RunTab::OnTimer(UINT_PTR id) {
    if (id == kRunLabelTimer)
        Rebuild();
    else if (id == kIconTimer)
        LoadWantedIcons();
}

void RunTab::WantIcons() {
    if (iconTimerOn_ || !Handle())
        return;
    // A timer message comes only when no input and no painting wait, so typing goes first.
    iconTimerOn_ = ::SetTimer(Handle(), kIconTimer, 10, nullptr) != 0;
}

void RunTab::LoadWantedIcons() {
    ::KillTimer(Handle(), kIconTimer);
    iconTimerOn_ = false;
    bool rows = false;
    const auto [first, last] = list_.RowsOnScreen();
    for (std::size_t i = first; i < last; ++i) {
        const RunAvailableRow row = available_[i];
        const std::string path(row.path);
        if (RowWantsFileIcon(row.kind) && PeekFileIcon(path, true) == CachedIcon::Unknown) {
            GetFileIcon(path, true);
            rows = true;
        }
    }
    if (rows)
        ::InvalidateRect(list_.Handle(), nullptr, FALSE);
    if (!detailsIconPath_.empty()) {
        GetFileIcon(detailsIconPath_, false);
        detailsIconPath_.clear();
        UpdateRunDetails(); // asked again, the probe finds the icon fetched
    }
}

// --- the input line ---------------------------------------------------------------------

void RunTab::SelectInput() {
    ::SetFocus(edit_);
    ::SendMessageW(edit_, EM_SETSEL, 0, -1);
}

std::u16string RunTab::InputText() const {
    return ToU16(WindowText(edit_));
}

std::size_t RunTab::Caret() const {
    DWORD start = 0, end = 0;
    ::SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    return end;
}

void RunTab::SetInput(const std::u16string& text, std::size_t caret) {
    ::SetWindowTextW(edit_, FromU16(text).c_str());
    ::SendMessageW(edit_, EM_SETSEL, caret, LPARAM(caret));
}

std::optional<RunAvailable> RunTab::SelectedStartable() const {
    const std::optional<std::size_t> row = SelectedRow();
    if (!row || *row >= available_.size())
        return std::nullopt;
    RunAvailable candidate = available_[*row].ToRunAvailable();
    if (candidate.kind != RunKind::Folder && candidate.kind != RunKind::File &&
        candidate.kind != RunKind::Catalog)
        return std::nullopt;
    return candidate;
}

std::optional<std::size_t> RunTab::SelectedRow() const {
    if (!::IsWindowVisible(list_.Handle()))
        return std::nullopt;
    const int row = list_.Selection();
    return row < 0 ? std::nullopt : std::optional<std::size_t>(std::size_t(row));
}

} // namespace orvan::ui
