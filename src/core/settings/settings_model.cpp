#include "core/settings/settings_model.h"

#include "core/base/date_general.h"
#include "core/language/language.h"

namespace orvan {

namespace {

bool& CheckField(SettingsOptions& options, SettingsCheck check) {
    switch (check) {
    case SettingsCheck::AlwaysVisible:
        return options.alwaysVisible;
    case SettingsCheck::AutoHide:
        return options.autoHide;
    case SettingsCheck::AlwaysOnTop:
        return options.alwaysOnTop;
    case SettingsCheck::AutoCenter:
        return options.autoCenter;
    case SettingsCheck::ShowOnDesktop:
        return options.showOnDesktop;
    case SettingsCheck::PortableMode:
        return options.portable;
    case SettingsCheck::CatalogAutoUpdate:
        return options.catalog.autoUpdate;
    case SettingsCheck::ShowTrayIcon:
    case SettingsCheck::OrderByRelevance: // not a flag of the record: see the two below
        break;
    }
    return options.trayIcon;
}

bool ReadCheck(const SettingsOptions& options, SettingsCheck check) {
    if (check == SettingsCheck::OrderByRelevance)
        return options.order == ResultOrder::Relevance;
    return CheckField(const_cast<SettingsOptions&>(options), check);
}

void WriteCheck(SettingsOptions& options, SettingsCheck check, bool value) {
    if (check == SettingsCheck::OrderByRelevance)
        options.order = value ? ResultOrder::Relevance : ResultOrder::Name;
    else
        CheckField(options, check) = value;
}

constexpr int kRebuildCaption = 9000051;
constexpr int kStopCaption = 9000052;
constexpr int kForgetCaption = 8000065;

} // namespace

const std::array<SettingsCheckBox, kSettingsCheckCount> kSettingsCheckBoxes{{
    {SettingsCheck::AlwaysVisible, 9000020, true},
    {SettingsCheck::AutoHide, 9000021, true},
    {SettingsCheck::AlwaysOnTop, 9000022, true},
    {SettingsCheck::AutoCenter, 9000023, true},
    {SettingsCheck::ShowOnDesktop, 9000028, false},
    {SettingsCheck::PortableMode, 9000024, false},
    {SettingsCheck::CatalogAutoUpdate, 9000025, true},
    {SettingsCheck::ShowTrayIcon, 9000029, true},
    {SettingsCheck::OrderByRelevance, 8000064, true},
}};

std::vector<LanguageChoice> LanguageChoices(const std::vector<LanguageFileInfo>& files) {
    std::vector<LanguageChoice> choices;
    choices.reserve(LanguageList.size() - 1);
    for (std::size_t i = 1; i < LanguageList.size(); ++i)
        choices.push_back({LanguageChoiceText(LanguageList[i], files), LanguageList[i].lcid});
    return choices;
}

std::size_t LanguageChoiceIndex(std::int32_t lcid) {
    for (std::size_t i = 1; i < LanguageList.size(); ++i)
        if (LanguageList[i].lcid == lcid)
            return i - 1;
    return 0;
}

SettingsControls OptionsToControls(const SettingsOptions& options) {
    SettingsControls controls;
    for (const SettingsCheckBox& box : kSettingsCheckBoxes)
        controls.Check(box.check) = ReadCheck(options, box.check);
    // Registration takes the value as 16 bits as well.
    controls.hotKey = static_cast<std::uint16_t>(options.hotKey);
    controls.languageIndex = static_cast<std::ptrdiff_t>(LanguageChoiceIndex(options.language));
    return controls;
}

void ControlsToOptions(const SettingsControls& controls, SettingsOptions& options) {
    for (const SettingsCheckBox& box : kSettingsCheckBoxes)
        if (box.enabled)
            WriteCheck(options, box.check, controls.Check(box.check));
    if ((controls.hotKey & 0xFF) != 0)
        options.hotKey = controls.hotKey;
    const std::ptrdiff_t index = controls.languageIndex;
    const bool listed = index >= 0 && std::size_t(index) + 1 < LanguageList.size();
    options.language = LanguageList[listed ? std::size_t(index) + 1 : 1].lcid;
}

SettingsDialogTexts SettingsTexts() {
    SettingsDialogTexts texts;
    texts.caption = Languages::Text(9000000);
    texts.ok = Languages::Text(1);
    texts.cancel = Languages::Text(2);
    texts.tabs = {Languages::Text(9000010), Languages::Text(9000011), Languages::Text(9000012)};
    texts.rescan = Languages::Text(kRebuildCaption);
    texts.forget = Languages::Text(kForgetCaption);
    for (std::size_t i = 0; i < kSettingsCheckCount; ++i)
        texts.checks[i] = Languages::Text(kSettingsCheckBoxes[i].captionId);
    texts.hotKeyLabel = Languages::TextColon(9000026);
    texts.languageLabel = Languages::TextColon(9000027);
    return texts;
}

std::string RebuildProgressText(std::size_t items, std::int32_t folders, std::int32_t files,
                                const std::string& scanPath) {
    return Languages::TextFmt(
        9000053, {std::to_string(items), std::to_string(folders), std::to_string(files), scanPath});
}

std::string CatalogStatusText(std::size_t items, double lastRebuild, const LocaleSettings& locale) {
    std::string when = lastRebuild != 0 ? FormatDateTimeGeneral(lastRebuild, locale) : "";
    // A stored moment that is no date at all reads as never, not as an empty line end.
    if (when.empty())
        when = "-";
    return Languages::TextFmt(9000054, {std::to_string(items), when});
}

bool SettingsDialogModel::Open(const SettingsOptions& current) {
    if (open_)
        return false;
    open_ = true;
    rebuilt_ = false;
    options_ = current;
    return true;
}

void SettingsDialogModel::RescanClick(const StartRebuild& start) {
    if (rebuilding_) {
        StopRebuild();
        return;
    }
    if (!open_)
        return;
    // A scan of its own each time: a stopped one may still be ending beside the new one.
    scan_ = std::make_shared<CatalogScan>();
    rebuilding_ = true;
    start({++rebuildId_, options_.catalog.paths, scan_});
}

void SettingsDialogModel::StopRebuild() {
    if (!rebuilding_)
        return;
    // The scan ends at its next entry; the button reads "Rebuild" again at once, and what
    // the stopped scan hands back no longer counts.
    scan_->Stop();
    rebuilding_ = false;
}

void SettingsDialogModel::RebuildEnded(std::uint64_t id, bool completed, CatalogItems items,
                                       double lastRebuild) {
    if (!rebuilding_ || id != rebuildId_)
        return;
    rebuilding_ = false;
    if (!completed || !open_)
        return;
    options_.catalog.items = std::move(items);
    options_.catalog.lastRebuild = lastRebuild;
    rebuilt_ = true;
}

SettingsButtons SettingsDialogModel::Buttons() const {
    SettingsButtons buttons;
    if (Rebuilding()) {
        buttons.okEnabled = false;
        buttons.cancelEnabled = false;
        buttons.closeButton = false;
        buttons.rescanCaptionId = kStopCaption;
    }
    return buttons;
}

std::optional<SettingsProgress> SettingsDialogModel::Progress(const LocaleSettings& locale) const {
    if (!open_)
        return std::nullopt;
    SettingsProgress progress;
    if (Rebuilding()) {
        progress.text = RebuildProgressText(scan_->NewItemCount(), scan_->ScannedFolders(),
                                            scan_->ScannedFiles(), scan_->ScanPath());
        progress.waiterVisible = true;
    } else {
        progress.text =
            CatalogStatusText(options_.catalog.items.size(), options_.catalog.lastRebuild, locale);
    }
    return progress;
}

std::optional<SettingsOptions> SettingsDialogModel::Confirm(const SettingsControls& controls,
                                                            const SettingsOptions& current) {
    if (!open_ || Rebuilding())
        return std::nullopt;
    ControlsToOptions(controls, options_);
    SettingsOptions result = current;
    for (const SettingsCheckBox& box : kSettingsCheckBoxes)
        if (box.enabled)
            WriteCheck(result, box.check, ReadCheck(options_, box.check));
    result.hotKey = options_.hotKey;
    result.language = options_.language;
    result.catalog.paths = options_.catalog.paths;
    if (rebuilt_) {
        result.catalog.items = options_.catalog.items;
        result.catalog.lastRebuild = options_.catalog.lastRebuild;
    }
    open_ = false;
    options_ = SettingsOptions();
    return result;
}

bool SettingsDialogModel::Cancel() {
    if (!open_ || Rebuilding())
        return false;
    open_ = false;
    // The copy's catalog may be large; it is not kept until the next opening.
    options_ = SettingsOptions();
    return true;
}

} // namespace orvan
