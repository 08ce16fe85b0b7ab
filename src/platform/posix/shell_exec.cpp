// The shell on Linux: a file or folder is handed to xdg-open, the desktop's "open". The
// program is started directly (never through a shell, so no character of a path means
// anything to anyone) and detached, so that a viewer that xdg-open keeps in the foreground
// never blocks the caller and no child is left unreaped. Failures map onto the nearest
// code of the Windows shell's failure table.
#include "core/config/path_convert.h"
#include "platform/native_shell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace orvan::platform {

namespace {

// The shell's failure codes that apply here.
constexpr std::intptr_t kOutOfResources = 0;
constexpr std::intptr_t kFileNotFound = 2;
constexpr std::intptr_t kPathNotFound = 3;
constexpr std::intptr_t kAccessDenied = 5;
constexpr std::intptr_t kOutOfMemory = 8;
constexpr std::intptr_t kNoAssociation = 31;
constexpr std::intptr_t kAccepted = 42; // any value above 32

// What the detached child reports through the pipe when it cannot go on.
struct ChildFailure {
    int stage; // 1 fork, 2 chdir, 3 exec
    int error;
};

bool IsFolder(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The first executable "name" in a folder of PATH; empty entries (the current folder) are
// not searched.
std::string FindProgram(std::string_view name) {
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!rest.empty()) {
        const std::size_t end = rest.find(':');
        const std::string_view folder = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (folder.empty() || folder.front() != '/')
            continue;
        std::string candidate(folder);
        candidate += '/';
        candidate += name;
        struct stat st {};
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

std::intptr_t MissingTarget(const std::string& native) {
    if (errno == EACCES)
        return kAccessDenied;
    // A missing file in an existing folder, or a missing folder on the way.
    const std::size_t slash = native.find_last_of('/');
    const std::string parent = slash == 0 ? "/" : native.substr(0, slash);
    return IsFolder(parent) ? kFileNotFound : kPathNotFound;
}

std::intptr_t MapChildFailure(const ChildFailure& failure) {
    switch (failure.stage) {
    case 1:
        return failure.error == ENOMEM ? kOutOfMemory : kOutOfResources;
    case 2:
        return failure.error == EACCES ? kAccessDenied : kPathNotFound;
    default:
        return failure.error == ENOMEM ? kOutOfMemory : kNoAssociation;
    }
}

void Report(int fd, int stage) {
    const ChildFailure failure{stage, errno};
    ssize_t written;
    do
        written = write(fd, &failure, sizeof failure);
    while (written < 0 && errno == EINTR);
}

class PosixShell final : public ShellPort {
public:
    std::intptr_t Open(const std::string& file, const std::string& /*parameters*/,
                       const std::string& directory, int /*showCommand*/) const override {
        // xdg-open takes one path and nothing else, so parameters have no place; the show
        // command is the desktop's business.
        const std::string native = CoreToNativePath(file);
        if (native.empty())
            return kPathNotFound;
        struct stat st {};
        if (stat(native.c_str(), &st) != 0)
            return MissingTarget(native);
        std::string workDir;
        if (!directory.empty()) {
            workDir = CoreToNativePath(directory);
            if (workDir.empty() || !IsFolder(workDir))
                return kPathNotFound;
        }
        const std::string opener = FindProgram("xdg-open");
        if (opener.empty())
            return kNoAssociation;
        // Everything the children need is prepared here: after fork only system calls.
        char* const argv[] = {const_cast<char*>(opener.c_str()), const_cast<char*>(native.c_str()),
                              nullptr};

        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return kOutOfResources;
        const pid_t child = fork();
        if (child < 0) {
            const int error = errno;
            close(fds[0]);
            close(fds[1]);
            return error == ENOMEM ? kOutOfMemory : kOutOfResources;
        }
        if (child == 0) {
            // The middle child starts the opener and ends at once, so the opener belongs
            // to init and the caller waits only for this short step.
            const pid_t grandchild = fork();
            if (grandchild < 0) {
                Report(fds[1], 1);
                _exit(1);
            }
            if (grandchild == 0) {
                setsid();
                if (!workDir.empty() && chdir(workDir.c_str()) != 0) {
                    Report(fds[1], 2);
                    _exit(127);
                }
                execv(opener.c_str(), argv);
                Report(fds[1], 3);
                _exit(127);
            }
            _exit(0);
        }
        close(fds[1]);
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        // The pipe closes when the opener has started (close-on-exec) or reports a failure.
        ChildFailure failure{};
        ssize_t got;
        do
            got = read(fds[0], &failure, sizeof failure);
        while (got < 0 && errno == EINTR);
        close(fds[0]);
        if (got == static_cast<ssize_t>(sizeof failure))
            return MapChildFailure(failure);
        return kAccepted;
    }

    bool OpenAsDesktopUser(const std::string& file, const std::string& parameters,
                           const std::string& directory) const override {
        // Nothing here runs with more rights than the user's own.
        return Open(file, parameters, directory, kShowNormal) > 32;
    }

    bool RunAs(std::uintptr_t /*ownerWindow*/, const std::string& /*file*/,
               const std::string& /*parameters*/) const override {
        // Linux has no elevation request of the shell; the installer hand-over that uses it
        // exists on Windows only.
        return false;
    }
};

} // namespace

const ShellPort& Shell() {
    static const PosixShell shell;
    return shell;
}

} // namespace orvan::platform
