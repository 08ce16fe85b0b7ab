#include "ui/run_page.h"

#include "core/base/utf.h"
#include "core/config/options.h"
#include "core/search/run_details.h"

namespace orvan::ui {

void RunPage::UpdateRunDetails(RunPageAccess& page) {
    const RunDetailsView view = orvan::UpdateRunDetails(
        Utf16ToUtf8(page.InputText()), page.Candidates(), page.SelectedRow(), fileInfo_,
        [&page](const std::string& path) { return page.HasLargeIcon(path); });
    page.ShowDetails({view.image, view.iconPath, view.text, view.buttonsEnabled, view.timerOn});
}

void RunPage::Complete(RunPageAccess& page) {
    const std::optional<InputEdit> edit = CompleteSelected(page.Candidates(), page.SelectedRow());
    if (edit)
        page.SetInput(Utf8ToUtf16(edit->text), edit->caret);
}

void RunPage::CutPathComponent(RunPageAccess& page) {
    const std::optional<InputEdit16> edit = orvan::CutPathComponent(page.InputText(), page.Caret());
    if (edit)
        page.SetInput(edit->text, edit->caret);
}

bool RunPage::RunSelected(RunPageAccess& page) {
    return orvan::RunSelected(page.Candidates(), page.SelectedRow(), CurrentOptions(), launch_);
}

void RunPage::RecallHistory(RunPageAccess& page) {
    const std::optional<std::string> path = RecallRunHistory(CurrentOptions());
    if (!path)
        return;
    const std::u16string text = Utf8ToUtf16(*path);
    page.SetInput(text, text.size());
}

} // namespace orvan::ui
