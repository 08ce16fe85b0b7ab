#pragma once
// The catalog file: the catalog's entries as XML beside the options file, so that the
// search window can work at once after start-up without rescanning.
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
std::string SerializeCatalog(const std::vector<CatalogItem>& items);

struct CatalogReadResult {
    std::vector<CatalogItem> items; // what could be read, in file order
    bool missing = false;           // there was no file
    std::string error;              // why reading stopped early; "" when it did not
};

// Reads a catalog document. A wrong root or namespace gives no entries and no error; a
// malformed document keeps the entries completed before the fault.
CatalogReadResult ParseCatalog(std::string_view document, const XmlReaderPort& xml);
CatalogReadResult ReadCatalogFile(const std::string& fileName, const FileStorePort& files,
                                  const XmlReaderPort& xml);

struct CatalogFileServices {
    const FileStorePort& files;
    const XmlReaderPort& xml;
};

// Writes the record's catalog to the file beside its options file, replacing the old file
// in one step. On failure the old file stays as it was and the result holds
// "Unable to write to " and the file name.
struct CatalogSaveResult {
    bool ok = true;
    std::string error;
};
CatalogSaveResult SaveCatalog(const SettingsOptions& options, const CatalogFileServices& services);

// Empties the record's catalog, then publishes what the file beside the options file holds.
// Never fails: a damaged file leaves the entries read before the damage, and the returned
// text says what went wrong ("" when nothing did).
std::string LoadCatalog(SettingsOptions& options, const CatalogFileServices& services);

} // namespace orvan
