// Whole-file reads and crash-safe replacement on Linux: the new content goes to a
// temporary file beside the target, is flushed to the disk, and rename() swaps it in, which
// the file system performs as one step.
#include "core/config/path_convert.h"
#include "core/config/temporary_files.h"
#include "platform/native.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
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
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
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

class PosixReader final : public FileReader {
public:
    PosixReader(int fd, std::uint64_t size) : file_(fd), size_(size) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        while (!failed_) {
            const ssize_t got = read(file_.Get(), buffer, size);
            if (got >= 0)
                return static_cast<std::size_t>(got);
            if (errno != EINTR)
                failed_ = true;
        }
        return 0;
    }
    bool Failed() const override { return failed_; }
    std::uint64_t SizeHint() const override { return size_; }

private:
    FileDescriptor file_;
    std::uint64_t size_;
    bool failed_ = false;
};

class PosixWriter final : public FileWriter {
public:
    explicit PosixWriter(int fd) : fd_(fd) {}
    bool Write(std::string_view bytes) override { return ok_ = ok_ && WriteAll(fd_, bytes); }
    bool Ok() const { return ok_; }

private:
    int fd_;
    bool ok_ = true;
};

class PosixFileStore final : public FileStorePort {
public:
    std::unique_ptr<FileReader> OpenFile(const std::string& path,
                                         FileContent::Status& status) const override {
        status = FileContent::Status::Missing;
        const std::string native = CoreToNativePath(path);
        if (native.empty())
            return nullptr;
        const int fd = open(native.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            if (errno != ENOENT && errno != ENOTDIR)
                status = FileContent::Status::Unreadable;
            return nullptr;
        }
        FileDescriptor file(fd);
        struct stat st {};
        if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            status = FileContent::Status::Unreadable;
            return nullptr;
        }
        status = FileContent::Status::Read;
        return std::make_unique<PosixReader>(file.Release(),
                                             static_cast<std::uint64_t>(st.st_size));
    }

    bool ReplaceFileWith(const std::string& path,
                         const std::function<bool(FileWriter&)>& produce) const override {
        const std::string native = CoreToNativePath(path);
        if (native.empty() || native.back() == '/')
            return false;
        const std::string folder = FolderOf(native);
        // Named as RemoveStaleTemporaryFiles knows them, so that one a crash left is found.
        std::string temp = (folder == "/" ? "" : folder) + "/" + std::string(kTemporaryFilePrefix) +
                           "XXXXXX" + std::string(kTemporaryFileSuffix);
        FileDescriptor file(
            mkostemps(temp.data(), static_cast<int>(kTemporaryFileSuffix.size()), O_CLOEXEC));
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
        PosixWriter writer(file.Get());
        const bool written = fchmod(file.Get(), mode) == 0 && produce(writer) && writer.Ok() &&
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
