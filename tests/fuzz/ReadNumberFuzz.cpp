// Fuzz target: any text read as a number either faults with Overflow or gives a finite
// double, and that double's NumberText reads back as the value to 15 significant digits.
#include "tests/fuzz/RoundTrip.h"

#include "math/ArithmeticFault.h"
#include "math/ReadNumber.h"

#include <cmath>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    double value = 0.0;
    try {
        value = owlet::ReadNumber(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const owlet::ArithmeticFault& fault) {
        if (fault.kind() != owlet::FaultKind::Overflow)
            __builtin_trap();
        return 0;
    }
    if (!std::isfinite(value))
        __builtin_trap();
    owlet::fuzz::checkRoundTrip(value);
    return 0;
}
