#include "math/NumberText.h"

#include "math/FloatChars.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace owlet {
namespace {

// Significant digits and decimal exponent of |value|, rounded to `precision` digits
// (correctly rounded by the C library), trailing zeros removed.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal decimalOf(double magnitude, int precision) {
    // Never printf here: on a German desktop it would write a decimal comma.
    const std::string text = ScientificText(magnitude, precision);
    Decimal d;
    std::size_t p = 0;
    for (; p < text.size() && text[p] != 'e'; ++p)
        if (text[p] != '.')
            d.digits.push_back(text[p]);
    d.exponent = std::atoi(text.substr(p + 1).c_str());
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

bool readsBackFinite(const Decimal& d) {
    const std::string text =
        d.digits.substr(0, 1) + "." + d.digits.substr(1) + "e" + std::to_string(d.exponent);
    const ParsedDouble parsed = ParseDouble(text);
    return parsed.length > 0 && !parsed.outOfRange && std::isfinite(parsed.value);
}

std::string fixedForm(const Decimal& d) {
    const int digitCount = static_cast<int>(d.digits.size());
    if (d.exponent < 0)
        return "0." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    if (d.exponent + 1 >= digitCount)
        return d.digits + std::string(static_cast<std::size_t>(d.exponent + 1 - digitCount), '0');
    return d.digits.substr(0, static_cast<std::size_t>(d.exponent + 1)) + "." +
           d.digits.substr(static_cast<std::size_t>(d.exponent + 1));
}

std::string exponentForm(const Decimal& d) {
    std::string text = d.digits.substr(0, 1);
    if (d.digits.size() > 1)
        text += "." + d.digits.substr(1);
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "E%c%02d", d.exponent < 0 ? '-' : '+',
                  std::abs(d.exponent));
    return text + exponent;
}

} // namespace

std::string NumberText(std::int32_t value) {
    return (value < 0 ? "" : " ") + std::to_string(value);
}

std::string NumberText(double value) {
    if (std::isnan(value))
        return " 0"; // never produced by the arithmetic, which faults first
    const std::string sign = value < 0 ? "-" : " ";
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0)
        return sign + "0";
    if (std::isinf(magnitude))
        return sign + "1.7976931348623157E+308"; // unreachable: the arithmetic faults first
    Decimal d = decimalOf(magnitude, 15);
    if (!readsBackFinite(d))
        d = decimalOf(magnitude, 17);
    const bool fixed = d.exponent >= -5 && d.exponent < 15;
    return sign + (fixed ? fixedForm(d) : exponentForm(d));
}

std::string PlainNumberText(double value) {
    std::string text = NumberText(value);
    if (text.front() == ' ')
        text.erase(0, 1);
    return text;
}

} // namespace owlet
