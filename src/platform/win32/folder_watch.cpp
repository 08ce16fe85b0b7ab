// Folder watches with ReadDirectoryChangesW: one overlapped read on the folder's handle,
// reissued after every completion, waited for on a thread of its own together with an
// event that stops it. The thread sleeps in WaitForMultipleObjects while nothing changes.
#include "platform/native.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace orvan::platform {

namespace {

struct FileTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
};
struct EventTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
};
using UniqueFile = win32::UniqueHandle<FileTraits>;
using UniqueEvent = win32::UniqueHandle<EventTraits>;

// Created, deleted and renamed entries; a file's writes and times are no change to the
// catalog.
constexpr DWORD kFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;

// Wine (8.0) watches a tree's subfolders only once the process has opened them, or when they
// are created after the watch: a change in a subfolder that existed before is not reported
// until then. Windows watches the whole tree by itself.
bool OnWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Opens every folder below `folder` once, as a listing does, which is what makes Wine add
// them to the tree's watch. Links are not followed: the scanner does not enter them either.
// A large tree takes long, so this runs on the watch's thread and ends when it is stopped.
void OpenSubfolders(const std::wstring& folder, HANDLE stop) {
    if (::WaitForSingleObject(stop, 0) == WAIT_OBJECT_0)
        return;
    WIN32_FIND_DATAW data{};
    const HANDLE find =
        ::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data,
                           FindExSearchLimitToDirectories, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const bool folderEntry = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                                 (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
        if (folderEntry && data.cFileName[0] != L'.')
            OpenSubfolders(folder + L"\\" + data.cFileName, stop);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
}

// The entries a completed read names, as full core paths: every record's name is relative
// to the watched folder and may lead through subfolders.
std::vector<std::string> NamedEntries(const std::string& folder, const BYTE* buffer, DWORD bytes) {
    const std::string prefix = !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
    std::vector<std::string> entries;
    for (DWORD at = 0; at + offsetof(FILE_NOTIFY_INFORMATION, FileName) <= bytes;) {
        FILE_NOTIFY_INFORMATION record{};
        std::memcpy(&record, buffer + at, offsetof(FILE_NOTIFY_INFORMATION, FileName));
        const DWORD nameAt = at + DWORD(offsetof(FILE_NOTIFY_INFORMATION, FileName));
        const DWORD nameBytes = std::min<DWORD>(record.FileNameLength, bytes - nameAt);
        std::wstring name(nameBytes / sizeof(wchar_t), L'\0');
        std::memcpy(name.data(), buffer + nameAt, name.size() * sizeof(wchar_t));
        entries.push_back(name.empty() ? folder : prefix + win32::Narrow(name.data(), name.size()));
        if (record.NextEntryOffset == 0)
            break;
        at += record.NextEntryOffset;
    }
    return entries;
}

class DirectoryWatch final : public FolderWatch {
public:
    DirectoryWatch(std::string corePath, std::wstring folder, UniqueFile directory,
                   UniqueEvent stop, UniqueEvent done, bool tree,
                   FolderWatchPort::Callback callback)
        : corePath_(std::move(corePath)), folder_(std::move(folder)),
          directory_(std::move(directory)), stop_(std::move(stop)), done_(std::move(done)),
          tree_(tree), callback_(std::move(callback)) {
        overlapped_.hEvent = done_.Get();
    }
    ~DirectoryWatch() override {
        if (thread_.joinable()) {
            ::SetEvent(stop_.Get());
            thread_.join();
        }
        if (reading_) {
            // The system writes into buffer_ until the cancelled read has completed.
            ::CancelIoEx(directory_.Get(), &overlapped_);
            DWORD bytes = 0;
            ::GetOverlappedResult(directory_.Get(), &overlapped_, &bytes, TRUE);
        }
    }
    DirectoryWatch(const DirectoryWatch&) = delete;
    DirectoryWatch& operator=(const DirectoryWatch&) = delete;

    bool Read() {
        ::ResetEvent(done_.Get());
        reading_ = ::ReadDirectoryChangesW(directory_.Get(), buffer_, sizeof buffer_, tree_,
                                           kFilter, nullptr, &overlapped_, nullptr) != FALSE;
        return reading_;
    }
    // Starts the watch's thread, which issues the first read itself before the watch is
    // handed out (what happens after Watch returns is seen): a read belongs to the thread
    // that issued it and is cancelled when that thread ends, and the caller's thread may
    // end long before the watch does.
    bool Run(bool openSubfolders) {
        std::promise<bool> issued;
        std::future<bool> first = issued.get_future();
        // The promise moves into the thread: set_value may still be at work in it after the
        // future has woken this thread, which then returns.
        thread_ = std::thread([this, openSubfolders, issued = std::move(issued)]() mutable {
            const bool reading = Read();
            // Wine's tree watch takes in the subfolders opened while a read waits; they are
            // closed again before the watch is handed out, so that the folder is free.
            if (reading && openSubfolders)
                OpenSubfolders(folder_, stop_.Get());
            issued.set_value(reading);
            if (reading)
                Loop();
        });
        if (first.get())
            return true;
        thread_.join();
        return false;
    }

private:
    void Loop() {
        const HANDLE waits[2] = {stop_.Get(), done_.Get()};
        for (;;) {
            const DWORD woke = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
            if (woke != WAIT_OBJECT_0 + 1)
                return; // stopped (or the wait broke: the owner stops it soon)
            DWORD bytes = 0;
            const BOOL read = ::GetOverlappedResult(directory_.Get(), &overlapped_, &bytes, FALSE);
            const DWORD error = read ? ERROR_SUCCESS : ::GetLastError();
            reading_ = false;
            if (read && bytes > 0) {
                callback_(FolderChange::Changed, NamedEntries(corePath_, buffer_, bytes));
            } else if (read || error == ERROR_NOTIFY_ENUM_DIR) {
                // No bytes: more changed than the buffer held, and the system dropped them.
                callback_(FolderChange::Lost, {});
            } else {
                End();
                return;
            }
            if (!Read()) {
                End();
                return;
            }
        }
    }

    // The read failed: because the folder went away, or for a reason of the system's.
    void End() {
        const DWORD attributes = ::GetFileAttributesW(folder_.c_str());
        const bool gone =
            attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        callback_(gone ? FolderChange::Gone : FolderChange::Failed, {});
    }

    std::string corePath_; // as the caller named the folder: the entries' paths start with it
    std::wstring folder_;
    UniqueFile directory_;
    UniqueEvent stop_;
    UniqueEvent done_;
    bool tree_;
    FolderWatchPort::Callback callback_;
    OVERLAPPED overlapped_{};
    bool reading_ = false;
    // FILE_NOTIFY_INFORMATION records are DWORD-aligned; 64 KiB is the most a read over
    // the network may ask for.
    alignas(DWORD) BYTE buffer_[64 * 1024];
    std::thread thread_;
};

class DirectoryWatchPort final : public FolderWatchPort {
public:
    std::unique_ptr<FolderWatch> Watch(const std::string& folder, bool tree,
                                       Callback callback) const override {
        std::wstring wide = win32::Wide(folder);
        UniqueFile directory(::CreateFileW(
            wide.c_str(), FILE_LIST_DIRECTORY,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
        if (!directory)
            return nullptr;
        BY_HANDLE_FILE_INFORMATION facts{};
        if (!::GetFileInformationByHandle(directory.Get(), &facts) ||
            (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return nullptr;
        UniqueEvent stop(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        UniqueEvent done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!stop || !done)
            return nullptr;
        auto watch = std::make_unique<DirectoryWatch>(folder, std::move(wide), std::move(directory),
                                                      std::move(stop), std::move(done), tree,
                                                      std::move(callback));
        static const bool onWine = OnWine();
        if (!watch->Run(tree && onWine))
            return nullptr;
        return watch;
    }
};

} // namespace

const FolderWatchPort& FolderWatches() {
    static const DirectoryWatchPort port;
    return port;
}

} // namespace orvan::platform
