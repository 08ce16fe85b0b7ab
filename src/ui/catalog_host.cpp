#include "ui/catalog_host.h"

#include "core/config/options.h"

#include <objbase.h>

#include <algorithm>
#include <cmath>

namespace orvan::ui {

namespace {

constexpr const wchar_t* kClass = L"TOrvanCatalog";

CatalogKeeperServices KeeperServices(const ProgramServices& services) {
    return {services.options.fileSystem, services.options.folders, *services.shellNames,
            *services.clock, services.catalog, services.folderWatches,
            [] { return double(::GetTickCount64()) / 1000.0; },
            // Display names come from the shell, which wants a COM apartment on its thread;
            // the scan runs in the background mode, at low processor and disk priority, so
            // that typing and the programs the user starts come first.
            [] {
                ::SetThreadPriority(::GetCurrentThread(), THREAD_MODE_BACKGROUND_BEGIN);
                ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
            },
            [] {
                ::CoUninitialize();
                ::SetThreadPriority(::GetCurrentThread(), THREAD_MODE_BACKGROUND_END);
            }};
}

} // namespace

CatalogHost::CatalogHost(const ProgramServices& services, std::function<void()> published,
                         std::function<void(const std::string&)> report)
    : published_(std::move(published)), report_(std::move(report)),
      keeper_(std::make_unique<CatalogKeeper>(KeeperServices(services), *this, CurrentOptions())) {}

CatalogHost::~CatalogHost() {
    // No job wakes the window after this; the base destroys it.
    keeper_->Shutdown();
}

HWND CatalogHost::Create() {
    static WindowClassRegistration registration = RegisterWindowClass(kClass, 0, nullptr, nullptr);
    return CreateWindowFor(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr);
}

void CatalogHost::Wake() {
    // Any thread; the window is destroyed only after the keeper has shut its inbox.
    ::PostMessageW(Handle(), kCatalogInboxMessage, 0, 0);
}

void CatalogHost::SetTimer(std::optional<double> seconds) {
    if (!seconds) {
        ::KillTimer(Handle(), kTimer);
        return;
    }
    // USER timers take at most about 24.8 days; the schedule's moments are far nearer.
    const UINT milliseconds = UINT(std::min(std::ceil(*seconds * 1000.0), 2.0e9)) + 1;
    ::SetTimer(Handle(), kTimer, milliseconds, nullptr);
}

void CatalogHost::CatalogPublished() {
    if (published_)
        published_();
}

void CatalogHost::Report(const std::string& text) {
    if (report_)
        report_(text);
}

LRESULT CatalogHost::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kCatalogInboxMessage:
        keeper_->Dispatch();
        return 0;
    case WM_TIMER:
        if (wParam == kTimer) {
            ::KillTimer(Handle(), kTimer);
            keeper_->OnTimer();
            return 0;
        }
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

} // namespace orvan::ui
