#include "math/Rounding.h"

#include "math/ArithmeticFault.h"
#include "math/NumberText.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace owlet {
namespace {

// Round half to even without relying on the floating-point environment's rounding mode.
// x - floor(x) is exact for every finite double, so the comparisons with 0.5 are too.
double nearestEven(double x) {
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction > 0.5)
        return below + 1.0;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

template <typename Int> Int roundTo(double x, const char* typeName) {
    const double r = std::isnan(x) ? x : nearestEven(x);
    if (!(r >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          r <= static_cast<double>(std::numeric_limits<Int>::max()))) {
        throw ArithmeticFault(FaultKind::Overflow,
                              NumberText(x).substr(x < 0 ? 0 : 1) + " does not fit a " + typeName);
    }
    return static_cast<Int>(r);
}

} // namespace

std::int32_t RoundToInt32(double x) {
    return roundTo<std::int32_t>(x, "signed 32-bit integer");
}

std::int16_t RoundToInt16(double x) {
    return roundTo<std::int16_t>(x, "signed 16-bit integer");
}

} // namespace owlet
