#pragma once

#include <stdexcept>
#include <string>

namespace owlet {

enum class FaultKind { DivisionByZero, Overflow };

// The name a user sees in a run-time error report.
constexpr const char* faultKindName(FaultKind kind) {
    return kind == FaultKind::DivisionByZero ? "Division by zero" : "Overflow";
}

// The failure of an arithmetic operation. The handlers let it pass: it ends the
// running handler at the failing step and reaches the user as a run-time error.
class ArithmeticFault : public std::runtime_error {
public:
    ArithmeticFault(FaultKind kind, const std::string& detail)
        : std::runtime_error(detail)
        , kind_(kind) {}

    FaultKind kind() const noexcept { return kind_; }

private:
    FaultKind kind_;
};

} // namespace owlet
