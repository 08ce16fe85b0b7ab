#pragma once
// Writing a text file the user asked for (the details window's "Save to file"): the
// system's 8-bit code page, and a file created or replaced in place.
#include <cstdint>
#include <string>
#include <string_view>

namespace orvan {

class AnsiCodePagePort {
public:
    virtual ~AnsiCodePagePort() = default;
    // The UTF-8 text in the system's ANSI code page. False when some character has no
    // exact counterpart there (no best-fit look-alikes, no "?"); bytes are then unusable.
    virtual bool ToAnsiCodePage(std::string_view text, std::string& bytes) const = 0;
};

struct FileWriteOutcome {
    enum class Status {
        Written,
        OpenFailed,  // the file could not be created: message says why
        WriteFailed, // writing or closing failed: errorNumber is the system's error code
    };
    Status status = Status::Written;
    std::uint32_t errorNumber = 0;
    std::string message;
};

class FileWritePort {
public:
    virtual ~FileWritePort() = default;
    // Creates the file, or empties an existing one, and writes the bytes.
    virtual FileWriteOutcome CreateOrReplace(const std::string& path,
                                             std::string_view bytes) const = 0;
};

} // namespace orvan
