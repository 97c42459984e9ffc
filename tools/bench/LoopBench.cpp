// The loop designer's cost for one edit: every figure, both plots' data and their SVG, and
// the detector's simulation, recomputed for a module builder's typical 2 m setting while
// R2 changes as if typed; and for the worst loop there is, one so lightly damped that the
// simulation runs to its most cycles, its time constants meeting so that every stretch
// takes the exact exponential: what the views show on the first frame (everything but the
// simulation) and the whole simulation, which they run in pieces after it. Prints the
// medians in milliseconds: usual whole, usual simulation, worst first frame, worst
// simulation, the usual edit with every noise source and leakage, then a byte count that
// keeps the work from being optimised away.
#include "loop/LoopAnalysis.h"
#include "loop/report/LoopReport.h"
#include "loop/report/Svg.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

using namespace owlet::loop;
using Clock = std::chrono::steady_clock;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

} // namespace

int main() {
    using F = LoopField;
    LoopRequest q;
    q[F::Fref] = "12.8";
    q[F::Fcomp] = "12.5";
    q[F::Fout] = "145.0125";
    q[F::Kvco] = "10";
    q[F::C2] = "100n";
    q[F::C1] = "10n";
    q[F::R1] = "12k";
    q.detector = Detector::PhiRPhiV;
    const char* r2[] = {"7k5", "8k2"};
    std::vector<double> whole, simulation;
    std::size_t bytes = 0;
    for (int i = 0; i < 101; ++i) {
        q[F::R2] = r2[i % 2];
        const auto t0 = Clock::now();
        const LoopAnalysis a = AnalyseLoop(q);
        bytes += SvgDocument(LoopPlots(a)).size();
        whole.push_back(msSince(t0));
        const auto t1 = Clock::now();
        const SimulatedStep s = SimulateStep(a.setting, a.simulationBound);
        simulation.push_back(msSince(t1));
        bytes += s.cycles.size();
    }
    // The same edit with the noise of every source and a leakage: spot values, integrals,
    // the phase-noise plot and the spurs' steady state besides.
    std::vector<double> noisy;
    for (const auto& [f, text] : {std::pair{F::RefNoise, "100:-130,1k:-150,10k:-160"},
                                  {F::VcoNoise, "1k:-70,10k:-95,100k:-118"},
                                  {F::Floor, "-210"},
                                  {F::OpampNoise, "10n"},
                                  {F::OpampCurrentNoise, "1p"},
                                  {F::Leakage, "1n"},
                                  {F::OpampLeakage, "1n"}})
        q[f] = text;
    for (int i = 0; i < 101; ++i) {
        q[F::R2] = r2[i % 2];
        const auto t0 = Clock::now();
        const LoopAnalysis a = AnalyseLoop(q);
        bytes += SvgDocument(LoopPlots(a)).size();
        noisy.push_back(msSince(t0));
    }
    for (const F f : {F::RefNoise, F::VcoNoise, F::Floor, F::OpampNoise, F::OpampCurrentNoise,
                      F::Leakage, F::OpampLeakage})
        q[f].clear();
    // The worst: R2 3 ohms, Cc's section and R3/C3 with one time constant.
    for (const auto& [f, text] : {std::pair{F::Fref, "10"},
                                  {F::Fcomp, "25"},
                                  {F::Fout, "145"},
                                  {F::Kvco, "8"},
                                  {F::C2, "1u"},
                                  {F::C1, ""},
                                  {F::R1, "20k"},
                                  {F::Cc, "2n"},
                                  {F::R3, "10k"},
                                  {F::C3, "1n"}})
        q[f] = text;
    std::vector<double> first, worst;
    for (int i = 0; i < 5; ++i) {
        q[F::R2] = i % 2 ? "3" : "3.3";
        const auto t0 = Clock::now();
        LoopAnalysis a = AnalyseLinear(q);
        bytes += SvgDocument(LoopPlots(a)).size();
        first.push_back(msSince(t0));
        const auto t1 = Clock::now();
        std::optional<StepSimulation> run = SimulationFor(a);
        run->run(a.simulationBound);
        worst.push_back(msSince(t1));
        bytes += run->result().cycles.size();
    }
    std::printf("%.3f %.3f %.3f %.1f %.3f %zu\n", median(whole), median(simulation), median(first),
                median(worst), median(noisy), bytes);
}
