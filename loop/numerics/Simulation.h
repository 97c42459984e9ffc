#pragma once

#include "loop/numerics/LoopSetting.h"

#include <array>
#include <cstdint>
#include <memory>
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
    // Why a run ended before its comparison cycles were all simulated.
    enum class Stop {
        None,
        Rail,     // the tuning voltage needed more than the drive can give
        NoSignal, // the VCO's frequency fell to 0 or below
    };
    std::vector<Cycle> cycles;
    std::optional<double> lockTimeS;   // the first fV edge from which every cycle is in tolerance
    std::int64_t comparisonCycles = 0; // fR edges simulated
    Stop stop = Stop::None;
    double stopTimeS = 0.0;     // where it stopped
    double neededVoltage = 0.0; // with Stop::Rail: the tuning voltage the loop asked for
    bool ranAway() const { return stop != Stop::None; }
};

// A simulation that runs in pieces: `run` takes up to so many comparison cycles at a time,
// so a view can keep answering between them.
class StepSimulation {
public:
    // Simulates up to `comparisonCycles` reference periods. The start (the old channel's
    // tuning voltage) must lie within the drive range.
    StepSimulation(const LoopSetting& s, std::int64_t comparisonCycles);
    ~StepSimulation();
    StepSimulation(StepSimulation&&) noexcept;
    StepSimulation& operator=(StepSimulation&&) noexcept;

    // Runs at most `cycles` more comparison cycles; true once the whole run is done.
    bool run(std::int64_t cycles);
    // The run so far; its lock time once done.
    const SimulatedStep& result() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The tuning voltage's ripple at Fcomp, 2 Fcomp and 3 Fcomp (peak volts) in a leaking
// loop's steady state: locked on the channel, the leakage starting at t = 0, the real
// detector's correction pulses simulated edge to edge for `comparisonCycles` periods, the
// last period's voltage taken apart. `settled`: the last two periods agree (to 0.1 %).
struct LeakageRipple {
    std::array<double, 3> volts{};
    bool settled = false;
    bool ranAway = false;
};
// The same in pieces, as StepSimulation runs.
class LeakageSimulation {
public:
    LeakageSimulation(const LoopSetting& s, std::int64_t comparisonCycles);
    ~LeakageSimulation();
    LeakageSimulation(LeakageSimulation&&) noexcept;
    LeakageSimulation& operator=(LeakageSimulation&&) noexcept;

    // Runs at most `cycles` more comparison cycles; true once the whole run is done.
    bool run(std::int64_t cycles);
    // Once done.
    LeakageRipple result() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};
LeakageRipple SimulateLeakage(const LoopSetting& s, std::int64_t comparisonCycles);

// The whole run at once.
SimulatedStep SimulateStep(const LoopSetting& s, std::int64_t comparisonCycles);

} // namespace owlet::loop
