#pragma once
// The registry as the installation record needs it: two roots, keys written with
// backslashes ("Software\Morvane\Orvan"), string values and the few numbers of the
// Apps & features entry.
#include <cstdint>
#include <string>

namespace orvan {

enum class RegistryRoot { CurrentUser, LocalMachine };

class RegistryPort {
public:
    virtual ~RegistryPort() = default;
    // True when the key can be opened for reading; never creates it.
    virtual bool KeyExists(RegistryRoot root, const std::string& key) const = 0;
    // The string value, or "" when the key cannot be opened (it is not created), the value
    // is missing or it holds no string.
    virtual std::string ReadString(RegistryRoot root, const std::string& key,
                                   const std::string& name) const = 0;
    // Creates the key when needed and sets the value; false on failure.
    virtual bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                             const std::string& value) const = 0;
    // Creates the key when needed and sets a 32-bit number value (REG_DWORD); false on
    // failure. Platforms without it report failure.
    virtual bool WriteNumber(RegistryRoot /*root*/, const std::string& /*key*/,
                             const std::string& /*name*/, std::uint32_t /*value*/) const {
        return false;
    }
    // Removes one value; true when the value is absent afterwards (also when the key or the
    // value never existed). Platforms without it report failure.
    virtual bool DeleteValue(RegistryRoot /*root*/, const std::string& /*key*/,
                             const std::string& /*name*/) const {
        return false;
    }
    // Removes the key with everything below it; true when it is gone afterwards.
    virtual bool DeleteKeyTree(RegistryRoot root, const std::string& key) const = 0;
};

} // namespace orvan
