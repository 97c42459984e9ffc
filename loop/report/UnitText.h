#pragma once

#include <string>
#include <string_view>

namespace owlet::loop {

// `value` with an SI prefix and `digits` significant digits, trailing zeros dropped:
// (4700, "Ω") gives "4.7 kΩ", (1.5e-9, "F") "1.5 nF", (0, "Hz") "0 Hz". Never locale-bound.
std::string EngineeringText(double value, std::string_view unit, int digits = 3);

// `value` with `decimals` digits after the point, as "52.3".
std::string FixedText(double value, int decimals);

} // namespace owlet::loop
