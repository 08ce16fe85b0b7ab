#include "core/app/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvan {
namespace {

struct Case {
    const char* argument;
    bool installed;
    const char* runningTitle; // the instance that runs already, or nullptr
    StartAction action;
    StartMode mode;
    const char* title;
};

TEST(DecideStart, FirstArgumentInstallationAndInstanceGiveTheStart) {
    using A = StartAction;
    using M = StartMode;
    const Case cases[] = {
        // An uninstalled copy hands over to its elevated installer whatever its switch.
        {"", false, nullptr, A::Elevate, M::Resident, ""},
        {"-v", false, nullptr, A::Elevate, M::Resident, ""},
        {"-o", false, "Orvan!", A::Elevate, M::Resident, ""},
        // "-i..." asks for elevation even when installed; "-i2" itself is installer mode.
        {"-i", true, nullptr, A::Elevate, M::Resident, ""},
        {"-install", true, nullptr, A::Elevate, M::Resident, ""},
        {"-i2", false, nullptr, A::Run, M::Installer, "Orvan! - Install"},
        {"-i2", true, nullptr, A::Run, M::Installer, "Orvan! - Install"},
        {"-i2", true, "Orvan!", A::Run, M::Installer, "Orvan! - Install"},
        {"-i2", true, "Orvan! - Install", A::End, M::Resident, "Orvan! - Install"},
        // "-i2x" is not "-i2": an elevation request.
        {"-i2x", true, nullptr, A::Elevate, M::Resident, ""},
        // Installed starts.
        {"", true, nullptr, A::Run, M::Resident, "Orvan!"},
        {"-v", true, nullptr, A::Run, M::ShowSearch, "Orvan!"},
        {"-view", true, nullptr, A::Run, M::ShowSearch, "Orvan!"},
        {"-o", true, nullptr, A::Run, M::OpenOptions, "Orvan!"},
        {"-options", true, nullptr, A::Run, M::OpenOptions, "Orvan!"},
        {"-output", true, nullptr, A::Run, M::OpenOptions, "Orvan!"},
        // Capitals and other texts are no switch.
        {"-V", true, nullptr, A::Run, M::Resident, "Orvan!"},
        {"-O", true, nullptr, A::Run, M::Resident, "Orvan!"},
        {"-I", true, nullptr, A::Run, M::Resident, "Orvan!"},
        {"x", true, nullptr, A::Run, M::Resident, "Orvan!"},
        {"-", true, nullptr, A::Run, M::Resident, "Orvan!"},
        {"v", true, nullptr, A::Run, M::Resident, "Orvan!"},
        // A running resident instance: a second start ends, "-o" tells it first.
        {"", true, "Orvan!", A::End, M::Resident, "Orvan!"},
        {"-v", true, "Orvan!", A::End, M::Resident, "Orvan!"},
        {"-o", true, "Orvan!", A::PostOpenOptionsAndEnd, M::Resident, "Orvan!"},
        // A running installer does not stop a resident start.
        {"-v", true, "Orvan! - Install", A::Run, M::ShowSearch, "Orvan!"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> asked;
        int detections = 0;
        const StartQueries queries{
            [&] {
                ++detections;
                return c.installed;
            },
            [&](std::string_view title) {
                asked.emplace_back(title);
                return c.runningTitle && title == c.runningTitle;
            },
        };
        const StartDecision decision = DecideStart(c.argument, queries);
        SCOPED_TRACE(c.argument);
        EXPECT_EQ(decision.action, c.action);
        if (decision.action == StartAction::Run) {
            EXPECT_EQ(decision.mode, c.mode);
        }
        EXPECT_EQ(decision.title, c.title);
        // The installation is consulted only when the switch is not "-i..."; the instance
        // search happens only when there is no hand-over.
        const std::string a = c.argument;
        EXPECT_EQ(detections, a.rfind("-i", 0) == 0 ? 0 : 1);
        EXPECT_EQ(asked.size(), decision.action == StartAction::Elevate ? 0u : 1u);
    }
}

// Package managers run the silent switches without elevation and with nobody to answer: they
// are decided before the hand-over to the installer and ask nothing of the system. Only the
// whole switch counts; anything else keeps the usual two-character rule.
TEST(DecideStart, SilentSwitchesComeBeforeTheHandOverAndAskNothing) {
    struct SilentCase {
        const char* argument;
        bool installed;
        StartAction action;
    };
    using A = StartAction;
    const SilentCase cases[] = {
        {"-silent", false, A::SilentInstall},
        {"-silent", true, A::SilentInstall},
        {"-silent-remove", true, A::SilentRemove},
        {"-silent-remove", false, A::SilentRemove},
        {"-finish-remove", false, A::FinishRemoval},
        // Near misses: "-s..." is no switch, so an installed copy starts resident and an
        // uninstalled one hands over; "-f..." likewise.
        {"-silentremove", true, A::Run},
        {"-Silent", true, A::Run},
        {"-silent ", false, A::Elevate},
        {"-silent-remove-now", false, A::Elevate},
        {"-finish", true, A::Run},
    };
    for (const SilentCase& c : cases) {
        SCOPED_TRACE(c.argument);
        int queries = 0;
        const StartDecision decision = DecideStart(c.argument, {[&] {
                                                                    ++queries;
                                                                    return c.installed;
                                                                },
                                                                [&](std::string_view) {
                                                                    ++queries;
                                                                    return false;
                                                                }});
        EXPECT_EQ(decision.action, c.action);
        const bool silent = c.action == A::SilentInstall || c.action == A::SilentRemove ||
                            c.action == A::FinishRemoval;
        if (silent) {
            EXPECT_EQ(queries, 0);
        } else if (c.action == A::Run) {
            EXPECT_EQ(decision.mode, StartMode::Resident);
        }
    }
}

} // namespace
} // namespace orvan
