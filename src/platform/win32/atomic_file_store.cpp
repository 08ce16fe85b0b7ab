// Whole-file reads and crash-safe replacement on Windows: the new content goes to a
// temporary file in the target's folder, is flushed to the disk, and MoveFileExW puts it in
// place of the old file in one step (write-through, so the move is on the disk when it
// returns).
#include "core/config/temporary_files.h"
#include "platform/native.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <memory>
#include <string>

namespace orvan::platform {

namespace {

// True when the existing file at path has more than one name (hard links).
bool HasOtherNames(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool shared = GetFileInformationByHandle(file, &information) &&
                        information.nNumberOfLinks > 1 &&
                        !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CloseHandle(file);
    return shared;
}

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { CloseHandle(handle); }
};
using UniqueFile = win32::UniqueHandle<FileHandleTraits>;

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos)
        return L".";
    if (cut == 2 && path[1] == L':')
        return path.substr(0, 3); // "C:\"
    return path.substr(0, cut);
}

bool WriteAll(HANDLE file, std::string_view content) {
    while (!content.empty()) {
        const DWORD chunk =
            content.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(content.size());
        DWORD written = 0;
        if (!::WriteFile(file, content.data(), chunk, &written, nullptr) || written == 0)
            return false;
        content.remove_prefix(written);
    }
    return true;
}

class Win32Reader final : public FileReader {
public:
    Win32Reader(UniqueFile file, std::uint64_t size) : file_(std::move(file)), size_(size) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const DWORD want = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD got = 0;
        if (failed_ || !::ReadFile(file_.Get(), buffer, want, &got, nullptr)) {
            failed_ = true;
            return 0;
        }
        return got;
    }
    bool Failed() const override { return failed_; }
    std::uint64_t SizeHint() const override { return size_; }

private:
    UniqueFile file_;
    std::uint64_t size_;
    bool failed_ = false;
};

class Win32Writer final : public FileWriter {
public:
    explicit Win32Writer(HANDLE file) : file_(file) {}
    bool Write(std::string_view bytes) override { return ok_ = ok_ && WriteAll(file_, bytes); }
    bool Ok() const { return ok_; }

private:
    HANDLE file_;
    bool ok_ = true;
};

class Win32FileStore final : public FileStorePort {
public:
    std::unique_ptr<FileReader> OpenFile(const std::string& path,
                                         FileContent::Status& status) const override {
        const std::wstring wide = win32::Wide(path);
        UniqueFile file(CreateFileW(wide.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file) {
            const DWORD error = GetLastError();
            const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                                 error == ERROR_INVALID_NAME || error == ERROR_INVALID_DRIVE;
            status = missing ? FileContent::Status::Missing : FileContent::Status::Unreadable;
            return nullptr;
        }
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) {
            status = FileContent::Status::Unreadable;
            return nullptr;
        }
        status = FileContent::Status::Read;
        return std::make_unique<Win32Reader>(std::move(file),
                                             static_cast<std::uint64_t>(size.QuadPart));
    }

    bool ReplaceFileWith(const std::string& path,
                         const std::function<bool(FileWriter&)>& produce) const override {
        const std::wstring target = win32::Wide(path);
        if (target.empty() || target.back() == L'\\')
            return false;
        const std::wstring folder = FolderOf(target);
        // GetTempFileNameW adds up to four hexadecimal digits and ".tmp" to the prefix: the
        // names RemoveStaleTemporaryFiles knows.
        static_assert(kTemporaryFilePrefix.size() == 3 && kTemporaryFileSuffix == ".tmp");
        const std::wstring prefix = win32::Wide(kTemporaryFilePrefix);
        wchar_t temp[MAX_PATH + 1] = {};
        if (folder.size() >= MAX_PATH - 14 ||
            GetTempFileNameW(folder.c_str(), prefix.c_str(), 0, temp) == 0)
            return false;
        bool ok = false;
        {
            UniqueFile file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file) {
                Win32Writer writer(file.Get());
                ok = produce(writer) && writer.Ok() && FlushFileBuffers(file.Get());
            }
        }
        if (ok && HasOtherNames(target)) {
            // A file that other names share (Scoop keeps a portable copy's options and
            // catalog in its persist folder and links them beside the program): renaming
            // over it would cut the link, and the other name would keep the old content.
            // It is rewritten in place from the flushed temporary file, which stays on the
            // disk until the rewrite is done.
            ok = CopyFileW(temp, target.c_str(), FALSE) != 0;
            DeleteFileW(temp);
            return ok;
        }
        if (ok)
            ok = MoveFileExW(temp, target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        if (!ok)
            DeleteFileW(temp);
        return ok;
    }

    bool CreateFolders(const std::string& path) const override {
        const std::wstring wide = win32::Wide(path);
        if (wide.empty())
            return false;
        // Each prefix that ends before a delimiter, after the drive ("C:") or share part.
        std::size_t start = 0;
        if (wide.rfind(L"\\\\", 0) == 0) { // "\\server\share\": the share must exist
            for (int delimiters = 0; start < wide.size() && delimiters < 4; ++start)
                if (wide[start] == L'\\')
                    ++delimiters;
        }
        for (std::size_t pos = start; pos <= wide.size(); ++pos) {
            if (pos < wide.size() && wide[pos] != L'\\' && wide[pos] != L'/')
                continue;
            const std::wstring part = wide.substr(0, pos);
            if (part.empty() || part.back() == L':' || part.back() == L'\\')
                continue;
            const DWORD attributes = GetFileAttributesW(part.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
                continue;
            if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
                return false;
        }
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
};

} // namespace

const FileStorePort& FileStore() {
    static const Win32FileStore store;
    return store;
}

} // namespace orvan::platform
