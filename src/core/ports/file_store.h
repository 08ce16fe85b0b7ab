#pragma once
// Whole-file reading and crash-safe replacing, for the options and catalog files.
#include <string>
#include <string_view>

namespace orvan {

struct FileContent {
    enum class Status { Read, Missing, Unreadable };
    Status status = Status::Missing;
    std::string bytes;
};

class FileStorePort {
public:
    virtual ~FileStorePort() = default;

    virtual FileContent ReadWholeFile(const std::string& path) const = 0;

    // Writes content to a temporary file in the same folder, flushes it to the disk and
    // then puts it in place of path in one step, so that a crash or a full disk leaves
    // either the old file or the new one, whole. False (and the old file untouched) on
    // any failure.
    virtual bool ReplaceWholeFile(const std::string& path, std::string_view content) const = 0;

    // Creates a folder together with any missing parent folders; true when it exists after.
    virtual bool CreateFolders(const std::string& path) const = 0;
};

} // namespace orvan
