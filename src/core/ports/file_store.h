#pragma once
// Reading files and replacing them crash-safely, for the options and catalog files. Large
// files go piece by piece, so that a catalog of a million entries is never held twice.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace orvan {

struct FileContent {
    enum class Status { Read, Missing, Unreadable };
    Status status = Status::Missing;
    std::string bytes;
};

class FileReader {
public:
    virtual ~FileReader() = default;
    // Up to size bytes into buffer; 0 at the end of the file or after a failure.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
    virtual bool Failed() const = 0;
    // The size the file had when it was opened (a hint: it may change meanwhile).
    virtual std::uint64_t SizeHint() const = 0;
};

class FileWriter {
public:
    virtual ~FileWriter() = default;
    virtual bool Write(std::string_view bytes) = 0;
};

class FileStorePort {
public:
    virtual ~FileStorePort() = default;

    // Opens a file for reading; nothing, with status Missing or Unreadable, when it cannot.
    virtual std::unique_ptr<FileReader> OpenFile(const std::string& path,
                                                 FileContent::Status& status) const = 0;

    // Lets produce write the new content into a temporary file in the same folder, flushes
    // it to the disk and then puts it in place of path in one step, so that a crash or a
    // full disk leaves either the old file or the new one, whole. False (and the old file
    // untouched) when produce returns false or anything fails.
    virtual bool ReplaceFileWith(const std::string& path,
                                 const std::function<bool(FileWriter&)>& produce) const = 0;

    // Creates a folder together with any missing parent folders; true when it exists after.
    virtual bool CreateFolders(const std::string& path) const = 0;

    FileContent ReadWholeFile(const std::string& path) const;
    bool ReplaceWholeFile(const std::string& path, std::string_view content) const;
};

} // namespace orvan
