// orvan-cli rebuild: rebuilds the catalog from the options' active catalog paths and saves
// the options and the catalog, as the installer does.
#include "cli/cli_io.h"

#include "core/base/path_parts.h"
#include "core/base/utf.h"
#include "core/catalog/catalog_file.h"
#include "core/catalog/scanner.h"
#include "core/config/options.h"
#include "core/config/path_convert.h"
#include "core/config/temporary_files.h"
#include "platform/system_services.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace orvan::cli {

const char* const kRebuildUsage =
    "usage: orvan-cli rebuild [--options FILE]\n"
    "  Loads the options (by default Orvan.ini in the launcher's options folder), rebuilds\n"
    "  the catalog from their active catalog paths, saves the options and the catalog file\n"
    "  beside them and prints the number of catalog entries. Progress goes to stderr.\n"
    "exit status: 0 done, 1 a file could not be written, 2 wrong command line\n";

namespace {

int Usage(CliContext& context, const std::string& problem) {
    context.err << "orvan-cli rebuild: " << problem << "\n" << kRebuildUsage;
    return kExitUsage;
}

// The counters of the settings dialog's progress text, on one line that rewrites itself.
class Progress {
public:
    Progress(std::ostream& err, const CatalogScan& scan) : err_(err), scan_(scan) {}

    void Tick() {
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(100))
            return;
        last_ = now;
        Show();
    }
    void Finish() {
        Show();
        err_ << "\n";
    }

private:
    void Show() {
        err_ << "\rCatalog items: " << scan_.NewItemCount()
             << "  Folders: " << scan_.ScannedFolders() << "  Files: " << scan_.ScannedFiles()
             << std::flush;
    }

    std::ostream& err_;
    const CatalogScan& scan_;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

} // namespace

std::string CoreFileArgument(const std::string& argument) {
    std::error_code error;
#ifdef _WIN32
    const std::u16string wide = Utf8ToUtf16(argument);
    const std::filesystem::path path(std::wstring(wide.begin(), wide.end()));
    const std::wstring absolute =
        std::filesystem::absolute(path, error).lexically_normal().wstring();
    return Utf16ToUtf8(std::u16string(absolute.begin(), absolute.end()));
#else
    // Linux paths become the core's form by the drive rule: "/home/a" is "C:\home\a".
    const std::filesystem::path absolute =
        std::filesystem::absolute(std::filesystem::path(argument), error).lexically_normal();
    return NativeToCorePath(absolute.string());
#endif
}

int RunRebuild(CliContext& context) {
    std::string optionsFile;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        if (arg == "--options" && i + 1 < context.args.size())
            optionsFile = context.args[++i];
        else if (arg == "--options")
            return Usage(context, "--options needs a FILE");
        else
            return Usage(context, "unexpected argument \"" + arg + "\"");
    }

    const ProgramServices system = platform::SystemServices();
    const OptionsServices& services = system.options;
    SettingsOptions options = optionsFile.empty()
                                  ? LoadOptions(services)
                                  : LoadOptions(services, CoreFileArgument(optionsFile));
    // Before this save: what saves cut short by a crash left beside the options file.
    RemoveStaleTemporaryFiles(services.fileSystem, PathFolderPart(options.fileName),
                              system.clock->Now());

    // The use counts the old file holds are carried over by path: a rebuild lists the
    // entries again, it does not forget which of them the user starts.
    const UseCounts counts = CountsFromCatalog(
        ReadCatalogFile(CatalogFileName(options.fileName), system.catalog.files, system.catalog.xml)
            .items);

    CatalogScan scan;
    Progress progress(context.err, scan);
    const ScanServices scanServices{services.fileSystem,      services.folders,
                                    *system.shellNames,       *system.clock,
                                    [&] { progress.Tick(); }, {}};
    const bool rebuilt = scan.Rebuild(options, scanServices);
    progress.Finish();
    if (!rebuilt) {
        context.err << "orvan-cli rebuild: the rebuild did not complete\n";
        return kExitFailure;
    }

    const FileResult saved = SaveOptionsAndCatalog(options, services, system.catalog, &counts);
    if (!saved) {
        context.err << "orvan-cli rebuild: " << saved.Error() << "\n";
        return kExitFailure;
    }
    context.out << options.catalog.items.size() << "\n";
    return kExitOk;
}

} // namespace orvan::cli
