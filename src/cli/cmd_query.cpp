// orvan-cli query: the candidate list the search window would show for a typed text.
#include "cli/cli_io.h"

#include "core/base/date_format.h"
#include "core/base/utf.h"
#include "core/catalog/catalog_file.h"
#include "core/config/options.h"
#include "core/search/run_available.h"
#include "core/search/run_details.h"
#include "platform/system_services.h"

#include <algorithm>
#include <optional>
#include <string>

namespace orvan::cli {

const char* const kQueryUsage =
    "usage: orvan-cli query [--options FILE] [--catalog FILE] [--now MOMENT] [--details]\n"
    "                       [--order name|relevance] [--record ROW] [--] TEXT\n"
    "  Builds the candidate list for TEXT against the catalog file (by default the one\n"
    "  beside the options file, itself by default Orvan.ini in the launcher's options\n"
    "  folder) and prints one line per row in list order: kind, a tab, name, a tab, path.\n"
    "  Kinds: 1 folder, 2 file, 3 calculator, 4 date and time, 5 catalog entry.\n"
    "  --now YYYY-MM-DDTHH:MM:SS fixes the current local moment for the date entry;\n"
    "  --details prints a line \"--\" and then the details area's text for row 0.\n"
    "  --order orders the catalog's rows by name or by relevance, whatever the options\n"
    "  file says ([Search] Order). A catalog file given without an options file is\n"
    "  listed in the name order, and its typed texts lie beside it.\n"
    "  --record ROW records a start of row ROW (counted from 0) of the list printed, as\n"
    "  the search window does: the entry's use count goes into the catalog file and the\n"
    "  text into the typed texts beside the options file. It starts nothing.\n"
    "exit status: 0 done, 1 the row could not be recorded or saved, 2 wrong command line\n";

namespace {

class FixedClock final : public ClockPort {
public:
    explicit FixedClock(double now) : now_(now) {}
    double Now() const override { return now_; }

private:
    double now_;
};

// "YYYY-MM-DDTHH:MM:SS", exactly so, as a moment.
std::optional<double> ParseIsoMoment(const std::string& text) {
    static constexpr char kShape[] = "dddd-dd-ddTdd:dd:dd";
    if (text.size() != sizeof kShape - 1)
        return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (kShape[i] == 'd' ? (text[i] < '0' || text[i] > '9') : text[i] != kShape[i])
            return std::nullopt;
    auto number = [&](std::size_t at, std::size_t digits) {
        return std::stoi(text.substr(at, digits));
    };
    DateTimeParts parts;
    parts.year = number(0, 4);
    parts.month = number(5, 2);
    parts.day = number(8, 2);
    parts.hour = number(11, 2);
    parts.minute = number(14, 2);
    parts.second = number(17, 2);
    return EncodeMoment(parts);
}

// The system's single CR line breaks become the terminal's.
std::string WithNewlines(std::string text) {
    for (char& c : text)
        if (c == '\r')
            c = '\n';
    return text;
}

int Usage(CliContext& context, const std::string& problem) {
    context.err << "orvan-cli query: " << problem << "\n" << kQueryUsage;
    return kExitUsage;
}

} // namespace

int RunQuery(CliContext& context) {
    std::string optionsFile;
    std::string catalogFile;
    std::vector<std::string> texts;
    std::optional<double> now;
    bool details = false;
    std::optional<ResultOrder> order;
    std::optional<std::size_t> record;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        if (optionsEnded || arg.rfind("--", 0) != 0) {
            texts.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--details") {
            details = true;
        } else if (arg == "--now") {
            if (i + 1 >= context.args.size())
                return Usage(context, "--now needs a MOMENT");
            now = ParseIsoMoment(context.args[++i]);
            if (!now)
                return Usage(context, "--now needs a moment as YYYY-MM-DDTHH:MM:SS, not \"" +
                                          context.args[i] + "\"");
        } else if (arg == "--order") {
            if (i + 1 >= context.args.size())
                return Usage(context, "--order needs name or relevance");
            order = ParseResultOrder(context.args[++i]);
            if (!order)
                return Usage(context,
                             "--order needs name or relevance, not \"" + context.args[i] + "\"");
        } else if (arg == "--record") {
            if (i + 1 >= context.args.size())
                return Usage(context, "--record needs a ROW");
            const std::optional<std::int32_t> row = ParseOptionInteger(context.args[++i]);
            if (!row || *row < 0 ||
                context.args[i].find_first_not_of("0123456789") != std::string::npos)
                return Usage(context,
                             "--record needs a row number, not \"" + context.args[i] + "\"");
            record = static_cast<std::size_t>(*row);
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

    const ProgramServices system = platform::SystemServices();
    // The options file decides the order and keeps the typed texts: the one given, else the
    // launcher's own, unless a catalog file alone is given. Then no options file is read
    // (the name order, unless --order says otherwise) and the typed texts lie beside the
    // catalog file.
    std::optional<SettingsOptions> options;
    if (!optionsFile.empty())
        options = LoadOptions(system.options, CoreFileArgument(optionsFile));
    else if (catalogFile.empty())
        options = LoadOptions(system.options);
    if (catalogFile.empty())
        catalogFile = CatalogFileName(options->fileName);
    else
        catalogFile = CoreFileArgument(catalogFile);
    std::string typedFile;
    if (options) {
        typedFile = LaunchMemoryFileName(options->fileName);
    } else {
        constexpr std::string_view kSuffix = "_Catalog.xml";
        const std::size_t stem = catalogFile.size() - std::min(catalogFile.size(), kSuffix.size());
        typedFile = AsciiEqualIgnoringCase(std::string_view(catalogFile).substr(stem), kSuffix)
                        ? LaunchMemoryFileName(catalogFile.substr(0, stem) + ".ini")
                        : LaunchMemoryFileName(catalogFile);
    }
    CatalogReadResult read = ReadCatalogFile(catalogFile, system.catalog.files, system.catalog.xml);
    if (!read.status)
        context.err << "orvan-cli query: " << read.status.Error() << "\n";
    const bool readWhole =
        read.outcome == CatalogReadOutcome::Read || read.outcome == CatalogReadOutcome::Missing;
    const CatalogItems catalog(std::move(read.items));
    LaunchMemory memory;
    memory.SeedCounts(CountsFromCatalog(catalog.items()));
    const bool typedRead = LoadTypedChoices(memory, typedFile, system.catalog.files);

    RunAvailableList list;
    RunBuildEnvironment environment = system.build;
    environment.order = order.value_or(options ? options->order : ResultOrder::Name);
    environment.memory = &memory;
    const FixedClock fixedClock(now.value_or(0));
    if (now)
        environment.clock = &fixedClock;
    BuildRunAvailableList(texts.front(), catalog, list, environment);
    std::string out;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const RunAvailableRow row = list[i];
        out += std::to_string(static_cast<int>(row.kind));
        out += '\t';
        out += row.name;
        out += '\t';
        out += row.path;
        out += '\n';
    }
    if (details) {
        const std::optional<std::size_t> row =
            list.empty() ? std::nullopt : std::optional<std::size_t>(0);
        out += "--\n";
        out += WithNewlines(UpdateRunDetails(texts.front(), list, row, system.fileInfo).text);
        out += '\n';
    }
    context.out << out;
    if (!record)
        return kExitOk;
    if (*record >= list.size() || list[*record].kind != RunKind::Catalog) {
        context.err << "orvan-cli query: row " << *record
                    << " is not a catalog entry of the list\n";
        return 1;
    }
    // A file that could not be read whole is not written over: what it held would be lost.
    if (!readWhole || !typedRead) {
        context.err << "orvan-cli query: nothing recorded: "
                    << (!readWhole ? catalogFile : typedFile) << " could not be read whole\n";
        return 1;
    }
    const RunAvailableRow row = list[*record];
    memory.Record(texts.front(), row.name, row.path);
    if (const FileResult saved = WriteCatalogFile(catalogFile, catalog.items(),
                                                  memory.Counts().get(), system.catalog.files);
        !saved) {
        context.err << "orvan-cli query: " << saved.Error() << "\n";
        return 1;
    }
    if (!SaveTypedChoices(memory, typedFile, system.catalog.files)) {
        context.err << "orvan-cli query: " << UnableToWriteText(typedFile) << "\n";
        return 1;
    }
    return kExitOk;
}

} // namespace orvan::cli
