#include "loop/LoopAnalysis.h"

#include "loop/input/FieldReader.h"
#include "loop/input/PlanReader.h"
#include "loop/numerics/PhaseCosts.h"
#include "loop/report/UnitText.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace owlet::loop {
namespace {

using F = LoopField;
constexpr const char* Degree = "\xC2\xB0";
constexpr const char* Ohm = "\xCE\xA9";

// "2.5", "-12", "3.13": two decimals at most, trailing zeros dropped.
std::string plain(double v) {
    std::string text = FixedText(v, 2);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text == "-0" ? "0" : text;
}

std::string volts(double v) {
    return plain(v) + " V";
}

// "PDout reaches 0 to 5 V", "the op-amp's output reaches -12 to 12 V".
std::string driveRange(const LoopSetting& s) {
    return std::string(s.detector == Detector::PdOut ? "PDout" : "the op-amp's output") +
           " reaches " + plain(s.railLow) + " to " + volts(s.railHigh);
}

// A channel as the panel writes frequencies: "145.0125 MHz".
std::string channelText(double hz) {
    return EngineeringText(hz, "Hz", 10);
}

bool inRange(const LoopSetting& s, double v) {
    return v >= s.railLow && v <= s.railHigh;
}

// The VCO: Kvco and its tuning voltage at the channel, typed, or from two measured points.
void readVco(FieldReader& in, LoopSetting& s) {
    const bool pd = s.detector == Detector::PdOut;
    if (in.blank(F::VcoPoint1) && in.blank(F::VcoPoint2)) {
        const std::optional<double> kvco = in.number(F::Kvco);
        if (kvco && std::abs(*kvco) < 1e-6)
            in.fail(F::Kvco, "needs the VCO's gain in MHz/V, not 0");
        s.kvcoHzPerV = kvco.value_or(0.0) * 1e6;
        const double middle = 0.5 * (s.railLow + s.railHigh);
        std::optional<double> tuning;
        if (pd) // PDout drives the tuning input itself, so only voltages inside its supply.
            tuning = in.number(F::TuningVoltage, middle,
                               {.low = 0.0, .high = std::nextafter(s.vdd, 0.0)},
                               "needs a voltage between 0 and VDD, which PDout can drive");
        else if ((tuning = in.number(F::TuningVoltage, middle)) && !inRange(s, *tuning)) {
            in.fail(F::TuningVoltage, "needs a voltage the op-amp's output reaches, " +
                                          plain(s.railLow) + " to " + volts(s.railHigh) +
                                          " (Op-amp output)");
            tuning.reset();
        }
        s.tuningVoltage = tuning.value_or(middle);
        return;
    }
    for (const F typed : {F::Kvco, F::TuningVoltage})
        if (!in.blank(typed))
            in.fail(typed, "is given by the VCO's two points: leave it empty, or the points");
    constexpr Bounds Frequency{0.0, 1e6}, Voltage{-1e3, 1e3, true};
    const auto a = in.pair(F::VcoPoint1, '@', Frequency, Voltage);
    const auto b = in.pair(F::VcoPoint2, '@', Frequency, Voltage);
    if (!a || !b)
        return;
    const double kvco = (b->first - a->first) / (b->second - a->second); // MHz/V
    if (a->second == b->second)
        return in.fail(F::VcoPoint2, "needs another tuning voltage than point 1");
    if (!(std::abs(kvco) >= 1e-6 && std::abs(kvco) <= 1e4))
        return in.fail(F::VcoPoint2, "gives a Kvco of " + EngineeringText(kvco, "MHz/V") +
                                         ": needs a frequency apart from point 1's, and a gain "
                                         "up to 10000 MHz/V");
    s.kvcoHzPerV = kvco * 1e6;
    s.tuningVoltage = a->second + (s.channelHz() / 1e6 - a->first) / kvco;
}

// The noise sources and bands, each optional; the leakages into the setting. True when any
// is given: then the noise is computed.
bool readNoise(FieldReader& in, LoopAnalysis& a) {
    NoiseSetting& n = a.noiseSetting;
    LoopSetting& s = a.setting;
    bool asked = false;
    for (const F f : {F::RefNoise, F::VcoNoise, F::Floor, F::Temperature, F::OpampNoise,
                      F::OpampCurrentNoise, F::Band, F::FmBand})
        asked = asked || !in.blank(f);
    if (!in.blank(F::RefNoise))
        n.reference = in.profile(F::RefNoise).value_or(NoiseProfile());
    if (!in.blank(F::VcoNoise))
        n.vco = in.profile(F::VcoNoise).value_or(NoiseProfile());
    if (!in.blank(F::Floor))
        n.floorDbcHz = in.number(F::Floor);
    n.temperatureK = in.number(F::Temperature, 300.0).value_or(300.0);
    if (!in.blank(F::OpampNoise))
        n.opampVoltage = in.number(F::OpampNoise);
    if (!in.blank(F::OpampCurrentNoise))
        n.opampCurrent = in.number(F::OpampCurrentNoise);
    s.leakageA = in.number(F::Leakage, 0.0).value_or(0.0);
    s.opampLeakageA = in.number(F::OpampLeakage, 0.0).value_or(0.0);
    const bool pd = s.detector == Detector::PdOut;
    for (const LoopFieldRow& row : LoopFields())
        if (pd && row.opampOnly && !in.blank(row.field))
            in.fail(row.field, "belongs to the \xCF\x86R/\xCF\x86V form (PDout has no op-amp): "
                               "leave it empty for PDout");
    for (const auto& [field, band] : {std::pair{F::Band, &n.band}, {F::FmBand, &n.fmBand}}) {
        const Bounds hz = RowOf(field).bounds;
        const auto read = in.pair(field, ':', hz, hz, std::pair{(*band)[0], (*band)[1]});
        if (read && !(read->first < read->second))
            in.fail(field, std::string(RowOf(field).need));
        else if (read)
            *band = {read->first, read->second};
    }
    return asked;
}

void readDesign(const LoopRequest& q, FieldReader& in, LoopAnalysis& a) {
    LoopSetting& s = a.setting;
    const bool byCrossover = q.design == LoopRequest::Design::Crossover;
    const F first = byCrossover ? F::Crossover : F::NaturalFrequency;
    // "lowest-noise": the natural frequency of least integrated noise, for this damping.
    const bool lowest = !byCrossover && q[F::NaturalFrequency] == "lowest-noise";
    std::optional<double> x = lowest ? std::optional(0.0) : in.number(first);
    const auto y = in.number(byCrossover ? F::PhaseMargin : F::Damping);
    if (!x || !y || !a.problems.empty())
        return;
    if (lowest) {
        a.lowestNoise = FindLowestNoise(s, a.noiseSetting, *y, q.series);
        if (!a.lowestNoise)
            return in.fail(F::NaturalFrequency,
                           "has no lowest-noise value: no natural frequency gives a loop without a "
                           "warning (crossover at most Fcomp / 10, a sampled margin of 30\xC2\xB0, "
                           "at most 1 mA from the detector)");
        x = a.lowestNoise->naturalFrequencyHz;
    }
    const DesignAttempt d =
        byCrossover ? DesignForCrossover(s, *x, *y, q.series) : DesignFilter(s, *x, *y, q.series);
    switch (d.refusal) {
    case DesignAttempt::Refusal::None:
        a.design = d.design;
        s.parts.r1 = d.design.r1;
        s.parts.r2 = d.design.r2;
        return;
    case DesignAttempt::Refusal::ResistorRange:
        return in.fail(first, "gives " + std::string(d.resistor) +
                                  (d.ohms > 1.0 ? " above 1 T" : " below 1 m") + Ohm +
                                  (std::isfinite(d.ohms) && d.ohms > 0.0
                                       ? " (" + EngineeringText(d.ohms, Ohm) + ")"
                                       : std::string()) +
                                  ", beyond the resistors there are: choose a " +
                                  (d.ohms > 1.0 ? "larger" : "smaller") + " C2");
    case DesignAttempt::Refusal::Margin:
        return in.fail(F::PhaseMargin,
                       "cannot be reached at this crossover with the parts fitted: at most " +
                           FixedText(d.bestMarginDeg, 1) + Degree +
                           ". Lower the crossover, or fit smaller optional parts");
    }
}

// What costs the margin: the costliest optional pole, or too little lead from R2's zero.
std::string marginCulprit(const LoopAnalysis& a) {
    const LoopSetting& s = a.setting;
    const double fc = a.figures.crossoverHz;
    const std::vector<PhaseCost> costs = PoleCosts(s, fc);
    if (!costs.empty() && costs.front().costDeg >= 15.0) {
        const PhaseCost& c = costs.front();
        const std::string smaller = c.part == "Cc"   ? "a smaller Cc"
                                    : c.part == "C1" ? "a smaller C1 (C2 / 10 or less)"
                                                     : "a smaller R3 or C3";
        return " The " + c.part + " pole at " + EngineeringText(c.poleHz, "Hz") +
               (c.poleHz < fc ? ", below the " : ", near the ") + EngineeringText(fc, "Hz") +
               " crossover, takes " + FixedText(c.costDeg, 0) + Degree + " of it: fit " + smaller +
               ".";
    }
    return " R2's zero gives only " + FixedText(ZeroLeadDeg(s, fc), 0) + Degree +
           " of lead at the crossover: raise R2 (more damping) or lower the natural frequency.";
}

void linearWarnings(LoopAnalysis& a, const LoopRequest& q) {
    const LoopSetting& s = a.setting;
    const LoopFigures& f = a.figures;
    const FilterParts& p = s.parts;
    const bool pd = s.detector == Detector::PdOut;
    std::vector<std::string>& w = a.warnings;
    if (!f.polarityRight)
        w.push_back(s.kvcoHzPerV < 0.0
                        ? "Kvco is negative (the frequency falls as the tuning voltage rises): "
                          "tick Invert PD, or the loop runs away."
                        : "Invert PD is ticked but Kvco is positive: clear Invert PD, or the "
                          "loop runs away.");
    if (!f.stable)
        w.push_back("The loop has no phase margin: it is unstable." + marginCulprit(a));
    else if (f.phaseMarginDeg < 30.0)
        w.push_back(std::string("Phase margin below 30") + Degree +
                    ": the loop rings and overshoots (aim for 45 to 60" + Degree + ")." +
                    marginCulprit(a));
    if (f.stable && f.phaseMarginSampledDeg < 30.0)
        w.push_back("The detector compares once a comparison period: at a crossover of " +
                    EngineeringText(f.crossoverHz, "Hz") + " that delay takes " +
                    FixedText(f.phaseMarginDeg - f.phaseMarginSampledDeg, 1) + Degree + " (180" +
                    Degree + " times crossover / Fcomp), leaving " +
                    FixedText(f.phaseMarginSampledDeg, 1) + Degree + " of phase margin" +
                    (f.phaseMarginSampledDeg < 0.05 ? ": by this estimate none (the simulation "
                                                      "shows the real detector)"
                                                    : "") +
                    ". Lower the crossover.");
    if (pd && p.c1 == 0.0 && p.r2 > 0.01 * p.r1)
        w.push_back("Without C1, each PDout pulse drives R1 and R2 in series, so the loop "
                    "pulls slower than the linear figures say: fit C1 (about C2 / 10).");
    if (pd && std::abs(s.tuningVoltage - s.vdd / 2.0) > s.vdd / 4.0)
        w.push_back("The tuning voltage is far from VDD / 2: PDout pulls harder one way than "
                    "the other, so a step one way settles slower (the simulation shows it).");
    if (p.r3 > 0.0 && p.c3 == 0.0)
        w.push_back("R3 without C3 filters nothing.");
    if (p.c3 > 0.0 && p.r3 == 0.0)
        w.push_back(pd ? "C3 without R3 sits straight across C1's node."
                       : "C3 without R3 sits on the op-amp's output, which drives it: it "
                         "filters nothing.");
    if (!a.channelReachable)
        w.push_back("The VCO needs " + volts(s.tuningVoltage) + " for " +
                    channelText(s.channelHz()) + "; " + driveRange(s) +
                    ": the loop cannot reach the channel.");
    if (!a.startReachable)
        w.push_back("The VCO needs " + volts(s.startVoltage()) + " for " +
                    channelText(s.channelHz() - s.stepHz) + ", where the step starts; " +
                    driveRange(s) + ": the module cannot be there, so the step is not simulated.");
    if (a.detectorCurrentA > 1e-3)
        w.push_back("The detector's output drives up to " +
                    EngineeringText(a.detectorCurrentA, "A") + " into R1 (" +
                    EngineeringText(p.r1, Ohm) +
                    ") while it pulses: the MC145170's outputs are CMOS logic, good for about "
                    "1 mA (a sibling chip's data sheet gives 0.5 mA at 0.3 V from the rail). "
                    "Raise R1, with C2 lower and R2 higher by as much to keep the loop.");
    for (const auto& [field, ohms] : {std::pair{F::R1, p.r1}, {F::R2, p.r2}, {F::R3, p.r3}})
        if (ohms > 0.0 && ohms < 1.0 && !(field != F::R3 && a.design))
            w.push_back(std::string(LoopFieldName(field)) + " is " + EngineeringText(ohms, Ohm) +
                        " as typed ('" + q[field] + "'): m is milli; mega is M.");
    if (f.locks() && !f.lockTimeS)
        w.push_back("The linear loop has not settled to within " +
                    EngineeringText(s.toleranceHz, "Hz") + " after " +
                    EngineeringText(f.lockHorizonS, "s") +
                    ": no linear lock time. Raise the damping.");
}

void simulationWarnings(LoopAnalysis& a) {
    const LoopSetting& s = a.setting;
    const SimulatedStep& sim = a.simulation;
    std::vector<std::string>& w = a.warnings;
    if (sim.stop == SimulatedStep::Stop::Rail) {
        std::string why = "The simulated loop ran away: after " +
                          EngineeringText(sim.stopTimeS, "s") + " the tuning voltage needed " +
                          volts(sim.neededVoltage) + ", and " + driveRange(s);
        const double jump = s.vdd * s.parts.r2 / s.parts.r1;
        if (s.detector == Detector::PhiRPhiV && jump > s.railHigh - s.railLow)
            why +=
                " (each detector pulse moves the op-amp's output by VDD R2 / R1 = " + volts(jump) +
                " at once: raise R1, or lower R2)";
        w.push_back(why + ". The loop does not lock.");
    } else if (sim.stop == SimulatedStep::Stop::NoSignal) {
        w.push_back("The simulated VCO's frequency fell to 0 after " +
                    EngineeringText(sim.stopTimeS, "s") + ": the loop does not lock.");
    } else if (!sim.lockTimeS && a.figures.locks()) {
        const std::string span =
            std::to_string(sim.comparisonCycles) + " comparison cycles (" +
            EngineeringText(static_cast<double>(sim.comparisonCycles) / s.fcompHz, "s") + ")";
        w.push_back(a.simulationCapped
                        ? "The simulation stopped after " + span +
                              ", its most, before the loop settled: no simulated lock time."
                        : "The simulated loop did not lock within " + span +
                              ", twenty times the linear lock time.");
    }
}

// The one verdict and its short reason.
void decide(LoopAnalysis& a) {
    const LoopFigures& f = a.figures;
    const std::pair<bool, const char*> reasons[] = {
        {!f.polarityRight, "wrong polarity"},
        {!f.stable, "unstable"},
        {!a.channelReachable, "the VCO cannot reach the channel"},
        {!a.startReachable, "the VCO cannot reach the old channel"},
        {!f.lockTimeS, "does not settle"},
        {a.simulated && a.simulation.ranAway(), "the simulated loop runs away"},
    };
    a.locks = true;
    a.whyNot.clear();
    for (const auto& [holds, why] : reasons)
        if (holds) {
            a.locks = false;
            a.whyNot = why;
            return;
        }
}

} // namespace

LoopAnalysis AnalyseLinear(const LoopRequest& q) {
    LoopAnalysis a;
    FieldReader in(q, a.problems);
    LoopSetting& s = a.setting;
    s.detector = q.detector;
    s.invertPd = q.invertPd;
    const bool pd = s.detector == Detector::PdOut;
    ReadPlan(q, in, s);
    s.vdd = in.number(F::Vdd, 5.0).value_or(5.0);
    s.railLow = 0.0;
    s.railHigh = s.vdd;
    if (pd && !in.blank(F::Rails))
        in.fail(F::Rails, "belongs to the \xCF\x86R/\xCF\x86V form (PDout drives 0 to VDD): "
                          "leave it empty for PDout");
    else if (!pd) {
        const Bounds volt = RowOf(F::Rails).bounds;
        const auto rails = in.pair(F::Rails, ':', volt, volt, std::pair{0.0, s.vdd});
        if (rails && rails->first >= rails->second)
            in.fail(F::Rails, std::string(RowOf(F::Rails).need));
        else if (rails)
            std::tie(s.railLow, s.railHigh) = *rails;
    }
    readVco(in, s);
    FilterParts& p = s.parts;
    p.c2 = in.part(F::C2);
    if (q.design == LoopRequest::Design::Typed) {
        p.r1 = in.part(F::R1);
        p.r2 = in.part(F::R2);
    }
    p.c1 = in.part(F::C1);
    p.cc = in.part(F::Cc);
    p.r3 = in.part(F::R3);
    p.c3 = in.part(F::C3);
    if (pd && p.cc > 0.0)
        in.fail(F::Cc, "belongs to the \xCF\x86R/\xCF\x86V form (it splits R1 there): leave it "
                       "empty for PDout");
    // One channel below the one N x Fcomp gives, unless told.
    const std::optional<double> start = in.number(F::StepFrom, (s.channelHz() - s.fcompHz) / 1e6);
    if (start && s.n > 0 && std::abs(s.channelHz() - *start * 1e6) < 1e-3)
        in.fail(F::StepFrom, "is the new channel itself: give the channel the loop comes from");
    s.stepHz = s.channelHz() - start.value_or(0.0) * 1e6;
    s.toleranceHz = in.number(F::Tolerance, std::abs(s.stepHz) / 100.0).value_or(1.0);
    const bool noise = readNoise(in, a);
    if (q.design != LoopRequest::Design::Typed)
        readDesign(q, in, a);
    if (!a.problems.empty())
        return a;
    a.figures = ComputeFigures(s);
    if (noise)
        a.noise = ComputeNoise(s, a.noiseSetting);
    // While it drives, an output sees R1 (half of it first, into Cc) to a node near its own
    // level at worst: VDD across it.
    a.detectorCurrentA = s.vdd / (!pd && p.cc > 0.0 ? p.r1 / 2.0 : p.r1);
    a.channelReachable = inRange(s, s.tuningVoltage);
    a.startReachable = inRange(s, s.startVoltage());
    a.simulationSkipped = !a.startReachable;
    // Twenty lock times, from the linear loop's or the second-order estimate.
    const double omegaN = 2.0 * std::numbers::pi * a.figures.naturalFrequencyHz;
    const double basis =
        a.figures.lockTimeS.value_or(8.0 / (std::clamp(a.figures.damping, 0.1, 1.0) * omegaN));
    const double wanted = std::min(20.0 * basis * s.fcompHz, 1e12);
    a.simulationBound = std::clamp<std::int64_t>(static_cast<std::int64_t>(std::ceil(wanted)), 100,
                                                 MostSimulatedCycles);
    a.simulationCapped = wanted > static_cast<double>(MostSimulatedCycles);
    linearWarnings(a, q);
    decide(a);
    return a;
}

std::optional<StepSimulation> SimulationFor(const LoopAnalysis& a) {
    if (!a.ok() || a.simulationSkipped)
        return std::nullopt;
    return StepSimulation(a.setting, a.simulationBound);
}

void Conclude(LoopAnalysis& a, std::optional<SimulatedStep> simulation) {
    if (simulation) {
        a.simulation = std::move(*simulation);
        a.simulated = true;
        simulationWarnings(a);
    }
    decide(a);
}

std::optional<LeakageSimulation> LeakageFor(const LoopAnalysis& a) {
    const LoopSetting& s = a.setting;
    if (!a.ok() || (s.leakageA == 0.0 && s.opampLeakageA == 0.0))
        return std::nullopt;
    // As many cycles as the step has, up to a tenth of the most.
    return LeakageSimulation(s, std::min(a.simulationBound, MostSimulatedCycles / 10));
}

void ConcludeSpurs(LoopAnalysis& a, const LeakageRipple& ripple) {
    a.spurs = SpursOf(a.setting, ripple);
    if (!a.spurs->settled)
        a.warnings.push_back("The leaking loop had not settled when its spurs were taken: they "
                             "are estimates.");
}

LoopAnalysis AnalyseLoop(const LoopRequest& q) {
    LoopAnalysis a = AnalyseLinear(q);
    if (!a.ok())
        return a;
    std::optional<StepSimulation> run = SimulationFor(a);
    if (run)
        run->run(a.simulationBound);
    Conclude(a, run ? std::optional(run->result()) : std::nullopt);
    if (std::optional<LeakageSimulation> leakage = LeakageFor(a)) {
        leakage->run(a.simulationBound);
        ConcludeSpurs(a, leakage->result());
    }
    return a;
}

} // namespace owlet::loop
