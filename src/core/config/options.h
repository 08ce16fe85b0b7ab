#pragma once
// The options record with every user setting, the INI file it lives in, and the four
// operations around it: defaults, load, save and apply.
#include "core/base/file_result.h"
#include "core/catalog/catalog.h"
#include "core/config/ini_file.h"
#include "core/config/result_order.h"
#include "core/pages/quick_list.h"
#include "core/ports/file_store.h"
#include "core/ports/file_system.h"
#include "core/ports/special_folders.h"
#include "core/robot/version_defs.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvan {

enum class SettingsStorageKind : std::uint8_t {
    Registry = 0,
    UserIni = 1,
    ProgramIni = 2,
};

struct SettingsOptionsCatalog {
    bool autoUpdate = true;
    std::int32_t interval = 3600;
    double lastRebuild = 0; // local moment of the last completed rebuild; 0 = never
    SettingsOptionsCatalogPaths paths;
    CatalogItems items; // shared between copies of the record, never changed in place
};

struct SettingsOptions {
    SettingsStorageKind storageKind = SettingsStorageKind::UserIni;
    std::string fileName;
    std::int32_t language = 1;
    std::int32_t hotKey = 32800; // Alt+Space
    bool alwaysVisible = false;
    bool autoHide = true;
    bool alwaysOnTop = false;
    bool autoCenter = true;
    bool showOnDesktop = false;
    bool trayIcon = false;
    ResultOrder order = ResultOrder::Name;
    SettingsOptionsCatalog catalog;
    bool portable = false;
    std::vector<std::string> runHistory;
    std::int32_t runHistoryIndex = 0;
    QuickItems quick;                  // the Quick page's pinned entries, in their order
    bool keepClipboardHistory = false; // the Clipboard page's history is saved between starts
};

// The ten source folders a fresh installation scans.
SettingsOptionsCatalogPaths DefaultCatalogPaths();

// What the store reaches outside the core through.
struct OptionsServices {
    const SpecialFolderPort& folders;
    const FileSystemPort& fileSystem;
    const FileStorePort& files;
    // The program file, with its folder where the program knows it: its name names the
    // options file, and an options file beside it makes the copy portable.
    std::string programFileName = ORVAN_PROGRAM_FILE_NAME;
};

// The key-value store that load and save share: the options INI file, read once when
// opened and written back whole, atomically, by Commit.
class OptionsStore {
public:
    OptionsStore(std::string fileName, const FileStorePort& files);

    const std::string& FileName() const { return fileName_; }
    const IniFile& File() const { return file_; }
    IniFile& File() { return file_; }
    // Replaces the file with everything written. On failure ("Unable to write to " and the
    // file name) the file on disk is the old one, whole.
    FileResult Commit();

private:
    std::string fileName_;
    const FileStorePort* files_;
    IniFile file_;
    bool unreadable_ = false;
};

// Creates the options file's folder when missing; nothing when it cannot be had.
std::optional<OptionsStore> OpenOptionsStore(const SettingsOptions& options,
                                             const OptionsServices& services);

SettingsOptions DefaultOptions(const OptionsServices& services);
// The options file beside the program file ("D:\Orvan\Orvan.ini" for "D:\Orvan\Orvan.exe")
// when there is one: then the copy runs portable. "" otherwise.
std::string PortableOptionsFile(const OptionsServices& services);
SettingsOptions LoadOptions(const OptionsServices& services);
// The same for an options file of the caller's choice instead of the default one.
SettingsOptions LoadOptions(const OptionsServices& services, const std::string& fileName);
// Removes what saves cut short by a crash left in the folder of the options file that
// LoadOptions reads (see RemoveStaleTemporaryFiles), the catalog file's folder too; now is
// the clock's local moment. For the program's start.
std::size_t RemoveStaleOptionsTemporaryFiles(const OptionsServices& services, double now);
// Writes the record and the search window's geometry. Without a store (no options folder
// can be had) nothing is written and that is no failure.
FileResult SaveOptions(const SettingsOptions& options, const OptionsServices& services);

// Makes a record the current options, calls the apply listeners and registers the hot key.
void ApplyOptions(const SettingsOptions& options);
SettingsOptions& CurrentOptions();

// The search window's position and size, kept in the options file but not in the record.
struct WindowGeometry {
    std::int32_t top = 0;
    std::int32_t left = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

class OptionsGeometryAccess {
public:
    virtual ~OptionsGeometryAccess() = default;
    virtual WindowGeometry ReadGeometry() const = 0;
    virtual void ApplyGeometry(const WindowGeometry& geometry) = 0;
};

// Registration points for the windows built on the store. The geometry access must stay
// valid until it is unregistered with nullptr.
void RegisterGeometryAccess(OptionsGeometryAccess* access);
using OptionsApplyListener = std::function<void(const SettingsOptions&)>;
int AddApplyListener(OptionsApplyListener listener); // returns an id for removal
void RemoveApplyListener(int id);
// Registers the global hot key; called by ApplyOptions after the listeners.
void SetHotKeyRegistration(std::function<void(std::int32_t hotKey)> registration);

// The value formats of the options file.
std::optional<std::int32_t> ParseOptionInteger(std::string_view text);
// "True" or "False" in any letter case, or a number (with a point or the given decimal
// separator), true unless it is 0; empty for any other text.
std::optional<bool> ParseOptionBoolean(std::string_view text,
                                       std::string_view decimalSeparator = ".");
std::optional<double> ParseOptionDateTime(std::string_view text, std::string_view decimalSeparator);
std::string FormatOptionDateTime(double value, std::string_view decimalSeparator);
// "Name" or "Relevance", in any letter case; empty for any other text.
std::optional<ResultOrder> ParseResultOrder(std::string_view text);
std::string ResultOrderText(ResultOrder order);
std::string FormatCatalogPathLine(const SettingsOptionsCatalogPath& path);
std::optional<SettingsOptionsCatalogPath> ParseCatalogPathLine(std::string_view line);

// The program file name with its extension replaced ("Orvan.exe" -> "Orvan.ini"); without
// an extension the new one is appended.
std::string ChangeFileExtension(std::string_view fileName, std::string_view extension);
// The folder part of a path, with its trailing delimiter ("C:\a\b.ini" -> "C:\a\").
std::string ExtractFilePath(std::string_view path);

} // namespace orvan
