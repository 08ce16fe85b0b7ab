#pragma once
// The catalog file: the catalog's entries as XML beside the options file, so that the
// search window can work at once after start-up without rescanning.
#include "core/base/file_result.h"
#include "core/catalog/launch_memory.h"
#include "core/config/options.h"
#include "core/ports/file_store.h"
#include "core/ports/xml_reader.h"
#include "core/robot/version_defs.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvan {

// The default namespace of every element of the file: the maker's domain, then
// "/XMLSchema/Orvan/". Declared once, on the root element.
constexpr const char* CatalogNamespace = ORVAN_MAKER_DOMAIN "/XMLSchema/Orvan/";

// The options file name with its extension replaced by "_Catalog.xml" (appended when it
// has none): "C:\x\Orvan.ini" -> "C:\x\Orvan_Catalog.xml".
std::string CatalogFileName(std::string_view optionsFileName);

// The whole file text: declaration, root, one "item" per entry with "path", "name" (only
// when not empty) and "priority"; every element on its own line, two spaces per level, CR LF
// line ends. Characters XML 1.0 cannot hold become U+FFFD; CR is kept as a reference.
// With counts, each entry's priority is its path's use count there (0 when it has none)
// instead of the priority it holds: the counts are what the launcher learned since.
std::string SerializeCatalog(const std::vector<CatalogItem>& items,
                             const UseCounts* counts = nullptr);

// How reading a catalog file went: what decides whether the file may be written over.
enum class CatalogReadOutcome {
    Read,       // the whole file
    Missing,    // there is no file: an empty catalog
    Unreadable, // the file could not be opened or read (another program may hold it)
    Damaged,    // the file is not well-formed: the entries before the fault were read
};

struct CatalogReadResult {
    std::vector<CatalogItem> items; // what could be read, in file order
    FileResult status;              // failed when reading stopped early, saying why
    CatalogReadOutcome outcome = CatalogReadOutcome::Read;
};

// Reads a catalog document. A wrong root or namespace gives no entries and no failure; a
// malformed document keeps the entries completed before the fault.
CatalogReadResult ParseCatalog(std::string_view document, const XmlReaderPort& xml);
// The same for a file; a missing file is an empty catalog, no failure.
CatalogReadResult ReadCatalogFile(const std::string& fileName, const FileStorePort& files,
                                  const XmlReaderPort& xml);

struct CatalogFileServices {
    const FileStorePort& files;
    const XmlReaderPort& xml;
};

// Writes the record's catalog to the file beside its options file, replacing the old file
// in one step. On failure ("Unable to write to " and the file name) the old file stays as
// it was.
FileResult SaveCatalog(const SettingsOptions& options, const CatalogFileServices& services,
                       const UseCounts* counts = nullptr);
// The same for a catalog file of the caller's choice.
FileResult WriteCatalogFile(const std::string& fileName, const std::vector<CatalogItem>& items,
                            const UseCounts* counts, const FileStorePort& files);

// Empties the record's catalog, then publishes what the file beside the options file holds.
// A damaged or unreadable file leaves the entries read before the damage, and the result
// says what went wrong; a missing file is an empty catalog and no failure.
FileResult LoadCatalog(SettingsOptions& options, const CatalogFileServices& services);

// Keeps a record between runs: the options, then the catalog (whose folder the options' save
// creates). Stops at the first failure and reports it; an options file that could not be
// had at all (no options folder) is one. Quitting, the rebuild command and the installer
// use it.
FileResult SaveOptionsAndCatalog(const SettingsOptions& options,
                                 const OptionsServices& optionsServices,
                                 const CatalogFileServices& catalogServices,
                                 const UseCounts* counts = nullptr);

} // namespace orvan
