#include "loop/LoopAnalysis.h"

#include "loop/input/FieldReader.h"
#include "loop/input/PartValue.h"
#include "loop/input/PlanReader.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace owlet::loop {

namespace {

void addWarnings(LoopAnalysis& a) {
    const LoopSetting& s = a.setting;
    const LoopFigures& f = a.figures;
    std::vector<std::string>& w = a.warnings;
    if (!f.polarityRight)
        w.push_back(s.kvcoHzPerV < 0.0
                        ? "Kvco is negative (the frequency falls as the tuning voltage rises): "
                          "tick Invert PD, or the loop runs away."
                        : "Invert PD is ticked but Kvco is positive: clear Invert PD, or the "
                          "loop runs away.");
    if (!f.stable)
        w.push_back("The loop has no phase margin: it is unstable. Raise R2 (more damping) or "
                    "lower the natural frequency.");
    else if (f.phaseMarginDeg < 30.0)
        w.push_back("Phase margin below 30\xC2\xB0: the loop rings and overshoots. Aim for 45 "
                    "to 60\xC2\xB0.");
    if (f.crossoverHz > s.fcompHz / 10.0)
        w.push_back("The loop crosses over above a tenth of the comparison frequency: the "
                    "detector's sampling upsets it and the reference spurs pass. Lower the "
                    "natural frequency.");
    const FilterParts& p = s.parts;
    if (s.detector == Detector::PdOut && p.c1 == 0.0 && p.r2 > 0.01 * p.r1)
        w.push_back("Without C1, each PDout pulse drives R1 and R2 in series, so the loop "
                    "pulls slower than the linear figures say: fit C1 (about C2 / 10).");
    if (s.detector == Detector::PdOut && std::abs(s.tuningVoltage - s.vdd / 2.0) > s.vdd / 4.0)
        w.push_back("The tuning voltage is far from VDD / 2: PDout pulls harder one way than "
                    "the other, so a step one way settles slower (the simulation shows it).");
    if ((p.r3 > 0.0) != (p.c3 > 0.0))
        w.push_back(p.r3 > 0.0 ? "R3 without C3 filters nothing."
                               : "C3 without R3 sits "
                                 "straight across C1's node.");
    const SimulatedStep& sim = a.simulation;
    if (sim.ranAway)
        w.push_back("The simulated VCO ran away from the channel: the loop does not lock.");
    else if (!sim.lockTimeS && f.locks())
        w.push_back("The simulated loop did not lock within " +
                    std::to_string(sim.comparisonCycles) + " comparison cycles (" +
                    EngineeringText(sim.comparisonCycles / s.fcompHz, "s") + ").");
    if (a.simulationBound == MostSimulatedCycles && f.lockTimeS &&
        *f.lockTimeS * 20.0 * s.fcompHz > MostSimulatedCycles)
        w.push_back("The simulation stopped at " + std::to_string(MostSimulatedCycles) +
                    " comparison cycles, fewer than twenty lock times.");
}

} // namespace

LoopAnalysis AnalyseLoop(const LoopRequest& q) {
    LoopAnalysis a;
    FieldReader in(q, a.problems);
    LoopSetting& s = a.setting;
    s.detector = q.detector;
    s.invertPd = q.invertPd;
    ReadPlan(q, in, s);
    s.vdd = in.number(LoopField::Vdd, 5.0).value_or(5.0);
    const std::optional<double> kvco = in.number(LoopField::Kvco);
    if (kvco && (*kvco == 0.0 || std::abs(*kvco) < 1e-6))
        in.fail(LoopField::Kvco, "needs the VCO's gain in MHz/V, not 0");
    s.kvcoHzPerV = kvco.value_or(0.0) * 1e6;
    const bool pd = s.detector == Detector::PdOut;
    // PDout drives the tuning input itself, so only voltages inside its supply.
    const std::optional<double> tuning =
        pd ? in.number(LoopField::TuningVoltage, s.vdd / 2.0,
                       {.low = 0.0, .high = std::nextafter(s.vdd, 0.0)},
                       "needs a voltage between 0 and VDD, which PDout can drive")
           : in.number(LoopField::TuningVoltage, s.vdd / 2.0);
    s.tuningVoltage = tuning.value_or(s.vdd / 2.0);
    FilterParts& p = s.parts;
    p.c2 = in.part(LoopField::C2);
    if (!q.design) {
        p.r1 = in.part(LoopField::R1);
        p.r2 = in.part(LoopField::R2);
    }
    p.c1 = in.part(LoopField::C1);
    p.cc = in.part(LoopField::Cc);
    p.r3 = in.part(LoopField::R3);
    p.c3 = in.part(LoopField::C3);
    if (pd && p.cc > 0.0)
        in.fail(LoopField::Cc, "belongs to the \xCF\x86R/\xCF\x86V form (it splits R1 there): "
                               "leave it empty for PDout");
    const double foutHz = PanelNumber(q[LoopField::Fout]) * 1e6;
    const std::optional<double> start = in.number(LoopField::StepFrom, (foutHz - s.fcompHz) / 1e6);
    if (start && s.n > 0 && std::abs(s.channelHz() - *start * 1e6) < 1e-3)
        in.fail(LoopField::StepFrom, "is the new channel itself: give the channel the loop "
                                     "comes from");
    s.stepHz = s.channelHz() - start.value_or(0.0) * 1e6;
    s.toleranceHz = in.number(LoopField::Tolerance, std::abs(s.stepHz) / 100.0).value_or(1.0);
    if (q.design) {
        const auto fn = in.number(LoopField::NaturalFrequency);
        const auto zeta = in.number(LoopField::Damping);
        if (fn && zeta && a.problems.empty()) {
            a.design = DesignFilter(s, *fn, *zeta, q.series);
            p.r1 = a.design->r1;
            p.r2 = a.design->r2;
        }
    }
    if (!a.problems.empty())
        return a;
    a.figures = ComputeFigures(s);
    // Twenty lock times, from the linear loop's or the second-order estimate.
    const double omegaN = 2.0 * std::numbers::pi * a.figures.naturalFrequencyHz;
    const double basis =
        a.figures.lockTimeS.value_or(8.0 / (std::clamp(a.figures.damping, 0.1, 1.0) * omegaN));
    a.simulationBound = std::clamp<std::int64_t>(
        static_cast<std::int64_t>(std::ceil(std::min(20.0 * basis * s.fcompHz, 1e12))), 100,
        MostSimulatedCycles);
    a.simulation = SimulateStep(s, a.simulationBound);
    addWarnings(a);
    return a;
}

} // namespace owlet::loop
