#pragma once
// A synthetic catalog that looks like a real one: start-menu shortcuts, program files,
// documents and folders with vendor and product names, always the same for a given size.
#include "core/catalog/catalog.h"

#include <random>
#include <string>
#include <vector>

namespace orvan::bench {

inline const std::vector<std::string>& Words() {
    static const std::vector<std::string> words = {
        "Adobe",       "Acrobat",    "Reader",     "Microsoft",    "Office",      "Word",
        "Excel",       "PowerPoint", "Outlook",    "Visual",       "Studio",      "Code",
        "Git",         "Bash",       "Python",     "Notepad",      "Paint",       "Calculator",
        "Media",       "Player",     "Chrome",     "Firefox",      "Thunderbird", "Steam",
        "Spotify",     "Zoom",       "Teams",      "Slack",        "Discord",     "Photoshop",
        "Illustrator", "Premiere",   "Audacity",   "Blender",      "Gimp",        "Inkscape",
        "Vlc",         "WinRar",     "Zip",        "Putty",        "FileZilla",   "Skype",
        "Dropbox",     "OneDrive",   "Everything", "Sysinternals", "Process",     "Explorer",
        "Monitor",     "Registry",   "Editor",     "Setup",        "Uninstall",   "Update",
        "Help",        "Readme",     "License",    "Manual",       "Report",      "Invoice",
        "Budget",      "Project",    "Plan",       "Notes",        "Photo",       "Holiday",
        "Scan",        "Draft",      "Final",      "Backup",       "Config",      "Tool",
        "Server",      "Client",     "Viewer",     "Converter",    "Manager",     "Designer",
        "Builder",     "Launcher",   "Console",    "Terminal",     "Driver",      "Service",
        "Agent",       "Assistant",  "Wizard",     "Center",       "Hub",         "Pro",
        "Lite",        "Portable",   "Community",  "Enterprise",   "Express",     "Preview",
        "Kernel",      "Network",    "Security",   "Camera",       "Music",       "Video",
        "Archive",     "Diagram",    "Invoice",    "Letter",       "Contract",    "Schedule"};
    return words;
}

inline std::vector<CatalogItem> MakeCatalog(std::size_t count) {
    std::mt19937 random(static_cast<std::mt19937::result_type>(count));
    const std::vector<std::string>& words = Words();
    auto word = [&] { return words[random() % words.size()]; };
    auto lower = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + 32);
        return s;
    };
    static const char* const kDocTypes[] = {".docx", ".xlsx", ".pdf", ".txt", ".png", ".jpg"};
    std::vector<CatalogItem> items(count);
    for (std::size_t i = 0; i < count; ++i) {
        CatalogItem& item = items[i];
        const std::string number = std::to_string(random() % 10000);
        switch (random() % 10) {
        case 0:
        case 1:
        case 2: { // a start-menu shortcut, named without ".lnk"
            const std::string name = word() + " " + word() + " " + number;
            item.path = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\" + word() +
                        "\\" + name + ".lnk";
            item.name = name;
            break;
        }
        case 3:
        case 4:
        case 5:
        case 6: { // a program file, extension hidden by the shell
            const std::string file = lower(word()) + lower(word()) + number;
            item.path = "C:\\Program Files\\" + word() + "\\" + word() + " " + word() + "\\bin\\" +
                        file + ".exe";
            item.name = file;
            break;
        }
        case 7:
        case 8: { // a document
            const std::string file = word() + "_" + word() + "_" + number;
            item.path =
                "C:\\Users\\alex\\Documents\\" + word() + "\\" + file + kDocTypes[random() % 6];
            item.name = file;
            break;
        }
        default: // a folder entry: no name
            item.path = "C:\\Users\\alex\\Documents\\" + word() + "\\" + word() + " " + number;
            break;
        }
    }
    return items;
}

} // namespace orvan::bench
