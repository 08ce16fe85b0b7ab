#include "core/catalog/catalog_update.h"

#include "core/base/utf.h"

#include "core/config/path_variables.h"

#include <memory>
#include <unordered_set>

namespace orvan {

namespace {

// Windows paths ignore letter case; watches and listings give the names as the disk spells
// them, so that ASCII folding only has to catch a path spelled differently in the options.
std::string Folded(std::string_view text) {
    return AsciiUpper(text);
}

bool StartsWithFolded(std::string_view text, std::string_view foldedPrefix) {
    if (text.size() < foldedPrefix.size())
        return false;
    for (std::size_t i = 0; i < foldedPrefix.size(); ++i)
        if (AsciiUpperChar(text[i]) != foldedPrefix[i])
            return false;
    return true;
}

std::string WithTrailingDelimiter(const std::string& folder) {
    return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

std::string_view WithoutTrailingDelimiters(std::string_view path) {
    while (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    return path;
}

// One active catalog path with a folder: the prefix every entry the scan gives starts with.
struct Root {
    const SettingsOptionsCatalogPath* path;
    std::string prefix; // expanded, with a trailing backslash, as the scan builds entries
    std::string folded; // the same, folded
};

// The changes inside one catalog path's folder, folded: the entries themselves and every
// folder between the path's folder and an entry.
struct ChangesBelow {
    std::unordered_set<std::string> entries;
    std::unordered_set<std::string> folders;

    // Whether a folded path is a changed entry or lies below one: it is scanned afresh.
    bool Renewed(const std::string& folded, std::size_t rootLength) const {
        if (entries.count(folded) != 0)
            return true;
        for (std::size_t at = folded.find('\\', rootLength); at != std::string::npos;
             at = folded.find('\\', at + 1))
            if (entries.count(folded.substr(0, at)) != 0)
                return true;
        return false;
    }
};

// The catalog's entries of one catalog path, grouped lazily by folder: for a folder (by
// its prefix), the entries below each of its subfolders, in catalog order. Only the folders
// on the way to a change are ever grouped, each from its parent's group.
class BlockIndex {
public:
    BlockIndex(const std::vector<CatalogItem>& items, std::vector<std::size_t> block,
               const std::string& rootPrefix)
        : items_(items), block_(std::move(block)) {
        Group(rootPrefix, block_);
    }

    // The entries below subfolder (a full path without a trailing backslash).
    const std::vector<std::size_t>& Below(const std::string& subfolder) {
        const std::size_t cut = subfolder.rfind('\\');
        const std::string parent = subfolder.substr(0, cut + 1);
        const std::string_view name = std::string_view(subfolder).substr(cut + 1);
        const Groups& groups = GroupsOf(parent);
        const auto found = groups.find(name);
        return found == groups.end() ? none_ : found->second;
    }

private:
    using Groups = std::unordered_map<std::string_view, std::vector<std::size_t>>;

    const Groups& GroupsOf(const std::string& prefix) {
        if (const auto known = groups_.find(prefix); known != groups_.end())
            return known->second;
        // The parent's group for this folder holds every entry below it. A prefix whose
        // parent was never grouped (a subfolder name a path variable expanded) is grouped
        // from the whole block.
        const std::string_view folder = WithoutTrailingDelimiters(prefix);
        const std::size_t cut = folder.rfind('\\');
        if (cut != std::string_view::npos) {
            const std::string parent(folder.substr(0, cut + 1));
            if (const auto known = groups_.find(parent); known != groups_.end()) {
                const auto group = known->second.find(folder.substr(cut + 1));
                return Group(prefix, group == known->second.end() ? none_ : group->second);
            }
        }
        return Group(prefix, block_);
    }

    const Groups& Group(const std::string& prefix, const std::vector<std::size_t>& candidates) {
        Groups& groups = groups_[prefix];
        for (const std::size_t index : candidates) {
            const std::string& path = items_[index].path;
            if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0)
                continue;
            const std::string_view rest = std::string_view(path).substr(prefix.size());
            const std::size_t cut = rest.find('\\');
            if (cut != std::string_view::npos) // deeper than the folder's own entries
                groups[rest.substr(0, cut)].push_back(index);
        }
        return groups;
    }

    const std::vector<CatalogItem>& items_;
    std::vector<std::size_t> block_;
    std::unordered_map<std::string, Groups> groups_;
    const std::vector<std::size_t> none_;
};

} // namespace

KnownNames::KnownNames(const CatalogItems& catalog, const ShellNamePort& shell) : shell_(shell) {
    names_.reserve(catalog.size());
    for (const CatalogItem& item : catalog)
        if (!item.name.empty())
            names_.emplace(item.path, item.name);
}

std::string KnownNames::DisplayName(const std::string& path) const {
    const auto known = names_.find(path);
    return known != names_.end() ? std::string(known->second) : shell_.DisplayName(path);
}

UpdatedCatalog UpdateCatalogEntries(CatalogScan& scan, const CatalogItems& catalog,
                                    const SettingsOptionsCatalogPaths& paths,
                                    const std::vector<std::string>& changed,
                                    const ScanServices& services) {
    UpdatedCatalog updated;
    if (changed.size() > kMostChangedEntries)
        return updated;

    std::vector<Root> roots;
    for (const SettingsOptionsCatalogPath& path : paths) {
        if (!path.active)
            continue;
        const std::string expanded = ExpandPathVariables(services.folders, path.path);
        if (expanded.empty())
            continue; // the scan gives nothing for it either
        std::string prefix = WithTrailingDelimiter(expanded);
        std::string folded = Folded(prefix);
        for (const Root& other : roots)
            if (other.folded.starts_with(folded) || folded.starts_with(other.folded))
                return updated;
        roots.push_back({&path, std::move(prefix), std::move(folded)});
    }

    std::vector<ChangesBelow> below(roots.size());
    for (const std::string& entry : changed) {
        const std::string folded = Folded(WithoutTrailingDelimiters(entry));
        for (std::size_t r = 0; r < roots.size(); ++r) {
            const std::string& root = roots[r].folded;
            if (StartsWithFolded(root, folded + "\\"))
                return updated; // the path's folder itself, or a folder above it
            if (!folded.starts_with(root))
                continue;
            for (std::size_t at = folded.find('\\', root.size()); at != std::string::npos;
                 at = folded.find('\\', at + 1))
                below[r].folders.insert(folded.substr(0, at));
            below[r].entries.insert(folded);
        }
    }

    // Each path's entries, in catalog order. An entry under a path's folder spelled another
    // way comes from a scan of other options: only a full rebuild puts that right.
    const std::vector<CatalogItem>& items = catalog.items();
    std::vector<std::vector<std::size_t>> blocks(roots.size());
    for (std::size_t index = 0; index < items.size(); ++index) {
        const std::string& path = items[index].path;
        for (std::size_t r = 0; r < roots.size(); ++r) {
            if (path.compare(0, roots[r].prefix.size(), roots[r].prefix) == 0) {
                blocks[r].push_back(index);
                break;
            }
            if (StartsWithFolded(path, roots[r].folded))
                return updated;
        }
    }

    for (std::size_t r = 0; r < roots.size(); ++r) {
        if (below[r].entries.empty()) {
            for (const std::size_t index : blocks[r])
                updated.items.push_back(items[index]);
            continue;
        }
        const Root& root = roots[r];
        const ChangesBelow& changes = below[r];
        BlockIndex index(items, std::move(blocks[r]), root.prefix);
        const CatalogScan::SubfolderShortcut keep = [&](const std::string& subfolder,
                                                        std::vector<CatalogItem>& into) {
            const std::string folded = Folded(subfolder);
            // Scanned anew: a changed folder and what is below it, and the folders on the
            // way to a change (listed again for the order of their entries). A subfolder
            // whose name holds a path variable's percent sign is scanned as well: its
            // entries' paths need not start with its own.
            if (changes.Renewed(folded, root.folded.size()) || changes.folders.count(folded) != 0 ||
                subfolder.find('%', root.prefix.size()) != std::string::npos)
                return false;
            for (const std::size_t kept : index.Below(subfolder))
                into.push_back(items[kept]);
            return true;
        };
        std::optional<std::vector<CatalogItem>> scanned =
            scan.ScanCatalogPath(*root.path, services, keep);
        if (!scanned) {
            updated.outcome = EntriesUpdate::Stopped;
            updated.items.clear();
            return updated;
        }
        updated.items.insert(updated.items.end(), std::make_move_iterator(scanned->begin()),
                             std::make_move_iterator(scanned->end()));
    }
    updated.outcome = EntriesUpdate::Updated;
    return updated;
}

} // namespace orvan
