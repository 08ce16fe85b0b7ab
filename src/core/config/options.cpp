#include "core/config/options.h"

#include "core/base/path_parts.h"
#include "core/base/utf.h"
#include "core/config/path_variables.h"
#include "core/config/temporary_files.h"
#include "core/ports/locale.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

namespace orvan {

namespace {

constexpr const char* kGlobal = "Global";
constexpr const char* kForm = "Form";
constexpr const char* kTrayIcon = "TrayIcon";
constexpr const char* kCatalog = "Catalog";
constexpr const char* kSearch = "Search";
constexpr const char* kPaths = "Paths";
constexpr const char* kPortable = "Portable";
constexpr const char* kQuick = "Quick";
constexpr const char* kClipboard = "Clipboard";

struct Registrations {
    OptionsGeometryAccess* geometry = nullptr;
    std::map<int, OptionsApplyListener> listeners;
    int nextId = 1;
    std::function<void(std::int32_t)> hotKey;
};

Registrations& Registered() {
    static Registrations registrations;
    return registrations;
}

const char* BoolText(bool value) {
    return value ? "True" : "False";
}
const char* BoolNumber(bool value) {
    return value ? "-1" : "0";
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string WithoutTrailingDelimiter(std::string folder) {
    // "C:\" stays: the root needs its delimiter.
    if (folder.size() > 1 && folder.back() == '\\' && folder[folder.size() - 2] != ':')
        folder.pop_back();
    return folder;
}

class OptionsReader {
public:
    explicit OptionsReader(const OptionsStore& store) : store_(store) {}

    void Integer(const char* section, const char* key, std::int32_t& value) const {
        if (const auto text = store_.File().Read(section, key))
            value = ParseOptionInteger(*text).value_or(value);
    }
    void Boolean(const char* section, const char* key, bool& value) const {
        if (const auto text = store_.File().Read(section, key))
            value = ParseOptionBoolean(*text, CurrentLocale().decimalSeparator).value_or(value);
    }
    void DateTime(const char* section, const char* key, double& value) const {
        if (const auto text = store_.File().Read(section, key))
            value = ParseOptionDateTime(*text, CurrentLocale().decimalSeparator).value_or(value);
    }

private:
    const OptionsStore& store_;
};

// Prefix1 .. Prefixn of a section as reading them one by one would find them, without a
// loop up to n: a file may claim a Count of two billion. Empty values are skipped.
std::vector<std::string> ReadNumberedLines(const OptionsStore& store, const char* section,
                                           std::string_view prefix, std::int64_t count) {
    std::vector<std::pair<std::int64_t, std::string>> found;
    for (auto& [key, value] : store.File().ReadSection(section)) {
        if (key.size() <= prefix.size() ||
            !AsciiEqualIgnoringCase(std::string_view(key).substr(0, prefix.size()), prefix))
            continue;
        const std::string_view digits = std::string_view(key).substr(prefix.size());
        // Only the spelling IntToStr gives: no sign, no leading zero, no blank.
        if (digits.empty() || digits.size() > 10 || digits.front() == '0' ||
            !std::all_of(digits.begin(), digits.end(), IsDigit))
            continue;
        std::int64_t index = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), index);
        if (index <= count && !value.empty())
            found.emplace_back(index, std::move(value));
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> lines;
    for (auto& [index, line] : found)
        lines.push_back(std::move(line));
    return lines;
}

SettingsOptionsCatalogPaths ReadCatalogPaths(const OptionsStore& store, std::int64_t count) {
    SettingsOptionsCatalogPaths paths;
    for (const std::string& line : ReadNumberedLines(store, kPaths, "PATH_", count))
        if (auto path = ParseCatalogPathLine(line))
            paths.push_back(std::move(*path));
    return paths;
}

QuickItems ReadQuickItems(const OptionsStore& store, std::int64_t count) {
    QuickItems items;
    for (const std::string& line : ReadNumberedLines(store, kQuick, "ITEM_", count))
        if (auto item = ParseQuickLine(line))
            items.push_back(std::move(*item));
    return items;
}

} // namespace

SettingsOptionsCatalogPaths DefaultCatalogPaths() {
    auto path = [](const char* folder, const char* mask, bool active) {
        SettingsOptionsCatalogPath p;
        p.path = folder;
        p.depth = UnlimitedDepth;
        p.includeDirectories = false;
        p.mask = mask;
        p.active = active;
        return p;
    };
    return {
        path("%STARTMENU%", "*.*", true),
        path("%STARTMENU_COMMON%", "*.*", true),
        path("%PROGRAMFILES%", "*.exe;*.com", false),
        path("%PROGRAMFILES_COMMON%", "*.exe;*.com", false),
        path("%WINDIR%", "*.exe", false),
        path("%FAVORITES%", "*.*", true),
        path("%DESKTOP%", "*.*", true),
        path("%MYDOCUMENTS%", "*.*", false),
        path("%APPDATA%\\Microsoft\\Internet Explorer\\Quick Launch", "*.lnk", true),
        path("%APPDATA%\\Microsoft\\Windows\\Start Menu", "*.lnk", false),
    };
}

std::string ChangeFileExtension(std::string_view fileName, std::string_view extension) {
    const std::size_t cut = fileName.find_last_of(".\\:");
    if (cut != std::string_view::npos && fileName[cut] == '.')
        fileName = fileName.substr(0, cut);
    return std::string(fileName) + std::string(extension);
}

std::string ExtractFilePath(std::string_view path) {
    return std::string(PathFolderPart(path));
}

std::optional<std::int32_t> ParseOptionInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+' && text.size() > 1 && IsDigit(text[1]))
        text.remove_prefix(1);
    if (text.empty() || (text.front() != '-' && !IsDigit(text.front())))
        return std::nullopt;
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

namespace {

// A number as the options file writes one: [sign] digits [separator digits] [E [sign]
// digits], with at least one digit before the exponent; plain is that number in the form
// from_chars reads.
struct OptionNumber {
    std::string plain;
    bool zero = true; // every digit before the exponent is 0: the number is 0, however long
};

std::optional<OptionNumber> ScanOptionNumber(std::string_view text,
                                             std::string_view decimalSeparator) {
    OptionNumber number;
    std::string& plain = number.plain;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        plain.push_back(text[i++]);
    std::size_t mantissaDigits = 0;
    auto mantissa = [&] {
        while (i < text.size() && IsDigit(text[i])) {
            number.zero = number.zero && text[i] == '0';
            plain.push_back(text[i++]);
            ++mantissaDigits;
        }
    };
    mantissa();
    if (!decimalSeparator.empty() && text.substr(i, decimalSeparator.size()) == decimalSeparator) {
        i += decimalSeparator.size();
        plain.push_back('.');
        mantissa();
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        plain.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain.push_back(text[i++]);
        std::size_t exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i])) {
            plain.push_back(text[i++]);
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    return number;
}

} // namespace

std::optional<bool> ParseOptionBoolean(std::string_view text, std::string_view decimalSeparator) {
    const std::string upper = AsciiUpper(text);
    if (upper == "TRUE")
        return true;
    if (upper == "FALSE")
        return false;
    // Any number is true unless it is 0; decided from its digits, so that neither a long
    // fraction nor a huge exponent can make it look like something else.
    auto number = ScanOptionNumber(text, ".");
    if (!number && decimalSeparator != ".")
        number = ScanOptionNumber(text, decimalSeparator);
    if (!number)
        return std::nullopt;
    return !number->zero;
}

std::optional<double> ParseOptionDateTime(std::string_view text,
                                          std::string_view decimalSeparator) {
    const std::optional<OptionNumber> number = ScanOptionNumber(text, decimalSeparator);
    if (!number)
        return std::nullopt;
    const std::string& plain = number->plain;
    const char* first = plain.data();
    if (*first == '+')
        ++first;
    double value = 0;
    const auto [end, error] = std::from_chars(first, plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string FormatOptionDateTime(double value, std::string_view decimalSeparator) {
    if (!std::isfinite(value))
        value = 0;
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string digits(buffer, result.ptr);
    // The exponent as the number format writes it: "1E-5", "1E20".
    std::string text;
    const std::size_t e = digits.find('e');
    const std::string mantissa = digits.substr(0, e);
    for (const char c : mantissa) {
        if (c == '.')
            text += decimalSeparator;
        else
            text.push_back(c);
    }
    if (e != std::string::npos) {
        text.push_back('E');
        std::string_view exponent = std::string_view(digits).substr(e + 1);
        if (exponent.front() == '-')
            text.push_back('-');
        if (exponent.front() == '-' || exponent.front() == '+')
            exponent.remove_prefix(1);
        while (exponent.size() > 1 && exponent.front() == '0')
            exponent.remove_prefix(1);
        text += exponent;
    }
    return text;
}

std::string FormatCatalogPathLine(const SettingsOptionsCatalogPath& path) {
    return path.path + "|" + path.mask + "|" + std::to_string(path.depth) + "|" +
           BoolText(path.includeDirectories) + "|" + BoolText(path.active);
}

std::optional<SettingsOptionsCatalogPath> ParseCatalogPathLine(std::string_view line) {
    const ArrayOfString fields = SplitString(line, '|');
    if (fields.size() != 5)
        return std::nullopt;
    SettingsOptionsCatalogPath path;
    path.path = fields[0];
    path.mask = fields[1];
    path.depth = ParseOptionInteger(fields[2]).value_or(UnlimitedDepth);
    path.includeDirectories = ParseOptionBoolean(fields[3]).value_or(true);
    path.active = ParseOptionBoolean(fields[4]).value_or(true);
    return path;
}

OptionsStore::OptionsStore(std::string fileName, const FileStorePort& files)
    : fileName_(std::move(fileName)), files_(&files) {
    const FileContent content = files.ReadWholeFile(fileName_);
    if (content.status == FileContent::Status::Read)
        file_ = IniFile::FromBytes(content.bytes);
    // A file that exists but cannot be read must not be overwritten with only our keys.
    unreadable_ = content.status == FileContent::Status::Unreadable;
}

FileResult OptionsStore::Commit() {
    if (unreadable_ || !files_->ReplaceWholeFile(fileName_, file_.ToBytes()))
        return FileResult::Failure(UnableToWriteText(fileName_));
    return {};
}

std::optional<OptionsStore> OpenOptionsStore(const SettingsOptions& options,
                                             const OptionsServices& services) {
    const std::string folder = WithoutTrailingDelimiter(ExtractFilePath(options.fileName));
    if (folder.empty())
        return std::nullopt;
    if (!services.fileSystem.FolderExists(folder))
        services.files.CreateFolders(folder);
    if (!services.fileSystem.FolderExists(folder))
        return std::nullopt;
    return OptionsStore(options.fileName, services.files);
}

std::string PortableOptionsFile(const OptionsServices& services) {
    // Only a program file named with its folder can have a file beside it.
    if (services.programFileName.find_first_of("\\:") == std::string::npos)
        return {};
    const std::string beside = ChangeFileExtension(services.programFileName, ".ini");
    return services.fileSystem.FileExists(beside) ? beside : std::string();
}

SettingsOptions DefaultOptions(const OptionsServices& services) {
    SettingsOptions options;
    options.catalog.paths = DefaultCatalogPaths();
    // A copy that carries its options beside it (on a USB stick) keeps everything there and
    // leaves the machine's profile alone.
    if (std::string portable = PortableOptionsFile(services); !portable.empty()) {
        options.fileName = std::move(portable);
        options.storageKind = SettingsStorageKind::ProgramIni;
        options.portable = true;
        return options;
    }
    const std::string iniName = ChangeFileExtension(FileNamePart(services.programFileName), ".ini");
    const std::string roaming =
        ExpandPathVariables(services.folders, "%APPDATA%\\Morvane\\Orvan\\" + iniName);
    const std::string local =
        ExpandPathVariables(services.folders, "%APPDATA_LOCAL%\\Morvane\\Orvan\\" + iniName);
    if (services.fileSystem.FileExists(roaming))
        options.fileName = roaming;
    else if (services.fileSystem.FileExists(local))
        options.fileName = local;
    else
        options.fileName = roaming;
    return options;
}

namespace {

SettingsOptions LoadInto(SettingsOptions options, const OptionsServices& services) {
    const std::optional<OptionsStore> store = OpenOptionsStore(options, services);
    if (!store)
        return options;
    const OptionsReader read(*store);
    read.Integer(kGlobal, "Language", options.language);
    read.Integer(kGlobal, "HotKey", options.hotKey);
    read.Boolean(kForm, "AlwaysVisible", options.alwaysVisible);
    read.Boolean(kForm, "AutoHide", options.autoHide);
    read.Boolean(kForm, "AlwaysOnTop", options.alwaysOnTop);
    read.Boolean(kForm, "AutoCenter", options.autoCenter);
    read.Boolean(kForm, "ShowOnDesktop", options.showOnDesktop);
    if (OptionsGeometryAccess* geometry = Registered().geometry) {
        WindowGeometry g = geometry->ReadGeometry();
        read.Integer(kForm, "Top", g.top);
        read.Integer(kForm, "Left", g.left);
        read.Integer(kForm, "Width", g.width);
        read.Integer(kForm, "Height", g.height);
        geometry->ApplyGeometry(g);
    }
    options.trayIcon = false; // the one key whose default ignores the record
    read.Boolean(kTrayIcon, "Enabled", options.trayIcon);
    if (const std::optional<std::string> order = store->File().Read(kSearch, "Order"))
        options.order = ParseResultOrder(*order).value_or(options.order);
    read.Boolean(kCatalog, "AutoUpdate", options.catalog.autoUpdate);
    read.Integer(kCatalog, "Interval", options.catalog.interval);
    read.DateTime(kCatalog, "LastRebuild", options.catalog.lastRebuild);
    const std::optional<std::string> count = store->File().Read(kPaths, "Count");
    if (count && !count->empty())
        options.catalog.paths = ReadCatalogPaths(*store, ParseOptionInteger(*count).value_or(0));
    if (const std::optional<std::string> quick = store->File().Read(kQuick, "Count");
        quick && !quick->empty())
        options.quick = ReadQuickItems(*store, ParseOptionInteger(*quick).value_or(0));
    read.Boolean(kClipboard, "Keep", options.keepClipboardHistory);
    // Where the file lies decides, whatever an earlier copy wrote into it.
    options.portable = options.storageKind == SettingsStorageKind::ProgramIni;
    return options;
}

} // namespace

SettingsOptions LoadOptions(const OptionsServices& services) {
    return LoadInto(DefaultOptions(services), services);
}

SettingsOptions LoadOptions(const OptionsServices& services, const std::string& fileName) {
    SettingsOptions defaults = DefaultOptions(services);
    defaults.fileName = fileName;
    return LoadInto(std::move(defaults), services);
}

std::size_t RemoveStaleOptionsTemporaryFiles(const OptionsServices& services, double now) {
    return RemoveStaleTemporaryFiles(services.fileSystem,
                                     PathFolderPart(DefaultOptions(services).fileName), now);
}

FileResult SaveOptions(const SettingsOptions& options, const OptionsServices& services) {
    std::optional<OptionsStore> store = OpenOptionsStore(options, services);
    if (!store)
        return {};
    IniFile& file = store->File();
    file.Write(kGlobal, "Language", std::to_string(options.language));
    file.Write(kGlobal, "HotKey", std::to_string(options.hotKey));
    file.Write(kForm, "AlwaysVisible", BoolText(options.alwaysVisible));
    file.Write(kForm, "AutoHide", BoolText(options.autoHide));
    file.Write(kForm, "AlwaysOnTop", BoolText(options.alwaysOnTop));
    file.Write(kForm, "AutoCenter", BoolText(options.autoCenter));
    file.Write(kForm, "ShowOnDesktop", BoolText(options.showOnDesktop));
    if (const OptionsGeometryAccess* geometry = Registered().geometry) {
        const WindowGeometry g = geometry->ReadGeometry();
        file.Write(kForm, "Top", std::to_string(g.top));
        file.Write(kForm, "Left", std::to_string(g.left));
        file.Write(kForm, "Width", std::to_string(g.width));
        file.Write(kForm, "Height", std::to_string(g.height));
    }
    file.Write(kTrayIcon, "Enabled", BoolNumber(options.trayIcon));
    // Written once it is not the name order or the file has it: a file of a copy that
    // never chose stays as it was.
    if (options.order != ResultOrder::Name || file.Read(kSearch, "Order"))
        file.Write(kSearch, "Order", ResultOrderText(options.order));
    file.Write(kCatalog, "AutoUpdate", BoolText(options.catalog.autoUpdate));
    file.Write(kCatalog, "Interval", std::to_string(options.catalog.interval));
    file.Write(kCatalog, "LastRebuild",
               FormatOptionDateTime(options.catalog.lastRebuild, CurrentLocale().decimalSeparator));
    const SettingsOptionsCatalogPaths& paths = options.catalog.paths;
    file.Write(kPaths, "Count", std::to_string(paths.size()));
    for (std::size_t i = 0; i < paths.size(); ++i)
        file.Write(kPaths, "Path_" + std::to_string(i + 1), FormatCatalogPathLine(paths[i]));
    file.Write(kPortable, "Enable", BoolNumber(options.portable));
    file.Write(kQuick, "Count", std::to_string(options.quick.size()));
    for (std::size_t i = 0; i < options.quick.size(); ++i)
        file.Write(kQuick, "Item_" + std::to_string(i + 1), FormatQuickLine(options.quick[i]));
    file.Write(kClipboard, "Keep", options.keepClipboardHistory ? "1" : "0");
    return store->Commit();
}

std::optional<ResultOrder> ParseResultOrder(std::string_view text) {
    if (AsciiEqualIgnoringCase(text, "Name"))
        return ResultOrder::Name;
    if (AsciiEqualIgnoringCase(text, "Relevance"))
        return ResultOrder::Relevance;
    return std::nullopt;
}

std::string ResultOrderText(ResultOrder order) {
    return order == ResultOrder::Relevance ? "Relevance" : "Name";
}

SettingsOptions& CurrentOptions() {
    static SettingsOptions current;
    return current;
}

void ApplyOptions(const SettingsOptions& options) {
    CurrentOptions() = options;
    // A listener may add or remove listeners; call the ones registered now.
    const auto listeners = Registered().listeners;
    for (const auto& [id, listener] : listeners)
        listener(CurrentOptions());
    if (Registered().hotKey)
        Registered().hotKey(CurrentOptions().hotKey);
}

void RegisterGeometryAccess(OptionsGeometryAccess* access) {
    Registered().geometry = access;
}

int AddApplyListener(OptionsApplyListener listener) {
    const int id = Registered().nextId++;
    Registered().listeners.emplace(id, std::move(listener));
    return id;
}

void RemoveApplyListener(int id) {
    Registered().listeners.erase(id);
}

void SetHotKeyRegistration(std::function<void(std::int32_t)> registration) {
    Registered().hotKey = std::move(registration);
}

} // namespace orvan
