#pragma once
// The interface thread's end of the catalog's owner: a message-only window that the jobs and
// watches wake (one posted message stands for everything handed in until it is handled) and
// whose one-shot timer wakes the schedule. It belongs to the application, not to a window,
// and outlives every window that shows the catalog.
#include "core/app/services.h"
#include "core/catalog/catalog_keeper.h"
#include "ui/window.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace orvan::ui {

// Posted by a job or a watch: the keeper's inbox holds something.
inline constexpr UINT kCatalogInboxMessage = WM_APP + 3;

class CatalogHost final : public Window, public CatalogKeeperHost {
public:
    // `published` runs when the catalog was replaced, `report` for a failure to show.
    CatalogHost(const ProgramServices& services, std::function<void()> published,
                std::function<void(const std::string&)> report);
    ~CatalogHost() override;

    HWND Create();
    CatalogKeeper& Keeper() { return *keeper_; }

    // CatalogKeeperHost
    void Wake() override;
    void SetTimer(std::optional<double> seconds) override;
    void CatalogPublished() override;
    void Report(const std::string& text) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr UINT_PTR kTimer = 1;
    std::function<void()> published_;
    std::function<void(const std::string&)> report_;
    std::unique_ptr<CatalogKeeper> keeper_;
};

} // namespace orvan::ui
