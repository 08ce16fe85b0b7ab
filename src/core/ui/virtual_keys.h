#pragma once
// Virtual-key codes the key tables use (Windows numbering), so that the tables stay pure
// functions the tests drive without a window.
#include <cstdint>

namespace orvan {

namespace VirtualKey {
constexpr std::uint32_t Back = 0x08;
constexpr std::uint32_t Tab = 0x09;
constexpr std::uint32_t Return = 0x0D;
constexpr std::uint32_t Escape = 0x1B;
constexpr std::uint32_t Space = 0x20;
constexpr std::uint32_t PageUp = 0x21;
constexpr std::uint32_t PageDown = 0x22;
constexpr std::uint32_t End = 0x23;
constexpr std::uint32_t Home = 0x24;
constexpr std::uint32_t Up = 0x26;
constexpr std::uint32_t Down = 0x28;
constexpr std::uint32_t Delete = 0x2E;
constexpr std::uint32_t Digit1 = 0x31; // '1'; the digits follow in order up to '9'
constexpr std::uint32_t Digit9 = 0x39;
constexpr std::uint32_t D = 0x44;
constexpr std::uint32_t F4 = 0x73;
constexpr std::uint32_t F12 = 0x7B;
} // namespace VirtualKey

} // namespace orvan
