#pragma once
// The program's command table and the dispatcher that carries out a command key on the
// search window: ending the program or switching its page. The robot's "run NAME" and its
// page and exit words return these keys.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvan {

struct Command {
    int Key = 0;
    int Caption = 0; // a text number; not read by this program
    std::string_view Name;
    std::uint16_t ShortCut = 0;
    int Reserved = 0; // 0 in every row
};

inline constexpr int kCommandExit = 1;
inline constexpr int kCommandNone = 2;
inline constexpr int kCommandFirstPage = 10; // key 10 + n shows page n
inline constexpr int kCommandLastPage = 15;
inline constexpr int kCommandAbout = 15;

inline constexpr std::size_t kCommandTableSize = 20;

// Eight filled rows, the rest zero (empty name, key 0).
extern const std::array<Command, kCommandTableSize> CommandTable;

// The key of the first row whose name equals the given one without regard to letter
// case, or -1. The empty name matches row 1 (key 2, which does nothing).
int CommandByName(std::string_view name);

// What the dispatcher needs of the search window.
class CommandPort {
public:
    virtual ~CommandPort() = default;
    virtual bool SearchWindowVisible() const = 0;
    // Makes page n (0 "run" to 5 "about") the active page of the window's page control.
    virtual void ShowPage(int page) = 0;
    // Tells the application to end, without saving options or catalog.
    virtual void Terminate() = 0;
};

// Acts on a command key only while the search window is visible: 1 ends the program,
// 10 to 15 show page key - 10, any other key does nothing. Errors raised while acting are
// swallowed.
void ExecuteCommand(CommandPort& port, int key) noexcept;

} // namespace orvan
