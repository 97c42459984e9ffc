#pragma once

#include "math/ArithmeticFault.h"

#include <optional>

namespace owlet {

// Evaluates one expression step by step, each step rounded to double on its own, and
// remembers the first step that failed: a non-zero number divided by zero is a division
// by zero; 0 / 0, a result beyond the double range or an undefined one is an overflow.
// The caller evaluates the whole expression, then asks for the fault.
class CheckedExpression {
public:
    double divide(double dividend, double divisor);
    double multiply(double a, double b);
    double subtract(double a, double b);

    std::optional<FaultKind> fault() const { return fault_; }

private:
    double checked(double result);
    void note(FaultKind kind);

    std::optional<FaultKind> fault_;
};

} // namespace owlet
