#include "loop/input/PartValue.h"

#include "math/FloatChars.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace owlet::loop {
namespace {

struct Prefix {
    std::string_view text;
    int exponent;
};
// µ twice: the micro sign and the Greek letter look alike.
constexpr std::array<Prefix, 14> Prefixes{{{"f", -15},
                                           {"p", -12},
                                           {"n", -9},
                                           {"u", -6},
                                           {"\xC2\xB5", -6},
                                           {"\xCE\xBC", -6},
                                           {"m", -3},
                                           {"R", 0},
                                           {"r", 0},
                                           {"k", 3},
                                           {"K", 3},
                                           {"M", 6},
                                           {"G", 9},
                                           {"T", 12}}};
constexpr std::array<std::string_view, 8> Units{
    "F", "\xCE\xA9", "\xE2\x84\xA6", "ohm", "Ohm", "ohms", "V", "Hz"};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::optional<double> ReadPartValue(std::string_view text, bool prefixes) {
    text = TrimBlanks(text);
    double sign = 1.0;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        sign = text.front() == '-' ? -1.0 : 1.0;
        text.remove_prefix(1);
    }
    if (text.empty() || !(isDigit(text.front()) || text.front() == '.'))
        return std::nullopt;
    ParsedDouble number = ParseDouble(text);
    if (number.length == 0 || number.outOfRange)
        return std::nullopt;
    const std::string_view mantissa = text.substr(0, number.length);
    text.remove_prefix(number.length);
    int exponent = 0;
    text = TrimBlanks(text);
    if (prefixes)
        for (const Prefix& p : Prefixes)
            if (text.starts_with(p.text)) {
                text.remove_prefix(p.text.size());
                exponent = p.exponent;
                // Digits after the letter are the decimals: only after whole digits.
                std::size_t decimals = 0;
                while (decimals < text.size() && isDigit(text[decimals]))
                    ++decimals;
                if (decimals > 0) {
                    if (mantissa.find_first_not_of("0123456789") != std::string_view::npos)
                        return std::nullopt;
                    const std::string joined =
                        std::string(mantissa) + "." + std::string(text.substr(0, decimals));
                    number = ParseDouble(joined);
                    text.remove_prefix(decimals);
                }
                break;
            }
    text = TrimBlanks(text);
    if (!text.empty()) {
        bool unit = false;
        for (const std::string_view u : Units)
            unit = unit || text == u;
        if (!unit)
            return std::nullopt;
    }
    // A power of ten below one divides, so that 4n7 is the double nearest 4.7e-9.
    const double scale = std::pow(10.0, std::abs(exponent));
    const double value = exponent < 0 ? number.value / scale : number.value * scale;
    if (!std::isfinite(value))
        return std::nullopt;
    return sign * value;
}

} // namespace owlet::loop
