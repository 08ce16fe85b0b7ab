#include "platform/win32/registry.h"

#include "platform/native.h"

#include "win32/unique_handle.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <vector>

namespace orvan::platform {

namespace {

struct KeyTraits {
    using Handle = HKEY;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle key) noexcept { ::RegCloseKey(key); }
};
using UniqueKey = win32::UniqueHandle<KeyTraits>;

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

UniqueKey OpenForReading(RegistryRoot root, const std::string& key) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(RootKey(root), win32::Wide(key).c_str(), 0, KEY_READ, &opened) !=
        ERROR_SUCCESS)
        return {};
    return UniqueKey(opened);
}

class Win32Registry final : public RegistryPort {
public:
    bool KeyExists(RegistryRoot root, const std::string& key) const override {
        return bool(OpenForReading(root, key));
    }

    std::string ReadString(RegistryRoot root, const std::string& key,
                           const std::string& name) const override {
        const UniqueKey opened = OpenForReading(root, key);
        if (!opened)
            return {};
        const std::wstring valueName = win32::Wide(name);
        DWORD type = 0;
        DWORD bytes = 0;
        if (::RegQueryValueExW(opened.Get(), valueName.c_str(), nullptr, &type, nullptr, &bytes) !=
                ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return {};
        // The value may change between the two calls; ask again with what was reported.
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2, L'\0');
        DWORD size = DWORD(buffer.size() * sizeof(wchar_t));
        if (::RegQueryValueExW(opened.Get(), valueName.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
            return {};
        // Stored strings need not end with a terminator.
        std::size_t length = size / sizeof(wchar_t);
        while (length > 0 && buffer[length - 1] == L'\0')
            --length;
        return win32::Narrow(buffer.data(), length);
    }

    bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                     const std::string& value) const override {
        HKEY created = nullptr;
        if (::RegCreateKeyExW(RootKey(root), win32::Wide(key).c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, &created, nullptr) != ERROR_SUCCESS)
            return false;
        const UniqueKey owner(created);
        const std::wstring text = win32::Wide(value);
        return ::RegSetValueExW(created, win32::Wide(name).c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(text.c_str()),
                                DWORD((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }

    bool WriteNumber(RegistryRoot root, const std::string& key, const std::string& name,
                     std::uint32_t value) const override {
        HKEY created = nullptr;
        if (::RegCreateKeyExW(RootKey(root), win32::Wide(key).c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, &created, nullptr) != ERROR_SUCCESS)
            return false;
        const UniqueKey owner(created);
        const DWORD number = value;
        return ::RegSetValueExW(created, win32::Wide(name).c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&number),
                                sizeof(number)) == ERROR_SUCCESS;
    }

    bool DeleteValue(RegistryRoot root, const std::string& key,
                     const std::string& name) const override {
        HKEY opened = nullptr;
        const LSTATUS open =
            ::RegOpenKeyExW(RootKey(root), win32::Wide(key).c_str(), 0, KEY_SET_VALUE, &opened);
        if (open == ERROR_FILE_NOT_FOUND)
            return true; // no key, no value
        if (open != ERROR_SUCCESS)
            return false;
        const UniqueKey owner(opened);
        const LSTATUS status = ::RegDeleteValueW(opened, win32::Wide(name).c_str());
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }

    bool DeleteKeyTree(RegistryRoot root, const std::string& key) const override {
        if (key.empty())
            return false; // never the whole root
        const LSTATUS status = ::RegDeleteTreeW(RootKey(root), win32::Wide(key).c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            return false;
        return ::RegDeleteKeyW(RootKey(root), win32::Wide(key).c_str()) == ERROR_SUCCESS ||
               !KeyExists(root, key);
    }
};

} // namespace

const RegistryPort& Registry() {
    static const Win32Registry registry;
    return registry;
}

const RegistryPort* RegistryOrNull() {
    return &Registry();
}

} // namespace orvan::platform
