#pragma once

#include <cstddef>
#include <string>

namespace owlet {

// The response box keeps the most recent replies, as a terminal keeps its scrollback:
// once it holds more than ResponseLimit characters, whole lines are dropped from the top
// until about ResponseKept remain, and never fewer than ResponseAtLeast. A module that
// streams for days, or an adapter that ignores the baud rate, cannot fill the memory.
inline constexpr std::size_t ResponseLimit = 2 * 1024 * 1024;
inline constexpr std::size_t ResponseKept = 3 * 512 * 1024;
inline constexpr std::size_t ResponseAtLeast = 1024 * 1024;

// Trims UTF-8 `text` by that rule: cut after a line break (CR, LF or CR LF) where one lies
// between the two marks, else at a character boundary. Returns the bytes dropped.
std::size_t trimResponse(std::string& text);

} // namespace owlet
