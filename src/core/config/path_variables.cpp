#include "core/config/path_variables.h"

#include "core/base/utf.h"

#include <cstddef>

namespace orvan {

const PathVariable kPathVariables[18] = {
    {"%APPDATA%", Csidl::AppData},
    {"%APPDATA_LOCAL%", Csidl::LocalAppData},
    {"%PROGRAMFILES%", Csidl::ProgramFiles},
    {"%PROGRAMFILES_COMMON%", Csidl::ProgramFilesCommon},
    {"%PROGRAMS%", Csidl::Programs},
    {"%PROGRAMS_COMMON%", Csidl::CommonPrograms},
    {"%STARTMENU%", Csidl::StartMenu},
    {"%STARTMENU_COMMON%", Csidl::CommonStartMenu},
    {"%WINDIR%", Csidl::Windows},
    {"%USERPROFILE%", Csidl::Profile},
    {"%ADMINTOOLS%", Csidl::AdminTools},
    {"%CONTROLS%", Csidl::Controls},
    {"%DESKTOP%", Csidl::Desktop},
    {"%FAVORITES%", Csidl::Favorites},
    {"%HISTORY%", Csidl::History},
    {"%MYDOCUMENTS%", Csidl::MyDocuments},
    {"%PERSONAL%", Csidl::Personal},
    {"%PRINTERS%", Csidl::Printers},
};

namespace {

// The Windows service writes into a buffer of 261 characters plus terminator.
constexpr std::size_t kMaxFolderUnits = 261;

// Cuts the text after at most maxUnits UTF-16 code units, never inside a character: a
// surrogate pair cut in half would turn into a replacement character.
std::string TruncateUtf16(std::string text, std::size_t maxUnits) {
    std::size_t units = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const char32_t cp = DecodeUtf8(text, pos);
        units += cp >= 0x10000 ? 2 : 1;
        if (units > maxUnits) {
            text.resize(start);
            break;
        }
    }
    return text;
}

void ReplaceAll(std::string& text, std::string_view token, std::string_view replacement) {
    std::size_t pos = text.find(token);
    if (pos == std::string::npos)
        return;
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    while (pos != std::string::npos) {
        out.append(text, from, pos - from);
        out.append(replacement);
        from = pos + token.size();
        pos = text.find(token, from);
    }
    out.append(text, from, std::string::npos);
    text = std::move(out);
}

} // namespace

std::string GetSpecialFolder(const SpecialFolderPort& folders, int folderNumber) {
    std::string folder = folders.GetSpecialFolder(folderNumber);
    // A zero character ends the text, as it ends the platform's buffer.
    const std::size_t zero = folder.find('\0');
    if (zero != std::string::npos)
        folder.resize(zero);
    return TruncateUtf16(std::move(folder), kMaxFolderUnits);
}

std::string ExpandPathVariables(const SpecialFolderPort& folders, std::string_view text) {
    std::string result(text);
    for (const PathVariable& variable : kPathVariables) {
        // Looked up on every call, even when the token is absent: a folder that moves while
        // the program runs is picked up at once.
        const std::string folder = GetSpecialFolder(folders, variable.folderNumber);
        ReplaceAll(result, variable.token, folder);
    }
    return result;
}

bool DeleteFolderTree(const FileSystemPort& fileSystem, const std::string& folder) {
    // "" would name the root of the current drive.
    if (folder.empty())
        return false;
    // The installer removes the program's folders with administrator rights, and a user
    // without them can turn such a folder, or one above it, into a link to any folder:
    // nothing of the tree's path may be followed, its top included.
    return fileSystem.DeleteNoFollow(folder, true);
}

ArrayOfString SplitString(std::string_view text, char separator) {
    ArrayOfString parts;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t found = text.find(separator, pos);
        if (found == std::string_view::npos) {
            parts.emplace_back(text.substr(pos));
            break;
        }
        parts.emplace_back(text.substr(pos, found - pos));
        pos = found + 1;
    }
    return parts;
}

} // namespace orvan
