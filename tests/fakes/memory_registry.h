#pragma once
// An in-memory registry: keys by root and path with their string and number values, and
// keys that refuse to be written or deleted.
#include "core/ports/registry.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace orvan::testing {

class FakeRegistry final : public RegistryPort {
public:
    // (root, key) -> values; a key without values exists as well.
    mutable std::map<std::pair<RegistryRoot, std::string>, std::map<std::string, std::string>> keys;
    // (root, key) -> number values (REG_DWORD); their key is among `keys` as well.
    mutable std::map<std::pair<RegistryRoot, std::string>, std::map<std::string, std::uint32_t>>
        numbers;
    std::set<std::pair<RegistryRoot, std::string>> readOnly; // writes and deletions fail

    bool KeyExists(RegistryRoot root, const std::string& key) const override {
        return keys.count({root, key}) > 0;
    }
    std::string ReadString(RegistryRoot root, const std::string& key,
                           const std::string& name) const override {
        const auto k = keys.find({root, key});
        if (k == keys.end())
            return {};
        const auto v = k->second.find(name);
        return v == k->second.end() ? std::string() : v->second;
    }
    bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                     const std::string& value) const override {
        if (readOnly.count({root, key}))
            return false;
        keys[{root, key}][name] = value;
        return true;
    }
    bool WriteNumber(RegistryRoot root, const std::string& key, const std::string& name,
                     std::uint32_t value) const override {
        if (readOnly.count({root, key}))
            return false;
        keys[{root, key}];
        numbers[{root, key}][name] = value;
        return true;
    }
    bool DeleteValue(RegistryRoot root, const std::string& key,
                     const std::string& name) const override {
        if (readOnly.count({root, key}))
            return false;
        const auto k = keys.find({root, key});
        if (k != keys.end())
            k->second.erase(name);
        if (const auto n = numbers.find({root, key}); n != numbers.end())
            n->second.erase(name);
        return true;
    }
    bool DeleteKeyTree(RegistryRoot root, const std::string& key) const override {
        if (readOnly.count({root, key}))
            return false;
        keys.erase({root, key});
        numbers.erase({root, key});
        return true;
    }
    bool HasValue(RegistryRoot root, const std::string& key, const std::string& name) const {
        const auto k = keys.find({root, key});
        return k != keys.end() && k->second.count(name) > 0;
    }
};

} // namespace orvan::testing
