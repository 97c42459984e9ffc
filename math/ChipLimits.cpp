#include "math/ChipLimits.h"

namespace owlet {

bool ChipTakesR(std::int32_t r) {
    return r == 1 || (r >= 5 && r <= LargestR);
}

bool ChipTakesN(std::int32_t n) {
    return n >= SmallestN && n <= LargestN;
}

std::string ChipLimitAdvice(char name, std::int32_t value) {
    const bool isR = name == 'R';
    if (isR ? ChipTakesR(value) : ChipTakesN(value))
        return {};
    // A divider grows as the comparison frequency shrinks.
    const bool tooSmall = value < (isR ? 5 : SmallestN);
    return std::string(1, name) + " = " + std::to_string(value) + ": the MC145170 divides " +
           (isR ? "its reference by 1 or by 5 to 32767" : "its input by 40 to 65535") +
           "; choose a " + (tooSmall ? "smaller" : "larger") + " comparison frequency";
}

} // namespace owlet
