// Whole-file reads and crash-safe replacement on Linux: the new content goes to a
// temporary file beside the target, is flushed to the disk, and rename() swaps it in, which
// the file system performs as one step.
#include "core/config/path_convert.h"
#include "platform/native.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace orvan::platform {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now and reports whether the close succeeded (a late write error shows here).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string FolderOf(const std::string& native) {
    const std::size_t cut = native.find_last_of('/');
    return cut == 0 ? "/" : native.substr(0, cut);
}

class PosixFileStore final : public FileStorePort {
public:
    FileContent ReadWholeFile(const std::string& path) const override {
        const std::string native = CoreToNativePath(path);
        if (native.empty())
            return {FileContent::Status::Missing, {}};
        FileDescriptor file(open(native.c_str(), O_RDONLY | O_CLOEXEC));
        if (file.Get() < 0) {
            const bool missing = errno == ENOENT || errno == ENOTDIR;
            return {missing ? FileContent::Status::Missing : FileContent::Status::Unreadable, {}};
        }
        struct stat st {};
        if (fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode))
            return {FileContent::Status::Unreadable, {}};
        FileContent content{FileContent::Status::Read, {}};
        content.bytes.reserve(static_cast<std::size_t>(st.st_size));
        char buffer[1 << 16];
        for (;;) {
            const ssize_t got = read(file.Get(), buffer, sizeof buffer);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                return {FileContent::Status::Unreadable, {}};
            }
            if (got == 0)
                break;
            content.bytes.append(buffer, static_cast<std::size_t>(got));
        }
        return content;
    }

    bool ReplaceWholeFile(const std::string& path, std::string_view content) const override {
        const std::string native = CoreToNativePath(path);
        if (native.empty() || native.back() == '/')
            return false;
        const std::string folder = FolderOf(native);
        std::string temp = native + ".XXXXXX";
        FileDescriptor file(mkostemp(temp.data(), O_CLOEXEC));
        if (file.Get() < 0)
            return false;
        // The new file gets the old one's permissions, or the usual ones for a new file.
        struct stat old {};
        mode_t mode = 0;
        if (stat(native.c_str(), &old) == 0) {
            mode = old.st_mode & 07777;
        } else {
            const mode_t mask = umask(0);
            umask(mask);
            mode = 0666 & ~mask;
        }
        const bool written = fchmod(file.Get(), mode) == 0 && WriteAll(file.Get(), content) &&
                             fsync(file.Get()) == 0;
        if (!file.Close() || !written || rename(temp.c_str(), native.c_str()) != 0) {
            unlink(temp.c_str());
            return false;
        }
        // Make the rename itself durable; the data is already on the disk.
        FileDescriptor dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.Get() >= 0)
            fsync(dir.Get());
        return true;
    }

    bool CreateFolders(const std::string& path) const override {
        const std::string native = CoreToNativePath(path);
        if (native.empty())
            return false;
        struct stat st {};
        for (std::size_t pos = 1; pos <= native.size(); ++pos) {
            if (pos < native.size() && native[pos] != '/')
                continue;
            const std::string part = native.substr(0, pos);
            if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
                return false;
        }
        return stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
};

} // namespace

const FileStorePort& FileStore() {
    static const PosixFileStore store;
    return store;
}

} // namespace orvan::platform
