#pragma once

#include "math/ArithmeticFault.h"

#include <optional>

namespace owlet::test {

// The exception of type E a call threw, or nothing when it returned normally.
template <typename E, typename Call> std::optional<E> thrown(Call&& call) {
    try {
        call();
    } catch (const E& e) {
        return e;
    }
    return std::nullopt;
}

// The kind of arithmetic fault a call raised, or nothing.
template <typename Call> std::optional<FaultKind> faultOf(Call&& call) {
    const std::optional<ArithmeticFault> fault = thrown<ArithmeticFault>(call);
    return fault ? std::optional(fault->kind()) : std::nullopt;
}

inline const std::optional<FaultKind> noFault;
inline const std::optional<FaultKind> divisionByZero = FaultKind::DivisionByZero;
inline const std::optional<FaultKind> overflow = FaultKind::Overflow;

} // namespace owlet::test
