#pragma once
// Saving a text to a file as the user's other programs expect it: in the system's ANSI code
// page when every character has a place there, otherwise as UTF-8 with a byte-order mark,
// so that no character turns into "?" on the way.
#include "core/ports/text_file.h"

#include <string>
#include <string_view>

namespace orvan {

// The ports a saved text goes through, as the program's services hold them.
struct TextFileServices {
    const AnsiCodePagePort* codePage = nullptr;
    const FileWritePort* files = nullptr;
};

// The file's bytes: the text followed by one CR LF, in the ANSI code page, or else the
// byte-order mark EF BB BF and UTF-8.
std::string EncodeTextFile(std::string_view text, const AnsiCodePagePort& codePage);

// Writes the text as EncodeTextFile encodes it. On failure errorText says why: "Error
// writing file #n!" with the system's error number when writing or closing failed, the
// system's own message when the file could not be created. Empty on success.
bool SaveTextToFile(std::string_view text, const std::string& fileName,
                    const AnsiCodePagePort& codePage, const FileWritePort& files,
                    std::string& errorText);

// The same over the program's services; without them nothing is written and the error
// says so.
bool SaveTextToFile(std::string_view text, const std::string& fileName,
                    const TextFileServices& services, std::string& errorText);

} // namespace orvan
