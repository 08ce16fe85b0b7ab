#pragma once
// The settings dialog as logic: the working copy of the options it edits, what its controls
// show and store, its texts and language items, the progress texts of its status tab, and
// the rebuild, stop, OK and Cancel rules. The window only shows what this decides.
#include "core/catalog/scanner.h"
#include "core/config/options.h"
#include "core/language/language_file.h"
#include "core/ports/locale.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvan {

// The check boxes of the General tab, in the order in which they load and store.
enum class SettingsCheck : std::uint8_t {
    AlwaysVisible,
    AutoHide,
    AlwaysOnTop,
    AutoCenter,
    ShowOnDesktop,
    PortableMode,
    CatalogAutoUpdate,
    ShowTrayIcon,
    OrderByRelevance, // the results' order: relevance when ticked, else the name order
};
inline constexpr std::size_t kSettingsCheckCount = 9;

struct SettingsCheckBox {
    SettingsCheck check;
    int captionId;
    // Show on desktop and Portable mode are shown but never editable: their stored values
    // pass through the dialog untouched.
    bool enabled;
};

extern const std::array<SettingsCheckBox, kSettingsCheckCount> kSettingsCheckBoxes;

// One item of the language drop-down: the language's name and its locale identifier.
struct LanguageChoice {
    std::string text;
    std::int32_t lcid = 0;
};

// The selectable languages in list order, "Default" (1) first; "None" is not offered. Those
// with a language file among `files` are marked.
std::vector<LanguageChoice> LanguageChoices(const std::vector<LanguageFileInfo>& files = {});
// The first item whose code is `lcid`; item 0 ("Default") when no item has it.
std::size_t LanguageChoiceIndex(std::int32_t lcid);

// The values the dialog's controls hold.
struct SettingsControls {
    std::array<bool, kSettingsCheckCount> checks{};
    std::uint16_t hotKey = 0; // shortcut value
    // Position in LanguageChoices(); out of range (as "nothing selected" is) reads as
    // "Default".
    std::ptrdiff_t languageIndex = 0;

    bool& Check(SettingsCheck check) { return checks[std::size_t(check)]; }
    bool Check(SettingsCheck check) const { return checks[std::size_t(check)]; }
};

SettingsControls OptionsToControls(const SettingsOptions& options);
// Stores the controls into the record. The disabled boxes keep the record's values. An
// entry without a key (the cleared hot-key control gives 0) keeps the record's hot key:
// stored, it would leave the program without a hot key from its next start on.
void ControlsToOptions(const SettingsControls& controls, SettingsOptions& options);

struct SettingsDialogTexts {
    std::string caption;
    std::string ok;
    std::string cancel;
    std::array<std::string, 3> tabs; // General, Catalog, Status
    std::string rescan;
    std::string forget;                                  // clears what the relevance order learned
    std::array<std::string, kSettingsCheckCount> checks; // in kSettingsCheckBoxes order
    std::string hotKeyLabel;
    std::string languageLabel;
};

// Every caption of the dialog, fetched anew at each opening.
SettingsDialogTexts SettingsTexts();

// The two texts of the status tab. Counts are plain decimal numbers.
// "Rebuilding new catalog..." with the entries collected, the folders and files seen and the
// path seen last.
std::string RebuildProgressText(std::size_t items, std::int32_t folders, std::int32_t files,
                                const std::string& scanPath);
// "Catalog has %s items..." with the last rebuild in the general date form, "-" for never.
std::string CatalogStatusText(std::size_t items, double lastRebuild, const LocaleSettings& locale);

// What the status tab shows on the progress timer's tick.
struct SettingsProgress {
    std::string text;
    bool waiterVisible = false; // the sweeping band, shown and running while rebuilding
};

struct SettingsButtons {
    bool okEnabled = true;
    bool cancelEnabled = true;
    bool closeButton = true;       // the system menu's close button in the frame
    int rescanCaptionId = 9000051; // "Rebuild", or "Stop" while rebuilding
};

// A rebuild the dialog asks for: its number, the copy's paths, and the scan whose progress
// the status tab shows and which Stop ends.
struct DialogRebuild {
    std::uint64_t id = 0;
    SettingsOptionsCatalogPaths paths;
    std::shared_ptr<CatalogScan> scan;
};

// The dialog's life: closed, open, open and rebuilding its copy's catalog. One instance
// lives as long as the program; the window drives it and shows what it answers. The rebuild
// runs beside the interface thread: the dialog starts it, reads its progress on the timer's
// tick, and takes its result when it has ended.
class SettingsDialogModel {
public:
    // Starts the rebuild beside the interface thread (the catalog's owner's background
    // scan); its end comes back through RebuildEnded, on the interface thread.
    using StartRebuild = std::function<void(const DialogRebuild& rebuild)>;

    bool IsOpen() const { return open_; }

    // Takes a working copy of the current options. False, and nothing changes, while the
    // dialog is open already.
    bool Open(const SettingsOptions& current);

    // The working copy; the path commands edit its catalog paths.
    SettingsOptions& Options() { return options_; }
    const SettingsOptions& Options() const { return options_; }

    // The Rebuild button, which reads "Stop" while a rebuild runs: starts a rebuild of the
    // copy's catalog, or stops the running one.
    void RescanClick(const StartRebuild& start);
    // A started rebuild has ended: a completed one gives the copy its catalog. The end of
    // a stopped or replaced rebuild is ignored.
    void RebuildEnded(std::uint64_t id, bool completed, CatalogItems items, double lastRebuild);
    // Whether a rebuild runs.
    bool Rebuilding() const { return rebuilding_; }
    // Ends a running rebuild, as Stop does (the quit message, for one).
    void StopRebuild();
    SettingsButtons Buttons() const;
    // Whether the frame may close: never while a rebuild runs.
    bool CloseQuery() const { return !Rebuilding(); }
    // The status tab's text for the timer's tick; nothing while the dialog is closed.
    std::optional<SettingsProgress> Progress(const LocaleSettings& locale) const;

    // OK: the record to apply, built from the controls. Fields the dialog does not edit
    // (the run history, the file name, a catalog that finished loading while the dialog
    // was open) are taken from `current` as it is now, so that the dialog hands back only
    // its own changes. Empty, and the dialog stays open, while a rebuild runs.
    std::optional<SettingsOptions> Confirm(const SettingsControls& controls,
                                           const SettingsOptions& current);
    // Cancel, Esc or the close button: every change, a rebuilt catalog included, is dropped.
    // False while a rebuild runs.
    bool Cancel();

private:
    bool open_ = false;
    bool rebuilt_ = false; // a rebuild completed since the opening
    bool rebuilding_ = false;
    std::uint64_t rebuildId_ = 0;
    std::shared_ptr<CatalogScan> scan_ = std::make_shared<CatalogScan>(); // the latest
    SettingsOptions options_;
};

} // namespace orvan
