#pragma once

#include "loop/numerics/LoopSetting.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace owlet::loop {

// The real three-state detector after a channel change: both dividers jam-loaded at t = 0
// with the loop locked on the old channel, every edge at its exact time, the filter solved
// exactly between edges.
struct SimulatedStep {
    struct Cycle {
        double timeS;    // the fV edge that ends it
        double offsetHz; // N over the time since the previous fV edge, minus the new channel
    };
    std::vector<Cycle> cycles;
    std::optional<double> lockTimeS;   // the first fV edge from which every cycle is in tolerance
    std::int64_t comparisonCycles = 0; // fR edges simulated
    bool ranAway = false;              // the VCO left 0 to twice the channel
};

// Simulates up to `comparisonCycles` reference periods.
SimulatedStep SimulateStep(const LoopSetting& s, std::int64_t comparisonCycles);

} // namespace owlet::loop
