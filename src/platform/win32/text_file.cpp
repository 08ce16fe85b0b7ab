// A saved text file on Windows: the ANSI code page through WideCharToMultiByte, refusing
// best-fit look-alikes and reporting any character that fell back to the default, and the
// file written in place through CreateFileW.
#include "platform/native_text_file.h"
#include "win32/system_message.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <climits>

namespace orvan::platform {

namespace {

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { CloseHandle(handle); }
};
using UniqueFile = win32::UniqueHandle<FileHandleTraits>;

class Win32AnsiCodePage final : public AnsiCodePagePort {
public:
    bool ToAnsiCodePage(std::string_view text, std::string& bytes) const override {
        bytes.clear();
        const std::wstring wide = win32::Wide(text);
        if (wide.empty())
            return true;
        if (wide.size() > static_cast<std::size_t>(INT_MAX))
            return false;
        // With UTF-8 as the system's code page every character has its place; the call
        // below would refuse the flags for it.
        if (GetACP() == CP_UTF8) {
            bytes = win32::Narrow(wide.data(), wide.size());
            return true;
        }
        const int length = static_cast<int>(wide.size());
        BOOL usedDefault = FALSE;
        const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                             nullptr, 0, nullptr, &usedDefault);
        if (size <= 0 || usedDefault)
            return false;
        bytes.resize(static_cast<std::size_t>(size));
        const int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                                bytes.data(), size, nullptr, &usedDefault);
        if (written != size || usedDefault) {
            bytes.clear();
            return false;
        }
        return true;
    }
};

class Win32FileWrites final : public FileWritePort {
public:
    FileWriteOutcome CreateOrReplace(const std::string& path,
                                     std::string_view bytes) const override {
        UniqueFile file(CreateFileW(win32::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            const DWORD error = GetLastError();
            return {FileWriteOutcome::Status::OpenFailed, error, win32::SystemMessage(error)};
        }
        while (!bytes.empty()) {
            const DWORD chunk =
                bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
            DWORD written = 0;
            if (!::WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
                const DWORD error = GetLastError();
                return {FileWriteOutcome::Status::WriteFailed, error, win32::SystemMessage(error)};
            }
            bytes.remove_prefix(written);
        }
        if (!CloseHandle(file.Release())) {
            const DWORD error = GetLastError();
            return {FileWriteOutcome::Status::WriteFailed, error, win32::SystemMessage(error)};
        }
        return {};
    }
};

} // namespace

const AnsiCodePagePort& AnsiCodePage() {
    static const Win32AnsiCodePage codePage;
    return codePage;
}

const FileWritePort& FileWrites() {
    static const Win32FileWrites files;
    return files;
}

} // namespace orvan::platform
