// Fuzz target: any text, of any length, read as a number either faults with Overflow or gives a
// finite double, and that double's NumberText reads back as the value to 15 significant digits.
#include "tests/support/RoundTrip.h"

#include "math/ArithmeticFault.h"
#include "math/ReadNumber.h"

#include <cmath>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    // A byte 0x01 stands for 100,000 zeros, so short inputs reach the lengths at which
    // digit counts outweigh exponents.
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0x01)
            text.append(100000, '0');
        else
            text.push_back(static_cast<char>(data[i]));
    }
    double value = 0.0;
    try {
        value = owlet::ReadNumber(text);
    } catch (const owlet::ArithmeticFault& fault) {
        if (fault.kind() != owlet::FaultKind::Overflow)
            __builtin_trap();
        return 0;
    }
    if (!std::isfinite(value))
        __builtin_trap();
    if (!owlet::test::roundTripHolds(value))
        __builtin_trap();
    return 0;
}
