// Fuzz target: any texts in every field of the loop designer, noise inputs included. The
// first byte chooses the detector, Invert PD, the design and the series; the rest is the
// fields' texts in the table's order, parted by newlines. Whatever is typed: every problem names a
// field, a setting read gives finite figures, noise and spurs and texts without NaN, and the
// drawings build.
#include "loop/LoopAnalysis.h"
#include "loop/report/LoopReport.h"
#include "loop/report/Svg.h"

#include <cmath>
#include <string_view>

using namespace owlet::loop;

namespace {

bool finite(std::initializer_list<double> values) {
    for (const double v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

bool readable(std::string_view text) {
    return text.find("nan") == std::string_view::npos && text.find("inf") == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size == 0)
        return 0;
    LoopRequest q;
    q.detector = data[0] & 1 ? Detector::PdOut : Detector::PhiRPhiV;
    q.invertPd = data[0] & 2;
    q.design = data[0] & 4    ? LoopRequest::Design::NaturalFrequency
               : data[0] & 16 ? LoopRequest::Design::Crossover
                              : LoopRequest::Design::Typed;
    q.series = data[0] & 8 ? ESeries::E12 : ESeries::E24;
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (std::size_t i = 0; i < LoopFieldCount && !rest.empty(); ++i) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        q.texts[i] = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    const LoopAnalysis a = AnalyseLoop(q);
    for (const InputProblem& p : a.problems)
        if (static_cast<std::size_t>(p.field) >= LoopFieldCount || p.need.empty())
            __builtin_trap();
    if (!a.ok())
        return 0;
    const LoopFigures& f = a.figures;
    if (!finite({f.kphi, f.naturalFrequencyHz, f.damping, f.crossoverHz, f.phaseMarginDeg,
                 f.bandwidthHz, f.spurAttenuationDb, f.lockTimeS.value_or(0.0),
                 a.simulation.lockTimeS.value_or(0.0)}))
        __builtin_trap();
    if (a.noise) {
        if (!finite({a.noise->integratedDeg, a.noise->jitterS, a.noise->residualFmHz}))
            __builtin_trap();
        for (const NoiseSpot& spot : a.noise->spots)
            if (!finite({spot.totalDbcHz, spot.resistors.value_or(0.0)}))
                __builtin_trap();
    }
    if (a.spurs && !finite({a.spurs->dbc[0], a.spurs->dbc[1], a.spurs->dbc[2]}))
        __builtin_trap();
    for (const FigureRow& row : FigureRows(a))
        if (!readable(row.value))
            __builtin_trap();
    if (SvgDocument(LoopPlots(a)).empty())
        __builtin_trap();
    return 0;
}
