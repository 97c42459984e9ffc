#pragma once

#include <cstdint>
#include <string>

namespace owlet {

// The MC145170 control byte from the option controls, bit by bit:
// 7 POL (InvertPD = 1), 6 PDA/B (PD0 not selected), 5 LDE (= 1), 4..2 REFout code
// (the RefOut list index when above 0), 1 fVE (FvE = 1), 0 fRE (FrE = 1).
// A check box counts only with the value 1; greyed (2) counts as not ticked.
std::int32_t AssembleC(std::int16_t refOutIndex, bool pd0Selected, std::int16_t invertPD,
                       std::int16_t lde, std::int16_t fvE, std::int16_t frE);

// Exactly `digits` (4 or 2) upper-case hexadecimal digits: the low 16 or 8 bits of the
// value's 32-bit two's complement. 400 -> "0190", -400 -> "FE70", 70000 -> "1170".
std::string FormatRegister(std::int32_t value, int digits);

} // namespace owlet
