#pragma once

#include "math/ArithmeticFault.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace owlet {

// The registers as "Set R " and "Set N" compute them from what the user typed: the panel's
// handlers, owlet-cli, the loop designer and the exact-setting search all take them from
// PlanRegisters. Texts are read with ReadNumber.

// The comparison frequencies the Fcomp list offers, in kHz, as it shows them.
inline constexpr std::array<std::string_view, 7> FcompListKHz{"6.25", "10",  "12.5", "25",
                                                              "50",   "100", "200"};
// The REFout list: an entry's index is the chip's three-bit REFout code.
inline constexpr std::array<std::string_view, 6> RefOutNames{"DC Static", "= OscIn",  "OscIn /2",
                                                             "OscIn /4",  "OscIn /8", "OscIn /16"};

// One divider as computed, or why its computation stopped. A divider outside its 16-bit
// register is refused: sent cut to 16 bits, it would program another one.
struct DividerStep {
    char name = 'R'; // 'R' or 'N'
    std::int32_t value = 0;
    std::optional<ArithmeticFault> fault; // a text the arithmetic refused
    bool fitsRegister = true;             // 0 to 65535
    std::string hex;                      // as the module gets it, once computed
    std::string chipAdvice;               // empty when the MC145170 counts with it

    bool computed() const { return !fault && fitsRegister; }
};

struct ReferencePlan : DividerStep {
    // The comparison frequency R really gives, as "Set R " writes it back (" 25").
    std::string actualFcompText;
};

struct OutputPlan : DividerStep {
    std::int32_t errorHz = 0; // N x Fcomp - Fout: positive above the requested frequency
    bool inexact = false;     // the warning is due
};

struct RegisterPlan {
    std::optional<ReferencePlan> r; // with a reference frequency
    std::optional<OutputPlan> n;    // with an output frequency, unless R stopped
    // The comparison frequency N is computed from: R's real one once R is planned.
    std::string fcompText;
};

// R = Fref / Fcomp x 1000 and the comparison frequency it really gives (when `fref` is
// given), then N = Fout / Fcomp x 1000 from that frequency, the error it leaves and
// whether it warrants the warning (when `fout` is given). Nothing throws: each step holds
// its fault.
RegisterPlan PlanRegisters(std::optional<std::string_view> fref, std::string_view fcomp,
                           std::optional<std::string_view> fout);

// "R = 80000 does not fit the 16-bit R register (0 to 65535)".
std::string RegisterOverflowText(const DividerStep& step);

// For a program about to send the divider: throws its fault, or Overflow for one outside
// its register ("...; nothing was sent"), as the panel's handler stops with a run-time error.
void RequireComputed(const DividerStep& step);

} // namespace owlet
