#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace owlet::loop {

// A value as a module builder writes it: "4k7", "2.2k", "1M8", "4n7", "100p", "1u", "1µ",
// "1e-6", "0.1", optionally followed by its unit ("4.7nF", "10 kΩ", "4k7 ohm"). A prefix
// letter between digits stands for the decimal point (4k7 = 4.7k; 4R7 = 4.7). With
// `prefixes` false only a plain number is taken ("145.0125", "-12.5", "1e3"). None for
// anything else, or for a number beyond the double range.
std::optional<double> ReadPartValue(std::string_view text, bool prefixes = true);

// `value` with an SI prefix and `digits` significant digits, trailing zeros dropped:
// (4700, "Ω") gives "4.7 kΩ", (1.5e-9, "F") "1.5 nF", (0, "Hz") "0 Hz". Never locale-bound.
std::string EngineeringText(double value, std::string_view unit, int digits = 3);

// `value` with `decimals` digits after the point, as "52.3".
std::string FixedText(double value, int decimals);

} // namespace owlet::loop
