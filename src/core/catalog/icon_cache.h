#pragma once
// The process-wide icon cache: the shell's small and large icon of a path, fetched together
// on the first request and kept for the rest of the run. The icon type is the platform's
// (an owner of an icon handle on Windows); the cache owns the icons and hands out
// references that stay valid as long as the cache lives.
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>

namespace orvan {

template <typename Icon> class IconCache {
public:
    struct CacheFile {
        std::string FileName; // the path exactly as requested: the key
        Icon SmallIcon;
        Icon LargeIcon;
    };

    // Asks the shell once for one size of a path's icon; an empty icon when it has none.
    using ExtractFileIcon = std::function<Icon(const std::string& path, bool small)>;

    explicit IconCache(ExtractFileIcon extract) : extract_(std::move(extract)) {}

    // The small or the large icon of the path, both fetched on a miss. The key is the exact
    // text: the same path in other letter case is another entry.
    const Icon& GetFileIcon(const std::string& path, bool small) {
        const auto found = index_.find(path);
        if (found != index_.end())
            return Pick(entries_[found->second], small);
        // Fetch before appending so that a failing extraction leaves no half entry.
        Icon smallIcon = extract_(path, true);
        Icon largeIcon = extract_(path, false);
        entries_.push_back({path, std::move(smallIcon), std::move(largeIcon)});
        index_.emplace(path, entries_.size() - 1);
        return Pick(entries_.back(), small);
    }

    // The entry of the path if it was asked for before, without asking the shell.
    const CacheFile* Find(const std::string& path) const {
        const auto found = index_.find(path);
        return found == index_.end() ? nullptr : &entries_[found->second];
    }

    // Entries in order of first request.
    const std::deque<CacheFile>& Entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }

private:
    static const Icon& Pick(const CacheFile& entry, bool small) {
        return small ? entry.SmallIcon : entry.LargeIcon;
    }

    ExtractFileIcon extract_;
    std::deque<CacheFile> entries_; // a deque keeps handed-out references valid
    std::unordered_map<std::string, std::size_t> index_;
};

} // namespace orvan
