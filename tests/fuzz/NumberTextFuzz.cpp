// Fuzz target: every finite double, taken from 8 input bytes, reads back from its
// NumberText to 15 significant digits.
#include "tests/support/RoundTrip.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, data, size < sizeof bits ? size : sizeof bits);
    const double value = std::bit_cast<double>(bits);
    if (std::isfinite(value))
        if (!owlet::test::roundTripHolds(value))
            __builtin_trap();
    return 0;
}
