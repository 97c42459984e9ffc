#include "loop/report/UnitText.h"

#include "math/FloatChars.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace owlet::loop {

std::string FixedText(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(std::abs(value) * scale);
    if (!std::isfinite(rounded) || rounded >= 1e15)
        return std::isfinite(value) ? ScientificText(value, 6) : "-";
    auto whole = static_cast<long long>(rounded);
    std::string digits = std::to_string(whole);
    if (decimals > 0) {
        if (digits.size() <= static_cast<std::size_t>(decimals))
            digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
    }
    return (value < 0.0 && whole != 0 ? "-" : "") + digits;
}

std::string EngineeringText(double value, std::string_view unit, int digits) {
    if (!std::isfinite(value))
        return "-";
    static constexpr std::array<std::string_view, 10> Names{"f", "p", "n", "\xC2\xB5", "m",
                                                            "",  "k", "M", "G",        "T"};
    std::string text = "0";
    if (value != 0.0) {
        // Rounded first, so that 999.96 becomes "1 k" and not "1000".
        const std::string sci = ScientificText(std::abs(value), digits);
        const int e10 = std::atoi(sci.c_str() + sci.find('e') + 1);
        const int group = std::clamp((e10 >= 0 ? e10 / 3 : (e10 - 2) / 3), -5, 4);
        const double mantissa = group >= 0 ? std::abs(value) / std::pow(10.0, 3 * group)
                                           : std::abs(value) * std::pow(10.0, -3 * group);
        // Digits before the point; none or fewer where the prefixes run out (0.001 fF).
        const int whole = e10 - 3 * group + 1;
        text = FixedText(value < 0 ? -mantissa : mantissa, std::max(0, digits - whole));
        if (text.find('.') != std::string::npos) {
            while (text.back() == '0')
                text.pop_back();
            if (text.back() == '.')
                text.pop_back();
        }
        text += " " + std::string(Names[static_cast<std::size_t>(group + 5)]);
    } else {
        text += " ";
    }
    return text + std::string(unit);
}

} // namespace owlet::loop
