#pragma once

#include "math/NumberText.h"
#include "math/ReadNumber.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace owlet::fuzz {

// Traps unless ReadNumber(NumberText(value)) is value rounded to 15 significant digits
// (or value itself where that rounding would leave the double range).
inline void checkRoundTrip(double value) {
    char digits[40];
    std::snprintf(digits, sizeof digits, "%.14e", value);
    double expected = 0.0;
    if (std::from_chars(digits, digits + std::strlen(digits), expected).ec != std::errc())
        expected = value;
    const std::string text = NumberText(value);
    if (text.empty() || (text[0] != ' ' && text[0] != '-'))
        __builtin_trap();
    if (ReadNumber(text) != expected)
        __builtin_trap();
}

} // namespace owlet::fuzz
