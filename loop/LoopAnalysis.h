#pragma once

#include "loop/input/LoopRequest.h"
#include "loop/noise/NoiseFigures.h"
#include "loop/numerics/Design.h"
#include "loop/numerics/Figures.h"
#include "loop/numerics/Simulation.h"

#include <optional>
#include <string>
#include <vector>

namespace owlet::loop {

// What the designer answers for one request: the problems of its fields, or the setting
// it read, every figure, the simulation, the warnings a module builder acts on and the one
// verdict, whether the loop locks.
struct LoopAnalysis {
    std::vector<InputProblem> problems; // none when the rest is filled in
    LoopSetting setting;
    std::optional<FilterDesign> design;
    LoopFigures figures;
    double detectorCurrentA = 0.0; // the most R1 draws from a detector output while it drives
    bool channelReachable = true;  // the new channel's tuning voltage within the drive
    bool startReachable = true;    // and the old one's
    // The simulation, once run to its end ("simulated"), or not run at all ("skipped": the
    // step would start where the drive cannot go).
    SimulatedStep simulation;
    bool simulated = false;
    bool simulationSkipped = false;
    std::int64_t simulationBound = 0; // comparison cycles the simulation is allowed
    bool simulationCapped = false;    // fewer than twenty lock times, at MostSimulatedCycles
    // The noise, when any of its inputs is given; the spurs, when a leakage is, once the
    // simulations have run; the natural frequency of least noise, when asked for.
    NoiseSetting noiseSetting;
    std::optional<NoiseFigures> noise;
    std::optional<Spurs> spurs;
    std::optional<LowestNoise> lowestNoise;
    std::vector<std::string> warnings;
    // The verdict: yes only when the polarity is right, the margin shown is above 0, the
    // tuning voltages are within the drive, the linear loop settles and the simulation, when
    // run, did not run away; otherwise `whyNot` says why, and a warning says more.
    bool locks = false;
    std::string whyNot;

    bool ok() const { return problems.empty(); }
};

// The most comparison cycles one simulation takes: a few hundred milliseconds of work.
inline constexpr std::int64_t MostSimulatedCycles = 200'000;

// Everything, the simulation included: what owlet-cli prints.
LoopAnalysis AnalyseLoop(const LoopRequest& request);

// Everything but the simulations, for a view that shows the linear figures at once; the run
// it still needs (none when the analysis has problems or skips it), and its result taken
// in (or none, where it is skipped), with its warnings and the verdict; then the leaking
// loop's run (none without leakage) and its spurs.
LoopAnalysis AnalyseLinear(const LoopRequest& request);
std::optional<StepSimulation> SimulationFor(const LoopAnalysis& a);
void Conclude(LoopAnalysis& a, std::optional<SimulatedStep> simulation);
std::optional<LeakageSimulation> LeakageFor(const LoopAnalysis& a);
void ConcludeSpurs(LoopAnalysis& a, const LeakageRipple& ripple);

} // namespace owlet::loop
