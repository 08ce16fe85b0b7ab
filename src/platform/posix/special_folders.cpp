// Special folders on Linux: the user's XDG folders, expressed as drive C: paths.
#include "core/config/path_convert.h"
#include "platform/native.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace orvan::platform {

namespace {

std::string StripTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// Only absolute values count: relative ones are invalid under the XDG rules and must be
// ignored.
std::string AbsoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return {};
    return StripTrailingSlashes(value);
}

std::string Home() {
    std::string home = AbsoluteEnv("HOME");
    if (!home.empty())
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/')
        return StripTrailingSlashes(found->pw_dir);
    return {};
}

std::string Below(const std::string& base, std::string_view relative) {
    if (base.empty())
        return {};
    return base == "/" ? "/" + std::string(relative) : base + "/" + std::string(relative);
}

std::string ConfigHome() {
    std::string config = AbsoluteEnv("XDG_CONFIG_HOME");
    return config.empty() ? Below(Home(), ".config") : config;
}

std::string DataHome() {
    std::string data = AbsoluteEnv("XDG_DATA_HOME");
    return data.empty() ? Below(Home(), ".local/share") : data;
}

// Reads one entry of user-dirs.dirs the way xdg-user-dir does: KEY="$HOME/..." or
// KEY="/absolute", backslash escapes inside the quotes, the last line for a key wins.
std::string ParseUserDir(const std::string& content, std::string_view key,
                         const std::string& home) {
    std::string result;
    std::size_t lineStart = 0;
    while (lineStart < content.size()) {
        std::size_t lineEnd = content.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = content.size();
        std::string_view line(content.data() + lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;

        auto skipBlanks = [&line] {
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
                line.remove_prefix(1);
        };
        skipBlanks();
        if (line.substr(0, key.size()) != key)
            continue;
        line.remove_prefix(key.size());
        skipBlanks();
        if (line.empty() || line.front() != '=')
            continue;
        line.remove_prefix(1);
        skipBlanks();
        if (line.empty() || line.front() != '"')
            continue;
        line.remove_prefix(1);
        std::string value;
        if (line.substr(0, 5) == "$HOME") {
            line.remove_prefix(5);
            if (home.empty() || line.empty() || (line.front() != '/' && line.front() != '"'))
                continue;
            value = home;
        } else if (line.empty() || line.front() != '/') {
            continue;
        }
        bool closed = false;
        while (!line.empty()) {
            char c = line.front();
            line.remove_prefix(1);
            if (c == '"') {
                closed = true;
                break;
            }
            if (c == '\\' && !line.empty()) {
                c = line.front();
                line.remove_prefix(1);
            }
            value.push_back(c);
        }
        if (closed)
            result = StripTrailingSlashes(value);
    }
    return result;
}

// user-dirs.dirs is read again only when it changed, so the scanner's lookup per folder
// costs a stat, not a file read, and a moved folder is still picked up at once.
class UserDirsFile {
public:
    std::string Lookup(std::string_view key, std::string_view fallback) {
        const std::string home = Home();
        const std::string path = Below(ConfigHome(), "user-dirs.dirs");
        std::string content;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            Refresh(path);
            content = content_;
        }
        std::string dir = ParseUserDir(content, key, home);
        return dir.empty() ? Below(home, fallback) : dir;
    }

private:
    void Refresh(const std::string& path) {
        struct stat st {};
        if (path.empty() || stat(path.c_str(), &st) != 0) {
            path_.clear();
            content_.clear();
            return;
        }
        if (path == path_ && st.st_dev == st_.st_dev && st.st_ino == st_.st_ino &&
            st.st_size == st_.st_size && st.st_mtim.tv_sec == st_.st_mtim.tv_sec &&
            st.st_mtim.tv_nsec == st_.st_mtim.tv_nsec && st.st_ctim.tv_sec == st_.st_ctim.tv_sec &&
            st.st_ctim.tv_nsec == st_.st_ctim.tv_nsec)
            return;
        std::ifstream in(path, std::ios::binary);
        std::string content;
        constexpr std::size_t kLimit = 1 << 20; // a settings file, never this large
        char buffer[4096];
        while (in && content.size() < kLimit) {
            in.read(buffer, sizeof buffer);
            content.append(buffer, static_cast<std::size_t>(in.gcount()));
        }
        path_ = path;
        st_ = st;
        content_ = std::move(content);
    }

    std::mutex mutex_;
    std::string path_;
    struct stat st_ {};
    std::string content_;
};

class PosixSpecialFolders final : public SpecialFolderPort {
public:
    std::string GetSpecialFolder(int folderNumber) const override {
        const std::string native = NativeFolder(folderNumber);
        return native.empty() ? std::string() : NativeToCorePath(native);
    }

private:
    std::string NativeFolder(int folderNumber) const {
        switch (folderNumber) {
        case Csidl::AppData:
            return ConfigHome();
        case Csidl::LocalAppData:
            return DataHome();
        case Csidl::Desktop:
            return userDirs_.Lookup("XDG_DESKTOP_DIR", "Desktop");
        case Csidl::Personal:
        case Csidl::MyDocuments:
            return userDirs_.Lookup("XDG_DOCUMENTS_DIR", "Documents");
        case Csidl::Profile:
            return Home();
        case Csidl::StartMenu:
        case Csidl::Programs:
            return Below(DataHome(), "applications");
        case Csidl::CommonStartMenu:
        case Csidl::CommonPrograms:
            return "/usr/share/applications";
        case Csidl::ProgramFiles:
            return "/opt";
        default:
            // Control panel, printers, favourites, history, the Windows folder, common
            // program files and administrative tools have no Linux counterpart.
            return {};
        }
    }

    mutable UserDirsFile userDirs_;
};

} // namespace

const SpecialFolderPort& SpecialFolders() {
    static const PosixSpecialFolders folders;
    return folders;
}

} // namespace orvan::platform
