// Shortcut files through the shell's link object: IShellLinkW for the contents,
// IPersistFile to write the ".lnk" file.
#include "platform/native_install.h"

#include "win32/com.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

namespace orvan::platform {

namespace {

using win32::ComApartment;
using win32::ComPtr;

// The shell's link object, {00021401-0000-0000-C000-000000000046}. Named here rather than
// taken from uuid.lib: the piece of that library holding it also defines IID_IAccessible,
// which oleacc.lib defines as well, and a program linking both would not link.
constexpr CLSID kShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

class Win32ShellLinks final : public ShellLinkPort {
public:
    bool SaveShortcut(const ShellLink& link, const std::string& file) const override {
        if (file.empty())
            return false;
        const ComApartment apartment;
        ComPtr<IShellLinkW> shellLink;
        if (FAILED(::CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER,
                                      __uuidof(IShellLinkW), shellLink.Out())))
            return false;
        if (FAILED(shellLink->SetPath(win32::Wide(link.target).c_str())) ||
            FAILED(shellLink->SetArguments(win32::Wide(link.arguments).c_str())) ||
            FAILED(shellLink->SetWorkingDirectory(win32::Wide(link.workingFolder).c_str())) ||
            FAILED(shellLink->SetDescription(win32::Wide(link.description).c_str())))
            return false;
        ComPtr<IPersistFile> persist;
        if (FAILED(shellLink->QueryInterface(__uuidof(IPersistFile), persist.Out())))
            return false;
        return persist->Save(win32::Wide(file).c_str(), FALSE) == S_OK;
    }
};

} // namespace

const ShellLinkPort& ShellLinks() {
    static const Win32ShellLinks links;
    return links;
}

} // namespace orvan::platform
