#include "core/app/startup.h"

#include <utility>

namespace orvan {

StartDecision DecideStart(std::string_view firstArgument, const StartQueries& queries) {
    const std::string_view prefix = firstArgument.substr(0, 2);
    const bool installerSwitch = prefix == "-i";
    StartDecision decision;

    // Package managers run these without elevation and without anyone to answer a window.
    const std::pair<const char*, StartAction> silent[] = {
        {kSilentInstallArgument, StartAction::SilentInstall},
        {kSilentRemoveArgument, StartAction::SilentRemove},
        {kFinishRemovalArgument, StartAction::FinishRemoval},
    };
    for (const auto& [argument, action] : silent)
        if (firstArgument == argument) {
            decision.action = action;
            return decision;
        }

    // An uninstalled copy always hands over to its elevated installer first, whatever its
    // switch; the installation is looked up only when the switch does not ask for it.
    if (firstArgument != kInstallerArgument && (installerSwitch || !queries.detectInstallation())) {
        decision.action = StartAction::Elevate;
        return decision;
    }

    decision.title = installerSwitch ? kInstallerWindowTitle : kMainWindowTitle;
    if (queries.instanceExists(decision.title)) {
        decision.action = prefix == "-o" ? StartAction::PostOpenOptionsAndEnd : StartAction::End;
        return decision;
    }

    decision.action = StartAction::Run;
    if (prefix == "-o")
        decision.mode = StartMode::OpenOptions;
    else if (installerSwitch)
        decision.mode = StartMode::Installer;
    else if (prefix == "-v")
        decision.mode = StartMode::ShowSearch;
    else
        decision.mode = StartMode::Resident;
    return decision;
}

} // namespace orvan
