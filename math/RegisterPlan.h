#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace owlet {

// The registers as "Set R " and "Set N" compute them from what the user typed: the panel
// and owlet-cli both take them from here. Texts are read with ReadNumber; a step that
// faults throws ArithmeticFault, as the panel's handler stops with a run-time error.

// The comparison frequencies the Fcomp list offers, in kHz, as it shows them.
inline constexpr std::array<std::string_view, 7> FcompListKHz{"6.25", "10",  "12.5", "25",
                                                              "50",   "100", "200"};
// The REFout list: an entry's index is the chip's three-bit REFout code.
inline constexpr std::array<std::string_view, 6> RefOutNames{"DC Static", "= OscIn",  "OscIn /2",
                                                             "OscIn /4",  "OscIn /8", "OscIn /16"};

struct ReferencePlan {
    std::int32_t r = 0;
    // The comparison frequency R really gives, as "Set R " writes it back (" 25").
    std::string actualFcompText;
};

// R = Fref / Fcomp x 1000 and the comparison frequency it gives. A divider outside its
// 16-bit register is refused (Overflow): sent cut to 16 bits, it would program another one.
ReferencePlan PlanReference(std::string_view frefText, std::string_view fcompText);

struct OutputPlan {
    std::int32_t n = 0;
    std::int32_t errorHz = 0; // N x Fcomp - Fout: positive above the requested frequency
    bool inexact = false;     // the warning is due
};

// N = Fout / Fcomp x 1000, the frequency error it leaves and whether it warrants the warning;
// refused like R outside its register, and for the error that has no absolute value.
OutputPlan PlanOutput(std::string_view foutText, std::string_view fcompText);

} // namespace owlet
