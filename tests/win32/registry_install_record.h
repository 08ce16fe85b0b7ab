#pragma once
// Test fixture: an installation record for the current user, as the installer writes it.
// Whatever record was there before comes back at the end.
#include "core/app/install_info.h"
#include "platform/win32/registry.h"

#include <map>
#include <string>

namespace orvan::testing {

class InstallRecord {
public:
    static constexpr const char* kValues[] = {"Title", "Version", "Path", "Installed"};

    InstallRecord() {
        const RegistryPort& registry = platform::Registry();
        existed_ = registry.KeyExists(RegistryRoot::CurrentUser, kInstallKey);
        if (existed_)
            for (const char* name : kValues)
                saved_[name] = registry.ReadString(RegistryRoot::CurrentUser, kInstallKey, name);
    }
    ~InstallRecord() {
        const RegistryPort& registry = platform::Registry();
        registry.DeleteKeyTree(RegistryRoot::CurrentUser, kInstallKey);
        if (existed_)
            for (const auto& [name, value] : saved_)
                registry.WriteString(RegistryRoot::CurrentUser, kInstallKey, name, value);
    }
    InstallRecord(const InstallRecord&) = delete;
    InstallRecord& operator=(const InstallRecord&) = delete;

    void Install() const {
        const RegistryPort& registry = platform::Registry();
        registry.WriteString(RegistryRoot::CurrentUser, kInstallKey, "Title", "Orvan!");
        registry.WriteString(RegistryRoot::CurrentUser, kInstallKey, "Version", "0.1 Beta 1");
        registry.WriteString(RegistryRoot::CurrentUser, kInstallKey, "Path", "C:\\Orvan\\");
        registry.WriteString(RegistryRoot::CurrentUser, kInstallKey, "Installed", "46000");
    }
    void Remove() const {
        platform::Registry().DeleteKeyTree(RegistryRoot::CurrentUser, kInstallKey);
    }

private:
    bool existed_ = false;
    std::map<std::string, std::string> saved_;
};

} // namespace orvan::testing
