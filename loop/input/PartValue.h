#pragma once

#include <optional>
#include <string_view>

namespace owlet::loop {

// A value as a module builder writes it: "4k7", "2.2k", "1M8", "4n7", "100p", "1u", "1µ",
// "1e-6", "0.1", optionally followed by its unit ("4.7nF", "10 kΩ", "4k7 ohm"). A prefix
// letter between digits stands for the decimal point (4k7 = 4.7k; 4R7 = 4.7). With
// prefixes run from f (femto) to T (tera), every range a message names among them. With
// `prefixes` false only a plain number is taken ("145.0125", "-12.5", "1e3"). None for
// anything else, or for a number beyond the double range.
std::optional<double> ReadPartValue(std::string_view text, bool prefixes = true);
// The text without the blanks around it (spaces, tabs, line ends), as a value is read.
std::string_view TrimBlanks(std::string_view text);

} // namespace owlet::loop
