// orvan-cli query: the candidate list the search window would show for a typed text.
#include "cli/cli_io.h"

#include "core/catalog/catalog_file.h"
#include "core/config/options.h"
#include "core/search/run_available.h"
#include "platform/native.h"

#include <string>

namespace orvan::cli {

namespace {

constexpr const char* kQueryUsage =
    "usage: orvan-cli query [--options FILE] [--catalog FILE] [--] TEXT\n"
    "  Builds the candidate list for TEXT against the catalog file (by default the one\n"
    "  beside the options file, itself by default Orvan.ini in the launcher's options\n"
    "  folder) and prints one line per row in list order: kind, a tab, name, a tab, path.\n"
    "  Kinds: 1 folder, 2 file, 3 calculator, 4 date and time, 5 catalog entry.\n"
    "exit status: 0 done, 2 wrong command line\n";

int Usage(CliContext& context, const std::string& problem) {
    context.err << "orvan-cli query: " << problem << "\n" << kQueryUsage;
    return kExitUsage;
}

} // namespace

int RunQuery(CliContext& context) {
    std::string optionsFile;
    std::string catalogFile;
    std::vector<std::string> texts;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        if (optionsEnded || arg.rfind("--", 0) != 0) {
            texts.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if ((arg == "--options" || arg == "--catalog") && i + 1 < context.args.size()) {
            (arg == "--options" ? optionsFile : catalogFile) = context.args[++i];
        } else if (arg == "--options" || arg == "--catalog") {
            return Usage(context, arg + " needs a FILE");
        } else {
            return Usage(context, "unknown option \"" + arg + "\"");
        }
    }
    if (texts.size() != 1)
        return Usage(context, texts.empty() ? "TEXT is missing" : "give TEXT as one argument");

    if (catalogFile.empty()) {
        const OptionsServices services{platform::SpecialFolders(), platform::FileSystem(),
                                       platform::FileStore(), "Orvan.exe"};
        const std::string options =
            optionsFile.empty() ? DefaultOptions(services).fileName : CoreFileArgument(optionsFile);
        catalogFile = CatalogFileName(options);
    } else {
        catalogFile = CoreFileArgument(catalogFile);
    }
    CatalogReadResult read =
        ReadCatalogFile(catalogFile, platform::FileStore(), platform::XmlReader());
    if (!read.error.empty())
        context.err << "orvan-cli query: " << read.error << "\n";
    const TCatalogItems catalog(std::move(read.items));

    RunAvailableList list;
    RunBuildEnvironment environment;
    environment.fileSystem = &platform::FileSystem();
    BuildRunAvailableList(texts.front(), catalog, list, environment);
    std::string out;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const RunAvailableRow row = list[i];
        out += std::to_string(row.kind);
        out += '\t';
        out += row.name;
        out += '\t';
        out += row.path;
        out += '\n';
    }
    context.out << out;
    return kExitOk;
}

} // namespace orvan::cli
