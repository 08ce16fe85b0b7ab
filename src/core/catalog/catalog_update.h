#pragma once
// Bringing the catalog up to date after some entries on the disk came, went or were renamed,
// by rescanning only what they touch: a tree of 100 000 files takes seconds to scan in full,
// while a new file needs a listing of its folder and of the folders above it. The result is
// the catalog a full rebuild would give, in the same order.
#include "core/catalog/catalog.h"
#include "core/catalog/scanner.h"
#include "core/ports/shell_names.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvan {

// The display names a catalog already holds, by path; the shell is asked only for paths it
// lacks. Asking the shell costs far more than listing the file (8 ms a file under Wine).
// The catalog must outlive it.
class KnownNames final : public ShellNamePort {
public:
    KnownNames(const CatalogItems& catalog, const ShellNamePort& shell);
    std::string DisplayName(const std::string& path) const override;

private:
    const ShellNamePort& shell_;
    std::unordered_map<std::string_view, std::string_view> names_; // into the catalog
};

// More changed entries than this are left to a full rebuild: an installer that unpacked a
// large tree is scanned once rather than entry by entry.
inline constexpr std::size_t kMostChangedEntries = 4096;

enum class EntriesUpdate {
    Updated,       // items holds the new catalog
    Stopped,       // the scan was stopped
    RebuildNeeded, // the changes cannot be followed entry by entry: rebuild in full
};

struct UpdatedCatalog {
    EntriesUpdate outcome = EntriesUpdate::RebuildNeeded;
    std::vector<CatalogItem> items;
};

// The catalog after the entries named in `changed` (full paths, as folder watches report
// them) were created, deleted or renamed, every other entry on the disk being as `catalog`
// says. For every active catalog path whose folder holds a changed entry, the folders from
// the path's folder down to the entry are listed again and the entry itself is scanned
// anew (a file, or a folder with everything below it, within the path's depth, mask and
// rules); every other subfolder keeps the entries the catalog has for it. Entries kept
// keep their display names; new files are named by services.shell.
//
// A full rebuild is needed when there are more than kMostChangedEntries changes, when a
// change names an active path's folder itself (or a folder above it), when the folders of
// two active paths overlap (their entries cannot be told apart), or when the catalog spells
// a path's folder differently from the path.
UpdatedCatalog UpdateCatalogEntries(CatalogScan& scan, const CatalogItems& catalog,
                                    const SettingsOptionsCatalogPaths& paths,
                                    const std::vector<std::string>& changed,
                                    const ScanServices& services);

} // namespace orvan
