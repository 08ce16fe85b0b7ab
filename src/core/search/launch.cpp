#include "core/search/launch.h"

#include "core/base/path_parts.h"
#include "core/language/language.h"

#include <algorithm>

namespace orvan {

namespace {

constexpr int kTextErrorTitle = 0;

} // namespace

std::string ShellFailureText(std::intptr_t code) {
    int id = 2000900;
    switch (code) {
    case 0:
        id = 2000901;
        break;
    case 2:
        id = 2000902;
        break;
    case 3:
        id = 2000903;
        break;
    case 5:
        id = 2000905;
        break;
    case 8:
        id = 2000912;
        break;
    case 11:
        id = 2000904;
        break;
    case 26:
        id = 2000913;
        break;
    case 27:
        id = 2000906;
        break;
    case 28:
        id = 2000909;
        break;
    case 29:
        id = 2000908;
        break;
    case 30:
        id = 2000907;
        break;
    case 31:
        id = 2000911;
        break;
    case 32:
        id = 2000910;
        break;
    default:
        break;
    }
    return Languages::Text(id);
}

bool ShellOpen(const LaunchServices& services, const std::string& file,
               const std::string& parameters, const std::string& directory, int showCommand) {
    if (services.shell == nullptr)
        return false;
    const std::intptr_t result = services.shell->Open(file, parameters, directory, showCommand);
    if (result > 32)
        return true;
    if (services.messages != nullptr)
        services.messages->ShowMessageDialog(Languages::Text(kTextErrorTitle),
                                             ShellFailureText(result));
    return false;
}

bool ShellRunAs(const ShellPort& shell, std::uintptr_t ownerWindow, const std::string& file,
                const std::string& parameters) {
    return shell.RunAs(ownerWindow, file, parameters);
}

std::string WorkingFolderOf(std::string_view path) {
    return std::string(PathFolderPart(path));
}

void ExecuteRunAvailable(const RunAvailable& candidate, SettingsOptions& options,
                         const LaunchServices& services) {
    if (candidate.kind != RunKind::Folder && candidate.kind != RunKind::File &&
        candidate.kind != RunKind::Catalog)
        return;
    if (options.autoHide && services.window != nullptr)
        services.window->RequestClose();
    auto& history = options.runHistory;
    auto it = std::find(history.begin(), history.end(), candidate.path);
    if (it == history.end()) {
        history.push_back(candidate.path);
        it = history.end() - 1;
    }
    options.runHistoryIndex = static_cast<std::int32_t>(it - history.begin());
    ShellOpen(services, candidate.path, {}, WorkingFolderOf(candidate.path), kShowNormal);
}

bool RunSelected(const RunAvailableList& list, std::optional<std::size_t> selectedRow,
                 SettingsOptions& options, const LaunchServices& services) {
    if (!selectedRow || *selectedRow >= list.size())
        return false;
    ExecuteRunAvailable(list[*selectedRow].ToRunAvailable(), options, services);
    return true;
}

std::optional<std::string> RecallRunHistory(SettingsOptions& options) {
    const auto& history = options.runHistory;
    if (history.empty() || options.runHistoryIndex < 0 ||
        static_cast<std::size_t>(options.runHistoryIndex) >= history.size())
        return std::nullopt;
    return history[static_cast<std::size_t>(options.runHistoryIndex++)];
}

} // namespace orvan
