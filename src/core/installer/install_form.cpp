#include "core/installer/install_form.h"

#include "core/config/path_variables.h"
#include "core/language/language.h"

#include <algorithm>

namespace orvan {

const std::array<std::uint16_t, 9> kInstallHotKeys = {
    0x8020, // Alt+Space
    0x4020, // Ctrl+Space
    0xC020, // Ctrl+Alt+Space
    0xC070, // Ctrl+Alt+F1
    0xC071, // Ctrl+Alt+F2
    0xC072, // Ctrl+Alt+F3
    0xC073, // Ctrl+Alt+F4
    0x406A, // Ctrl+Num *
    0x406D, // Ctrl+Num -
};

namespace {

constexpr int kTextInstall = 8000010;
constexpr int kTextRemove = 8000012;
constexpr int kTextRepair = 8000014;
constexpr int kTextStop = 8000016;
constexpr int kTextReady = 8000040;
constexpr int kTextAlreadyInstalled = 8000041;
constexpr int kTextRunning = 8000042;
constexpr int kTextAllUsers = 8000026;
constexpr int kTextCurrentUser = 8000027;
constexpr int kTextDetailsFirst = 8000050; // "Title" to "Run on startup"

bool IsEnabled(const InstallState& state, InstallOperation operation) {
    switch (operation) {
    case InstallOperation::Install:
        return state.installEnabled;
    case InstallOperation::Repair:
        return state.repairEnabled;
    case InstallOperation::Remove:
        return state.removeEnabled;
    }
    return false;
}

} // namespace

InstallState RefreshInstallState(bool instanceRunning, bool installed,
                                 std::optional<InstallOperation> selected) {
    InstallState state;
    if (instanceRunning) {
        state.status = Languages::Text(kTextRunning);
    } else if (installed) {
        state.status = Languages::Text(kTextAlreadyInstalled);
        state.repairEnabled = true;
        state.removeEnabled = true;
    } else {
        state.status = Languages::Text(kTextReady);
        state.installEnabled = true;
    }

    // A selection that is no longer allowed moves on; so does none at all, which would
    // otherwise offer Stop with nothing to stop.
    state.selected = selected;
    if (!selected || !IsEnabled(state, *selected)) {
        if (selected == InstallOperation::Install) {
            if (state.repairEnabled)
                state.selected = InstallOperation::Repair;
        } else if (state.installEnabled) {
            state.selected = InstallOperation::Install;
        } else if (!selected && state.repairEnabled) {
            state.selected = InstallOperation::Repair;
        }
    }

    if (state.selected && IsEnabled(state, *state.selected))
        state.action = state.selected;
    if (!state.action) {
        state.buttonCaption = Languages::Text(kTextStop);
        state.page = InstallPage::Empty;
        return state;
    }
    switch (*state.action) {
    case InstallOperation::Install:
        state.buttonCaption = Languages::Text(kTextInstall);
        state.page = InstallPage::Options;
        break;
    case InstallOperation::Repair:
        state.buttonCaption = Languages::Text(kTextRepair);
        state.page = InstallPage::Options;
        break;
    case InstallOperation::Remove:
        state.buttonCaption = Languages::Text(kTextRemove);
        state.page = InstallPage::Details;
        break;
    }
    return state;
}

std::array<std::pair<std::string, std::string>, 6> InstalledDetails(const InstallInfo& info) {
    const std::string values[6] = {info.title,
                                   info.version,
                                   info.path,
                                   info.installed,
                                   Languages::YesNo(info.startMenu),
                                   Languages::YesNo(info.autoStart)};
    std::array<std::pair<std::string, std::string>, 6> details;
    for (std::size_t i = 0; i < details.size(); ++i)
        details[i] = {Languages::TextColon(kTextDetailsFirst + int(i)), values[i]};
    return details;
}

InstallForm FillInstallForm(const InstallInfo& info, const SpecialFolderPort& folders,
                            const std::vector<LanguageFileInfo>& languageFiles) {
    InstallForm form;
    for (const int number :
         {Csidl::ProgramFiles, Csidl::ProgramFilesCommon, Csidl::Profile, Csidl::Desktop}) {
        // An unknown folder would suggest a folder at the root of the current drive.
        const std::string folder = GetSpecialFolder(folders, number);
        if (!folder.empty())
            form.folderSuggestions.push_back(folder + "\\Morvane\\Orvan\\");
    }
    form.path = info.path;

    // "None" is no choice; "Default" comes first.
    for (std::size_t i = 1; i < LanguageList.size(); ++i)
        form.languages.push_back(
            {LanguageChoiceText(LanguageList[i], languageFiles), LanguageList[i].lcid});
    const auto language =
        std::find_if(form.languages.begin(), form.languages.end(),
                     [&](const InstallListItem& item) { return item.value == info.language; });
    form.language = language == form.languages.end() ? 0 : language - form.languages.begin();

    for (const std::uint16_t code : kInstallHotKeys)
        form.hotKeys.push_back({ShortCutText(code), code});
    const auto hotKey =
        std::find_if(form.hotKeys.begin(), form.hotKeys.end(),
                     [&](const InstallListItem& item) { return item.value == info.hotKey; });
    if (hotKey == form.hotKeys.end()) {
        form.hotKeys.push_back(
            {ShortCutText(static_cast<std::uint16_t>(info.hotKey)), info.hotKey});
        form.hotKey = form.hotKeys.size() - 1;
    } else {
        form.hotKey = hotKey - form.hotKeys.begin();
    }

    form.scopes = {{Languages::Text(kTextAllUsers), 0}, {Languages::Text(kTextCurrentUser), 1}};
    form.scope = info.allUsers ? 0 : 1;
    form.createStartMenu = info.startMenu;
    form.autoStart = info.autoStart;
    return form;
}

} // namespace orvan
