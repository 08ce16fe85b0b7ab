#pragma once
// Language files: translations of the text table, read from the "Languages" folder beside
// the program file.
//
// A language file is UTF-8 text (a byte-order mark at the start is allowed), one setting a
// line, lines ending in LF or CR LF (a UTF-16 file is refused whole, and a bare CR is
// reported, as it does not end a line):
//
//   ; Orvan! in German          <- a comment: the line starts with ";"
//   [Language]
//   Code=1031                   <- the Windows locale identifier, as in the language list
//   Name=Deutsch                <- the language's own name, shown in the language lists
//
//   [Texts]
//   0=Fehler
//   9000054=Der Katalog hat %s Einträge.\r\rLetzte Erneuerung: %s
//
// The [Language] section comes first, so that listing the files reads no further. Under
// [Texts] each line gives a text by its ID, with line breaks as the table writes them (a
// backslash and an "r"). Blanks around the ID and the text are ignored. Loading never
// stops at a bad line: a line that is not "ID=Text", an ID the table has no text for, a
// text with another number of "%s" placeholders than the English one, a control character
// or a byte that is not UTF-8, a details label (IsColonLabel) holding a colon or a line
// break is skipped and reported, and the English text stays. An empty text, or a missing
// ID, keeps the English text too.
#include "core/language/language.h"
#include "core/ports/file_store.h"
#include "core/ports/file_system.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvan {

// The extension of language files and the folder beside the program file that holds them.
inline constexpr std::string_view kLanguageFileExtension = ".lng";
inline constexpr std::string_view kLanguagesFolderName = "Languages";

// Language files are a few dozen kilobytes; anything far larger is not one.
inline constexpr std::size_t kLanguageFileMaxBytes = 1024 * 1024;

// A line that was skipped, and why (in English: translators read it, not users).
struct LanguageFileProblem {
    int line;
    std::string reason;
    // A fault of the file as a whole rather than of one text: its encoding, its line ends,
    // its language code. The program does not use such a file as it was written.
    bool wholeFile = false;

    bool operator==(const LanguageFileProblem&) const = default;
};

struct LanguageFile {
    int code = 0;         // 0 when the file names no valid code
    int codeLine = 0;     // the line of the "Code=" setting, valid or not; 0 when there is none
    int languageLine = 0; // the line of the [Language] section; 0 when there is none
    std::string name;     // the language's own name; "" when the file names none
    bool utf16 = false;   // UTF-16 text, of which nothing was read
    std::vector<TranslatedText> texts;
    std::vector<LanguageFileProblem> problems;
};

// Reads a language file's bytes. With headerOnly, reading stops where the texts begin.
LanguageFile ParseLanguageFile(std::string_view bytes, bool headerOnly = false);

// A language file as the lists see it.
struct LanguageFileInfo {
    int code;
    std::string name; // the file's own name for the language, else the English one
    std::string path;
};

// "D:\Orvan\Languages" for "D:\Orvan\Orvan.exe". A portable copy keeps its options file
// beside the program too, so this one folder serves both ways of running.
std::string LanguagesFolder(std::string_view programFileName);

// The names of the files in a folder that end in ".lng", in file-name order (letter case
// ignored); none for an unreadable folder.
std::vector<std::string> LanguageFileNames(const std::string& folder,
                                           const FileSystemPort& fileSystem);

// The language files of a folder ("*.lng"), in file-name order. A file is listed when its
// header names a language of the language list other than "None" and "Default"; of two
// files for one language the first is taken. An unreadable folder gives an empty list.
std::vector<LanguageFileInfo> ListLanguageFiles(const std::string& folder,
                                                const FileSystemPort& fileSystem,
                                                const FileStorePort& files);

// The file for a language, if listed.
const LanguageFileInfo* FindLanguageFile(const std::vector<LanguageFileInfo>& list, int code);

// Whether a language of the language list can be chosen with translated texts: English
// ("Default", 1) always can, any other language when a file for it is listed. The language
// lists mark these.
bool LanguageHasTexts(const std::vector<LanguageFileInfo>& list, int code);

// A language's caption in the language drop-downs: its name from the text table, and for a
// language with a file the file's own name for it besides ("German (Deutsch)"), so that
// the user sees which choices bring translated texts. "Default" stays as it is.
std::string LanguageChoiceText(const LanguageListItem& language,
                               const std::vector<LanguageFileInfo>& list);

struct LanguageFileRead {
    FileContent::Status status = FileContent::Status::Missing; // Unreadable when too large
    LanguageFile file;
};

// Reads and parses one file without applying it.
LanguageFileRead ReadLanguageFile(const std::string& path, const FileStorePort& files);

// A translator's check of one file: its skipped lines as ReadLanguageFile gives them, and
// besides them, as whole-file faults, what keeps the program from using the file as it was
// written: no "Code=" in the header, and another file of the same folder for the same
// language (the language lists take only the first of them in file-name order).
LanguageFileRead CheckLanguageFile(const std::string& path, const FileSystemPort& fileSystem,
                                   const FileStorePort& files);

enum class LanguageLoadStatus {
    English,    // 1 ("Default") was asked for
    Loaded,     // the file's texts are shown (bad lines were skipped)
    NoFile,     // no file is listed for the language: English is shown
    Unreadable, // its file cannot be read: English is shown
};

struct LanguageLoad {
    LanguageLoadStatus status = LanguageLoadStatus::English;
    std::vector<LanguageFileProblem> problems;
};

// Makes the language's texts current, replacing the earlier ones whole. Whatever happens
// the table shows that language or English afterwards, never a mixture or the language
// shown before.
LanguageLoad LoadLanguage(int code, const std::vector<LanguageFileInfo>& list,
                          const FileStorePort& files);

// The same for the program's own Languages folder: what the program does at start and
// when the user picks another language.
LanguageLoad LoadProgramLanguage(int code, std::string_view programFileName,
                                 const FileSystemPort& fileSystem, const FileStorePort& files);

// A complete language file in which every text of the table reads "[[Text]]", for
// checking that windows fetch every text through the table and leave room for longer
// ones. Its header names code and the name "[[Pseudo]]".
std::string PseudoLanguageFile(int code);

} // namespace orvan
