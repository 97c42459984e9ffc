#include "loop/report/LoopReport.h"
#include "loop/numerics/LinearStep.h"
#include "loop/numerics/OpenLoop.h"

#include "loop/report/UnitText.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

namespace owlet::loop {
namespace {

constexpr const char* Degree = "\xC2\xB0";
constexpr const char* Ohm = "\xCE\xA9";

std::string lockText(const std::optional<double>& t, const char* otherwise) {
    return t ? EngineeringText(*t, "s") : otherwise;
}

// At most `most` points: each bucket's lowest and highest, so an envelope stays whole.
std::vector<std::array<double, 2>> thinned(const std::vector<SimulatedStep::Cycle>& cycles,
                                           double until, std::size_t most) {
    std::vector<std::array<double, 2>> r;
    std::size_t count = 0;
    while (count < cycles.size() && cycles[count].timeS <= until)
        ++count;
    const std::size_t per = std::max<std::size_t>(1, (2 * count + most - 1) / most);
    for (std::size_t i = 0; i < count; i += per) {
        const auto last = std::min(count, i + per);
        const auto [lo, hi] = std::minmax_element(
            cycles.begin() + static_cast<long>(i), cycles.begin() + static_cast<long>(last),
            [](const auto& a, const auto& b) { return a.offsetHz < b.offsetHz; });
        const auto first = lo->timeS < hi->timeS ? lo : hi, second = first == lo ? hi : lo;
        r.push_back({first->timeS, first->offsetHz});
        if (second != first)
            r.push_back({second->timeS, second->offsetHz});
    }
    return r;
}

// Characters, not bytes: a label may hold a Greek letter.
std::size_t characters(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

} // namespace

std::string FigureTable(const std::vector<FigureRow>& rows) {
    std::size_t width = 0;
    for (const FigureRow& row : rows)
        width = std::max(width, characters(row.label));
    std::string table;
    for (const FigureRow& row : rows)
        table += row.label + std::string(width + 2 - characters(row.label), ' ') + row.value + '\n';
    return table;
}

std::vector<FigureRow> FigureRows(const LoopAnalysis& a) {
    const LoopSetting& s = a.setting;
    const LoopFigures& f = a.figures;
    const FilterParts& p = s.parts;
    const bool pd = s.detector == Detector::PdOut;
    // The parts as they were read, so a prefix that meant something else shows.
    const auto listed =
        [](std::initializer_list<std::tuple<const char*, double, const char*>> all) {
            std::string text;
            for (const auto& [name, value, unit] : all)
                if (value > 0.0)
                    text += (text.empty() ? "" : ", ") + std::string(name) + " " +
                            EngineeringText(value, unit);
            return text;
        };
    const std::string resistors = listed({{"R1", p.r1, Ohm}, {"R2", p.r2, Ohm}, {"R3", p.r3, Ohm}});
    const std::string capacitors =
        listed({{"C2", p.c2, "F"}, {"C1", p.c1, "F"}, {"Cc", p.cc, "F"}, {"C3", p.c3, "F"}});
    std::vector<FigureRow> rows{
        {"Detector", std::string(pd ? "PDout" : "\xCF\x86R/\xCF\x86V") + ", K\xCF\x86 " +
                         EngineeringText(f.kphi, "V/rad") + ", up to " +
                         EngineeringText(a.detectorCurrentA, "A") + " into R1"},
        {"Divider", "N = " + std::to_string(s.n) + " at " + EngineeringText(s.fcompHz, "Hz")},
        {"VCO", EngineeringText(s.kvcoHzPerV, "Hz/V") + ", " +
                    EngineeringText(s.tuningVoltage, "V") + " at the channel, " +
                    EngineeringText(s.startVoltage(), "V") + " at the start"},
    };
    if (a.design)
        rows.push_back({"Designed", "R1 " + EngineeringText(a.design->r1Exact, Ohm, 4) +
                                        " \xE2\x86\x92 " + EngineeringText(a.design->r1, Ohm) +
                                        ", R2 " + EngineeringText(a.design->r2Exact, Ohm, 4) +
                                        " \xE2\x86\x92 " + EngineeringText(a.design->r2, Ohm)});
    const std::string simulated =
        a.simulationSkipped ? "not simulated"
        : !a.simulated      ? "simulating\xE2\x80\xA6"
                            : lockText(a.simulation.lockTimeS,
                                  a.simulation.ranAway() ? "runs away" : "did not lock");
    rows.insert(rows.end(),
                {{"Resistors", resistors},
                 {"Capacitors", capacitors},
                 {"Natural frequency", EngineeringText(f.naturalFrequencyHz, "Hz")},
                 {"Damping", FixedText(f.damping, 3)},
                 {"Crossover", EngineeringText(f.crossoverHz, "Hz")},
                 {"Phase margin", FixedText(f.phaseMarginDeg, 1) + Degree},
                 {"Phase margin (sampled)", FixedText(f.phaseMarginSampledDeg, 1) + Degree},
                 {"Bandwidth (-3 dB)", EngineeringText(f.bandwidthHz, "Hz")},
                 {"Step", EngineeringText(s.stepHz, "Hz") + " to within " +
                              EngineeringText(s.toleranceHz, "Hz")},
                 {"Lock time (linear)", lockText(f.lockTimeS, "does not lock")},
                 {"Lock time (simulated)", simulated},
                 {"Spur attenuation at Fcomp", FixedText(f.spurAttenuationDb, 1) + " dB"},
                 {"Locks", a.locks ? "yes" : "no: " + a.whyNot}});
    if (a.lowestNoise)
        rows.push_back(
            {"Lowest-noise natural frequency",
             EngineeringText(a.lowestNoise->naturalFrequencyHz, "Hz") +
                 (a.lowestNoise->bound.empty() ? "" : ", held by " + a.lowestNoise->bound)});
    if (a.noise) {
        const NoiseFigures& n = *a.noise;
        for (std::size_t i = 0; i < n.spots.size(); ++i)
            rows.push_back(
                {"Phase noise at " + EngineeringText(n.spots[i].offsetHz, "Hz"),
                 FixedText(n.spots[i].totalDbcHz, 1) + " dBc/Hz, " + n.leader(i) + " leads"});
        // Each source given and the total at the spot offsets, in columns under them.
        const auto columns = [&](auto cell) {
            std::string line;
            for (const NoiseSpot& spot : n.spots) {
                const std::string text = cell(spot);
                line += std::string(text.size() < 8 ? 8 - text.size() : 1, ' ') + text;
            }
            return line;
        };
        rows.push_back({"Spot noise (dBc/Hz)", columns([](const NoiseSpot& spot) {
                            return EngineeringText(spot.offsetHz, "Hz");
                        })});
        using Source = std::optional<double> NoiseSpot::*;
        const std::pair<const char*, Source> sources[] = {{"reference", &NoiseSpot::reference},
                                                          {"detector", &NoiseSpot::detector},
                                                          {"VCO", &NoiseSpot::vco},
                                                          {"resistors", &NoiseSpot::resistors},
                                                          {"op-amp", &NoiseSpot::opamp}};
        for (const auto& [name, member] : sources) {
            const Source source = member; // a plain variable, for the lambda to capture
            if (!n.spots.empty() && (n.spots.front().*source).has_value())
                rows.push_back({std::string("  ") + name, columns([&](const NoiseSpot& spot) {
                                    return FixedText((spot.*source).value_or(NAN), 1);
                                })});
        }
        rows.push_back({"  total", columns([](const NoiseSpot& spot) {
                            return FixedText(spot.totalDbcHz, 1);
                        })});
        const std::string band =
            EngineeringText(n.band[0], "Hz") + " to " + EngineeringText(n.band[1], "Hz");
        rows.push_back(
            {"Integrated phase noise", FixedText(n.integratedDeg, 3) + Degree + " rms, " + band});
        rows.push_back({"Jitter", EngineeringText(n.jitterS, "s") + " rms, " + band});
        rows.push_back({"Residual FM", EngineeringText(n.residualFmHz, "Hz") + " rms, " +
                                           EngineeringText(n.fmBand[0], "Hz") + " to " +
                                           EngineeringText(n.fmBand[1], "Hz")});
        std::string left;
        for (const std::string& source : n.leftOut)
            left += (left.empty() ? "" : ", ") + source;
        if (!left.empty())
            rows.push_back({"Noise left out", left + " (not given)"});
    }
    if (!a.spurs && (s.leakageA > 0.0 || s.opampLeakageA > 0.0)) {
        rows.push_back({"Reference spurs", "simulating\xE2\x80\xA6"});
    } else if (a.spurs) {
        std::string spurs;
        for (std::size_t k = 0; k < 3; ++k)
            spurs += (k ? ", " : "") + FixedText(a.spurs->dbc[k], 1) + " dBc at " +
                     EngineeringText(a.spurs->offsetHz[k], "Hz");
        rows.push_back({"Reference spurs", spurs});
    }
    return rows;
}

Plot NoisePlot(const LoopAnalysis& a) {
    const LoopSetting& s = a.setting;
    const NoiseFigures& n = *a.noise;
    const PhaseNoise noise(s, a.noiseSetting);
    Plot plot{"Phase noise at the output", "Hz", " dBc/Hz", true, false, {}, {}, {}};
    // Every source given, then the total, from 10 Hz to ten times Fcomp (at most 1 MHz).
    const bool given[] = {!a.noiseSetting.reference.empty(), a.noiseSetting.floorDbcHz.has_value(),
                          !a.noiseSetting.vco.empty(), true,
                          std::find(n.leftOut.begin(), n.leftOut.end(), "op-amp") ==
                                  n.leftOut.end() &&
                              noise.hasOpamp()};
    const char* names[] = {"reference", "detector", "VCO", "resistors", "op-amp"};
    std::vector<PlotSeries> series(5);
    PlotSeries total{"total", PlotSeries::Style::Bold, {}};
    const double lo = 10.0, hi = std::min(10.0 * s.fcompHz, 1e6);
    constexpr int Points = 240;
    for (int i = 0; i <= Points; ++i) {
        const double f = lo * std::pow(hi / lo, static_cast<double>(i) / Points);
        const NoiseDensity d = noise.at(f);
        const double values[] = {d.reference, d.detector, d.vco, d.resistors, d.opamp};
        for (std::size_t k = 0; k < 5; ++k)
            series[k].points.push_back({f, DbcHz(values[k])});
        total.points.push_back({f, DbcHz(d.total)});
    }
    for (std::size_t k = 0; k < 5; ++k)
        if (given[k]) {
            series[k].name = names[k];
            plot.series.push_back(std::move(series[k]));
        }
    plot.series.push_back(std::move(total));
    plot.marks.push_back({a.figures.bandwidthHz, "bandwidth"});
    plot.marks.push_back({s.fcompHz, "Fcomp"});
    if (a.spurs)
        for (std::size_t k = 0; k < 3; ++k)
            if (a.spurs->offsetHz[k] <= hi)
                plot.marks.push_back(
                    {a.spurs->offsetHz[k], "spur " + FixedText(a.spurs->dbc[k], 1) + " dBc"});
    plot.summary = "Phase noise at the output against offset:";
    for (std::size_t i = 0; i < n.spots.size(); ++i)
        plot.summary += (i ? "; " : " ") + FixedText(n.spots[i].totalDbcHz, 1) + " dBc/Hz at " +
                        EngineeringText(n.spots[i].offsetHz, "Hz") + ", " + n.leader(i) +
                        " leading";
    plot.summary += ".";
    return plot;
}

std::vector<Plot> LoopPlots(const LoopAnalysis& a) {
    const LoopSetting& s = a.setting;
    const LoopFigures& f = a.figures;
    const OpenLoop g(s);
    Plot magnitude{"Open-loop gain", "Hz", " dB", true, false, {}, {}, {}};
    Plot phase{"Open-loop phase", "Hz", Degree, true, false, {}, {}, {}};
    PlotSeries gain{"|G|", PlotSeries::Style::Line, {}};
    PlotSeries angle{"arg G", PlotSeries::Style::Line, {}};
    const double lo = f.crossoverHz / 100.0;
    const double hi = std::max(f.crossoverHz * 100.0, s.fcompHz * 2.0);
    constexpr int Points = 240;
    for (int i = 0; i <= Points; ++i) {
        const double hz = lo * std::pow(hi / lo, static_cast<double>(i) / Points);
        const double w = 2.0 * std::numbers::pi * hz;
        gain.points.push_back({hz, 20.0 * std::log10(std::abs(g.gain(w)))});
        angle.points.push_back({hz, g.phaseDeg(w)});
    }
    magnitude.series = {gain, {"0 dB", PlotSeries::Style::Dashed, {{lo, 0.0}, {hi, 0.0}}}};
    phase.series = {
        angle,
        {std::string("-180") + Degree, PlotSeries::Style::Dashed, {{lo, -180.0}, {hi, -180.0}}}};
    magnitude.marks = {{f.crossoverHz, "crossover " + EngineeringText(f.crossoverHz, "Hz")},
                       {s.fcompHz, "Fcomp"}};
    phase.marks = {{f.crossoverHz, "margin " + FixedText(f.phaseMarginDeg, 1) + Degree}};
    magnitude.summary = "Open-loop gain falls through 0 dB at " +
                        EngineeringText(f.crossoverHz, "Hz") + "; " +
                        FixedText(f.spurAttenuationDb, 1) +
                        " dB more attenuation at Fcomp from the optional parts.";
    phase.summary = "Open-loop phase at the crossover leaves " + FixedText(f.phaseMarginDeg, 1) +
                    Degree + " of phase margin" + (f.stable ? "." : ": the loop is unstable.");

    // After the step: three times the later lock time, or the whole simulation.
    const SimulatedStep& sim = a.simulation;
    const double simulated = static_cast<double>(sim.comparisonCycles) / s.fcompHz;
    double until = simulated;
    if (f.lockTimeS || sim.lockTimeS)
        until = std::min(simulated,
                         3.0 * std::max(f.lockTimeS.value_or(0.0), sim.lockTimeS.value_or(0.0)));
    if (!sim.cycles.empty())
        until = std::max(until, std::min(simulated, 20.0 / s.fcompHz));
    Plot step{"VCO frequency minus the new channel", "s", "Hz", false, true, {}, {}, {}};
    PlotSeries linear{"linear", PlotSeries::Style::Line, {}};
    if (f.locks()) {
        constexpr int Samples = 400;
        const double h = until / Samples;
        const std::vector<double> offsets = LinearStep(s).offsets(h, Samples + 1);
        for (int k = 0; k <= Samples; ++k)
            linear.points.push_back({k * h, offsets[static_cast<std::size_t>(k)]});
    }
    PlotSeries simulatedSeries{"simulated", PlotSeries::Style::Dots,
                               thinned(sim.cycles, until, 800)};
    const double tol = s.toleranceHz;
    step.series = {linear,
                   simulatedSeries,
                   {"tolerance",
                    PlotSeries::Style::Dashed,
                    {{0.0, tol}, {until, tol}, {0.0, NAN}, {0.0, -tol}, {until, -tol}}}};
    if (f.lockTimeS)
        step.marks.push_back({*f.lockTimeS, "linear " + EngineeringText(*f.lockTimeS, "s")});
    if (sim.lockTimeS)
        step.marks.push_back({*sim.lockTimeS, "simulated " + EngineeringText(*sim.lockTimeS, "s")});
    step.summary = "After a step of " + EngineeringText(s.stepHz, "Hz") +
                   ", the linear loop locks " +
                   (f.lockTimeS ? "in " + EngineeringText(*f.lockTimeS, "s") : "never") +
                   " and the simulated detector " +
                   (a.simulationSkipped ? std::string("is not simulated")
                    : !a.simulated      ? std::string("is being simulated")
                    : sim.lockTimeS     ? "in " + EngineeringText(*sim.lockTimeS, "s")
                    : sim.ranAway()     ? std::string("runs away")
                                        : std::string("did not lock")) +
                   ", to within " + EngineeringText(tol, "Hz") + ".";
    std::vector<Plot> plots{magnitude, phase, step};
    if (a.noise)
        plots.push_back(NoisePlot(a));
    return plots;
}

} // namespace owlet::loop
