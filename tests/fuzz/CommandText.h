#pragma once

#include <string_view>

namespace owlet::fuzz {

// Exactly `digits` upper-case hexadecimal digits.
inline bool isHexText(std::string_view text, std::size_t digits) {
    if (text.size() != digits)
        return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return false;
    return true;
}

// A command line of the module without its CR LF: R or N and four digits, C and two, U, W.
// Written out here from the protocol's description, not from the code under test.
inline bool isCommandText(std::string_view text) {
    if (text.empty())
        return false;
    const std::string_view value = text.substr(1);
    switch (text[0]) {
    case 'R':
    case 'N':
        return isHexText(value, 4);
    case 'C':
        return isHexText(value, 2);
    case 'U':
    case 'W':
        return value.empty();
    default:
        return false;
    }
}

} // namespace owlet::fuzz
