#pragma once
// The run page of the search window: the details area, Tab completion, Ctrl+Backspace,
// starting the selected candidate and the history recall, each answered by the core's
// models and put on the window through its run-page access.
#include "core/fileinfo/file_info.h"
#include "core/search/launch.h"
#include "ui/search_slots.h"

namespace orvan::ui {

class RunPage final : public RunPageHandler {
public:
    RunPage(FileInfoServices fileInfo, LaunchServices launch)
        : fileInfo_(fileInfo), launch_(launch) {}

    void UpdateRunDetails(RunPageAccess& page) override;
    void Complete(RunPageAccess& page) override;
    void CutPathComponent(RunPageAccess& page) override;
    bool RunSelected(RunPageAccess& page) override;
    void RecallHistory(RunPageAccess& page) override;

private:
    FileInfoServices fileInfo_;
    LaunchServices launch_;
};

} // namespace orvan::ui
