#include "math/Registers.h"

#include <cstdio>

namespace owlet {

std::int32_t AssembleC(std::int16_t refOutIndex, bool pd0Selected, std::int16_t invertPD,
                       std::int16_t lde, std::int16_t fvE, std::int16_t frE) {
    std::int32_t c = 0;
    if (refOutIndex > 0)
        c += refOutIndex * 4;
    if (!pd0Selected)
        c += 64;
    if (invertPD == 1)
        c += 128;
    if (lde == 1)
        c += 32;
    if (fvE == 1)
        c += 2;
    if (frE == 1)
        c += 1;
    return c;
}

std::string FormatRegister(std::int32_t value, int digits) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%0*X", 8,
                  static_cast<unsigned>(static_cast<std::uint32_t>(value)));
    const int width = digits == 2 ? 2 : 4;
    return std::string(hex + 8 - width, static_cast<std::size_t>(width));
}

} // namespace owlet
