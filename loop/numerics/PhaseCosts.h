#pragma once

#include "loop/numerics/LoopSetting.h"

#include <string>
#include <vector>

namespace owlet::loop {

// An optional part's pole and the phase it takes from the loop at the crossover.
struct PhaseCost {
    std::string part; // "Cc", "C1", "R3/C3"
    double poleHz = 0.0;
    double costDeg = 0.0;
};

// The fitted optional parts' poles, the costliest first. Each pole as the part makes it
// on its own (Cc: 4 / (R1 Cc); C1 across R2 + C2: (C1 + C2) / (R2 C1 C2); R3/C3:
// 1 / (R3 C3)): what a designer would reach for first.
std::vector<PhaseCost> PoleCosts(const LoopSetting& s, double crossoverHz);
// The lead R2's zero (1 / (R2 C2)) gives at the crossover, in degrees.
double ZeroLeadDeg(const LoopSetting& s, double crossoverHz);

} // namespace owlet::loop
