#pragma once
// The special folders (CSIDL numbers) from a map that a test fills; any other is "".
#include "core/ports/special_folders.h"

#include <map>
#include <string>

namespace orvan::testing {

class FakeFolders final : public SpecialFolderPort {
public:
    std::map<int, std::string> folders;
    std::string GetSpecialFolder(int folderNumber) const override {
        const auto it = folders.find(folderNumber);
        return it == folders.end() ? std::string() : it->second;
    }
};

} // namespace orvan::testing
