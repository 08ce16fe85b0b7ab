#pragma once
#include <string>

namespace orvan {

// Folder numbers are the Windows CSIDL values; they are the contract of the options file
// and of the defaults, whatever the platform.
namespace Csidl {
constexpr int Desktop = 0;
constexpr int Programs = 2;
constexpr int Controls = 3;
constexpr int Printers = 4;
constexpr int Personal = 5;
constexpr int Favorites = 6;
constexpr int StartMenu = 11;
constexpr int MyDocuments = 12;
constexpr int CommonStartMenu = 22;
constexpr int CommonPrograms = 23;
constexpr int AppData = 26;
constexpr int LocalAppData = 28;
constexpr int History = 34;
constexpr int Windows = 36;
constexpr int ProgramFiles = 38;
constexpr int Profile = 40;
constexpr int ProgramFilesCommon = 43;
constexpr int AdminTools = 48;
} // namespace Csidl

class SpecialFolderPort {
public:
    virtual ~SpecialFolderPort() = default;
    // The folder's path without a trailing delimiter, or "" when the platform has none.
    virtual std::string GetSpecialFolder(int folderNumber) const = 0;
};

} // namespace orvan
