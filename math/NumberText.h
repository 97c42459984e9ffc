#pragma once

#include <cstdint>
#include <string>

namespace owlet {

// Decimal text of a number as the panel writes it: one leading blank for 0 and above,
// "-" for negative values. 25 gives " 25", -10000 gives "-10000".
std::string NumberText(std::int32_t value);

// The same sign rule, then at most 15 significant digits, rounded to nearest, trailing
// zeros dropped and no point for whole values. 6.997900629811057 gives " 6.99790062981106".
// Magnitudes from 1e-5 up to below 1e15 are written out with a zero before the point
// (" 0.5"); others use an exponent (" 1.5E+20", " 1E-07"). ReadNumber of the text gives
// back the value rounded to 15 significant digits; only where that rounding would leave
// the double range (next to the largest double) are up to 17 digits written instead.
// -0.0 is " 0".
std::string NumberText(double value);

// The same without the blank before values of 0 and above: " 12.5" is "12.5", as typed.
std::string PlainNumberText(double value);

} // namespace owlet
