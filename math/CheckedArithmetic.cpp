#include "math/CheckedArithmetic.h"

#include <cmath>

namespace owlet {

double CheckedExpression::divide(double dividend, double divisor) {
    if (divisor == 0.0) {
        note(dividend == 0.0 || std::isnan(dividend) ? FaultKind::Overflow
                                                     : FaultKind::DivisionByZero);
        return 0.0;
    }
    return checked(dividend / divisor);
}

double CheckedExpression::multiply(double a, double b) {
    return checked(a * b);
}

double CheckedExpression::subtract(double a, double b) {
    return checked(a - b);
}

double CheckedExpression::checked(double result) {
    if (!std::isfinite(result))
        note(FaultKind::Overflow);
    return result;
}

void CheckedExpression::note(FaultKind kind) {
    if (!fault_)
        fault_ = kind;
}

} // namespace owlet
