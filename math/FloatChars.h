#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace owlet {

// Doubles read and written in the C locale's form (a period for the decimal point) whatever
// the user's locale, exactly: correctly rounded both ways. std::from_chars and std::to_chars
// do it where the standard library has them for doubles; where it does not (the libc++ of
// the WebAssembly toolchain), strtod and snprintf of a C library that knows only the C locale
// stand in. Both are built here; the build picks one, and a test holds them to the same digits.

struct ParsedDouble {
    double value = 0.0;
    std::size_t length = 0;  // characters taken; 0 when no number stands there
    bool outOfRange = false; // beyond the double range, or nonzero yet below its least value
};

// A non-negative number: decimal digits with an optional point and exponent, or with `hex`
// hexadecimal digits.
ParsedDouble ParseDouble(std::string_view text, bool hex = false);
// |value| in scientific form with `precision` significant digits: "6.99790062981106e+00".
std::string ScientificText(double magnitude, int precision);

// The stand-ins, built everywhere so the tests can hold them to from_chars and to_chars.
namespace fallback {
ParsedDouble ParseDouble(std::string_view text, bool hex);
std::string ScientificText(double magnitude, int precision);
} // namespace fallback

} // namespace owlet
