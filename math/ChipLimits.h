#pragma once

#include <cstdint>
#include <string>

namespace owlet {

// What the MC145170 can count with: its reference divider R takes 1 or 5 to 32767, its
// feedback divider N 40 to 65535. The module loads whatever it is sent.
inline constexpr std::int32_t LargestR = 32767;
inline constexpr std::int32_t SmallestN = 40;
inline constexpr std::int32_t LargestN = 65535;

bool ChipTakesR(std::int32_t r);
bool ChipTakesN(std::int32_t n);

// For a divider the chip cannot count with, what it accepts and what to change ("R = 4:
// the MC145170 divides its reference by 1 or by 5 to 32767; choose a smaller comparison
// frequency"); empty for one it takes. `name` is 'R' or 'N'.
std::string ChipLimitAdvice(char name, std::int32_t value);

} // namespace owlet
