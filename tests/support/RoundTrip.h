#pragma once

#include "math/NumberText.h"
#include "math/ReadNumber.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace owlet::test {

// Whether ReadNumber(NumberText(value)) is value rounded to 15 significant digits (or value
// itself where that rounding would leave the double range), and the text starts with the
// blank or minus sign the panel writes.
inline bool roundTripHolds(double value) {
    char digits[40];
    std::snprintf(digits, sizeof digits, "%.14e", value);
    double expected = 0.0;
    if (std::from_chars(digits, digits + std::strlen(digits), expected).ec != std::errc())
        expected = value;
    const std::string text = NumberText(value);
    return !text.empty() && (text[0] == ' ' || text[0] == '-') && ReadNumber(text) == expected;
}

} // namespace owlet::test
