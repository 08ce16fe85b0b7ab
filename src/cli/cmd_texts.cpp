// orvan-cli texts: the text table as the program shows it, for translators to start from
// and to check a language file with.
#include "cli/cli_io.h"

#include "core/language/language.h"
#include "core/language/language_file.h"
#include "platform/system_services.h"

#include <algorithm>
#include <string>
#include <vector>

namespace orvan::cli {

const char* const kTextsUsage =
    "usage: orvan-cli texts [--language FILE | --pseudo]\n"
    "  Prints every text of the text table, one line per text in ID order: the ID, a tab\n"
    "  and the text, line breaks written as \\r so that each text is one line.\n"
    "  --language FILE  shows the texts of a language file, English where it has none, and\n"
    "                   reports its skipped lines on stderr as \"FILE:LINE: reason\"; so too\n"
    "                   what keeps the program from using the file as written (UTF-16, bare\n"
    "                   CR line ends, no valid Code=, another file of its folder for the\n"
    "                   same language), and then shows nothing.\n"
    "  --pseudo         prints instead a language file (code 1033) in which every text\n"
    "                   reads [[Text]], for checking that windows show every text.\n"
    "exit status: 0 done, 1 FILE cannot be read or used as written, 2 wrong command line\n";

namespace {

// The pseudo-language stands in for English (United States): a language every machine
// may pick without a translation of its own.
constexpr int kPseudoLanguageCode = 1033;

int Usage(CliContext& context, const std::string& problem) {
    context.err << "orvan-cli texts: " << problem << "\n" << kTextsUsage;
    return kExitUsage;
}

std::vector<int> IdsWithText() {
    std::vector<int> ids;
    for (const LanguageText& entry : LanguageTexts()) {
        if (!entry.defaultText.empty()) {
            ids.push_back(entry.id);
        }
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

} // namespace

int RunTexts(CliContext& context) {
    std::string languageFile;
    bool pseudo = false;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        if (arg == "--pseudo") {
            pseudo = true;
        } else if (arg == "--language") {
            if (i + 1 >= context.args.size()) {
                return Usage(context, "--language needs a FILE");
            }
            languageFile = context.args[++i];
        } else if (arg.starts_with("-")) {
            return Usage(context, "unknown option \"" + arg + "\"");
        } else {
            return Usage(context, "unexpected argument \"" + arg + "\"");
        }
    }
    if (pseudo && !languageFile.empty()) {
        return Usage(context, "--language and --pseudo exclude each other");
    }
    if (pseudo) {
        context.out << PseudoLanguageFile(kPseudoLanguageCode);
        return kExitOk;
    }

    if (!languageFile.empty()) {
        const ProgramServices system = platform::SystemServices();
        LanguageFileRead read = CheckLanguageFile(CoreFileArgument(languageFile),
                                                  system.options.fileSystem, system.options.files);
        if (read.status != FileContent::Status::Read) {
            context.err << "orvan-cli texts: cannot read the language file \"" << languageFile
                        << "\": "
                        << (read.status == FileContent::Status::Missing ? "no such file"
                                                                        : "unreadable or too large")
                        << "\n";
            return kExitFailure;
        }
        std::vector<LanguageFileProblem>& problems = read.file.problems;
        std::stable_sort(problems.begin(), problems.end(),
                         [](const LanguageFileProblem& a, const LanguageFileProblem& b) {
                             return a.line < b.line;
                         });
        bool unusable = false;
        for (const LanguageFileProblem& problem : problems) {
            context.err << languageFile << ':' << problem.line << ": " << problem.reason << "\n";
            unusable = unusable || problem.wholeFile;
        }
        if (unusable) {
            return kExitFailure;
        }
        SetTranslations(read.file.code, read.file.texts);
    }
    std::string out;
    for (int id : IdsWithText()) {
        out += std::to_string(id);
        out += '\t';
        out += StoredText(id);
        out += '\n';
    }
    context.out << out;
    return kExitOk;
}

} // namespace orvan::cli
