// A saved text file on Linux. There is no system ANSI code page here, so it is taken to be
// Windows-1252, the code page of Western Windows systems, with Windows' own table: the five
// bytes it leaves undefined stand for the control characters of the same number.
#include "core/base/utf.h"
#include "core/config/path_convert.h"
#include "platform/native_text_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace orvan::platform {

namespace {

// The characters of the bytes 0x80 to 0x9F.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

class Windows1252 final : public AnsiCodePagePort {
public:
    bool ToAnsiCodePage(std::string_view text, std::string& bytes) const override {
        bytes.clear();
        bytes.reserve(text.size());
        std::size_t pos = 0;
        while (pos < text.size()) {
            // Bytes that are no UTF-8 decode as U+FFFD, which has no place in the table.
            const char32_t c = DecodeUtf8(text, pos);
            if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
                bytes.push_back(static_cast<char>(c));
                continue;
            }
            std::size_t i = 0;
            while (i < kHighControls.size() && kHighControls[i] != c)
                ++i;
            if (i == kHighControls.size()) {
                bytes.clear();
                return false;
            }
            bytes.push_back(static_cast<char>(0x80 + i));
        }
        return true;
    }
};

FileWriteOutcome Failure(FileWriteOutcome::Status status) {
    const int error = errno;
    return {status, static_cast<std::uint32_t>(error), std::strerror(error)};
}

class PosixFileWrites final : public FileWritePort {
public:
    FileWriteOutcome CreateOrReplace(const std::string& path,
                                     std::string_view bytes) const override {
        const std::string native = CoreToNativePath(path);
        const int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0)
            return Failure(FileWriteOutcome::Status::OpenFailed);
        while (!bytes.empty()) {
            const ssize_t written = write(fd, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                if (written == 0)
                    errno = EIO;
                FileWriteOutcome failure = Failure(FileWriteOutcome::Status::WriteFailed);
                close(fd);
                return failure;
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        if (close(fd) != 0)
            return Failure(FileWriteOutcome::Status::WriteFailed);
        return {};
    }
};

} // namespace

const AnsiCodePagePort& AnsiCodePage() {
    static const Windows1252 codePage;
    return codePage;
}

const FileWritePort& FileWrites() {
    static const PosixFileWrites files;
    return files;
}

} // namespace orvan::platform
