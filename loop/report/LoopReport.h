#pragma once

#include "loop/LoopAnalysis.h"
#include "loop/report/Plot.h"

#include <string>
#include <vector>

namespace owlet::loop {

// The figures as every view writes them: a label and its value with units.
struct FigureRow {
    std::string label;
    std::string value;
};
std::vector<FigureRow> FigureRows(const LoopAnalysis& a);
// The rows as text, a row a line, the values aligned two blanks after the longest label.
std::string FigureTable(const std::vector<FigureRow>& rows);

// The open loop's magnitude and phase against frequency (crossover and margin marked),
// and the VCO's frequency after the step against time, linear and simulated, with the
// tolerance band.
// And, when the noise is computed, a fourth: every source's phase noise and the total at the
// output against offset, the loop's bandwidth, Fcomp and the spurs marked.
std::vector<Plot> LoopPlots(const LoopAnalysis& a);
Plot NoisePlot(const LoopAnalysis& a);

} // namespace owlet::loop
