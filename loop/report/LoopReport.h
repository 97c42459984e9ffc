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
std::vector<Plot> LoopPlots(const LoopAnalysis& a);

} // namespace owlet::loop
