#pragma once

#include "math/ArithmeticFault.h"

#include <optional>

// The kind of fault a call raised, or nothing when it returned normally.
template <typename Call> std::optional<owlet::FaultKind> faultOf(Call call) {
    try {
        call();
    } catch (const owlet::ArithmeticFault& fault) {
        return fault.kind();
    }
    return std::nullopt;
}

inline const std::optional<owlet::FaultKind> noFault;
inline const std::optional<owlet::FaultKind> divisionByZero = owlet::FaultKind::DivisionByZero;
inline const std::optional<owlet::FaultKind> overflow = owlet::FaultKind::Overflow;
