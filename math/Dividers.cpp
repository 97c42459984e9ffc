#include "math/Dividers.h"

#include "math/CheckedArithmetic.h"
#include "math/NumberText.h"
#include "math/Rounding.h"

#include <cmath>
#include <limits>

namespace owlet {
namespace {

void throwIfFaulted(const CheckedExpression& e, const char* divisionByZero, const char* overflow) {
    if (const auto kind = e.fault())
        throw ArithmeticFault(*kind,
                              *kind == FaultKind::DivisionByZero ? divisionByZero : overflow);
}

// A divider: frequency / fcomp * 1000, rounded half to even. R and N share it.
std::int32_t dividerFor(double frequency, double fcompKHz, const char* divisionByZero,
                        const char* overflow) {
    CheckedExpression e;
    double q = e.divide(frequency, fcompKHz);
    q = e.multiply(q, 1000.0);
    throwIfFaulted(e, divisionByZero, overflow);
    return RoundToInt32(q);
}

} // namespace

std::int32_t ComputeR(double frefMHz, double fcompKHz) {
    return dividerFor(frefMHz, fcompKHz,
                      "the comparison frequency reads as 0, so R cannot be computed",
                      "R = Fref / Fcomp x 1000 is undefined or beyond the double range");
}

double ActualFcompKHz(double frefMHz, std::int32_t r) {
    CheckedExpression e;
    double x = e.divide(frefMHz, static_cast<double>(r));
    x = e.multiply(x, 1000.0);
    throwIfFaulted(e, "R rounds to 0: the reference is too small for this comparison frequency",
                   "the actual comparison frequency Fref / R x 1000 is undefined or beyond "
                   "the double range");
    return x;
}

std::int32_t ComputeN(double foutMHz, double fcompKHz) {
    return dividerFor(foutMHz, fcompKHz,
                      "the comparison frequency reads as 0, so N cannot be computed",
                      "N = Fout / Fcomp x 1000 is undefined or beyond the double range");
}

std::int32_t FrequencyErrorHz(std::int32_t n, double fcompKHz, double foutMHz) {
    CheckedExpression e;
    double a = e.multiply(static_cast<double>(n), fcompKHz);
    a = e.multiply(a, 1000.0);
    const double b = e.multiply(foutMHz, 1000000.0);
    const double error = e.subtract(a, b);
    throwIfFaulted(e, "the frequency error divides by zero",
                   "the frequency error is undefined or beyond the double range");
    return RoundToInt32(error);
}

bool NeedsWarning(std::int32_t errorHz) {
    if (errorHz == std::numeric_limits<std::int32_t>::min())
        throw ArithmeticFault(FaultKind::Overflow,
                              "the frequency error -2147483648 Hz has no 32-bit absolute value");
    const std::int32_t magnitude = errorHz < 0 ? -errorHz : errorHz;
    return static_cast<double>(magnitude) > 0.0001;
}

std::string WarningText(std::int32_t errorHz) {
    return "Non-integer ratio: \r\nFreq error " + NumberText(errorHz) + "Hz";
}

} // namespace owlet
