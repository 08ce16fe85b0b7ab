#include "ui/file_dialogs.h"

#include "core/ui/details_view.h"
#include "ui/gdi.h"
#include "win32/wide_text.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace orvan::ui {

bool ExecuteSaveDialog(HWND owner, std::string& fileName, const std::string& title,
                       bool addAllFiles, const std::string& filter,
                       const std::string& defaultExtension) {
    std::wstring wideTitle, wideFilter, wideExtension;
    std::vector<wchar_t> name;
    {
        WaitCursor wait; // while the dialog is prepared
        wideTitle = win32::Wide(title);
        wideFilter = win32::Wide(DialogFilterString(SaveDialogFilter(filter, addAllFiles)));
        wideExtension = win32::Wide(defaultExtension);
        const std::wstring proposed = win32::Wide(fileName);
        // Room for a long path; the proposal is cut rather than overrunning it.
        name.assign(32768, L'\0');
        proposed.copy(name.data(), std::min(proposed.size(), name.size() - 1));
    }
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = wideFilter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = DWORD(name.size());
    dialog.lpstrTitle = wideTitle.empty() ? nullptr : wideTitle.c_str();
    dialog.lpstrDefExt = wideExtension.empty() ? nullptr : wideExtension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_CREATEPROMPT;
    if (!::GetSaveFileNameW(&dialog))
        return false;
    fileName = win32::Narrow(name.data());
    return true;
}

} // namespace orvan::ui
