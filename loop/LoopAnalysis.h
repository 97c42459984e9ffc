#pragma once

#include "loop/input/LoopRequest.h"
#include "loop/numerics/Design.h"
#include "loop/numerics/Figures.h"
#include "loop/numerics/Simulation.h"

#include <optional>
#include <string>
#include <vector>

namespace owlet::loop {

// What the designer answers for one request: the problems of its fields, or the setting
// it read, every figure, the simulation and the warnings a module builder acts on.
struct LoopAnalysis {
    std::vector<InputProblem> problems; // none when the rest is filled in
    LoopSetting setting;
    std::optional<FilterDesign> design;
    LoopFigures figures;
    SimulatedStep simulation;
    std::int64_t simulationBound = 0; // comparison cycles the simulation was allowed
    std::vector<std::string> warnings;

    bool ok() const { return problems.empty(); }
};

// The most comparison cycles one simulation takes: a few milliseconds of work.
inline constexpr std::int64_t MostSimulatedCycles = 200'000;

LoopAnalysis AnalyseLoop(const LoopRequest& request);

} // namespace owlet::loop
