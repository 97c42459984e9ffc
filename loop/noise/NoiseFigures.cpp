#include "loop/noise/NoiseFigures.h"

#include "loop/numerics/Figures.h"
#include "loop/numerics/Simulation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace owlet::loop {
namespace {

std::optional<double> given(bool is, double sPhi) {
    return is ? std::optional(DbcHz(sPhi)) : std::nullopt;
}

double degrees(double rad2) {
    return std::sqrt(rad2) * 180.0 / std::numbers::pi;
}

} // namespace

std::string NoiseFigures::leader(std::size_t spot) const {
    const NoiseSpot& p = spots[spot];
    std::string best;
    double most = -INFINITY;
    for (const auto& [name, value] : {std::pair{"the reference", p.reference},
                                      {"the detector's floor", p.detector},
                                      {"the VCO", p.vco},
                                      {"the resistors' noise", p.resistors},
                                      {"the op-amp", p.opamp}})
        if (value && *value > most) {
            most = *value;
            best = name;
        }
    return best;
}

NoiseFigures ComputeNoise(const LoopSetting& s, const NoiseSetting& n) {
    const PhaseNoise noise(s, n);
    NoiseFigures f;
    f.parts = noise.parts();
    f.band = n.band;
    f.fmBand = n.fmBand;
    const bool opamp = noise.hasOpamp() && (n.opampVoltage || n.opampCurrent);
    if (n.reference.empty())
        f.leftOut.push_back("reference");
    if (!n.floorDbcHz)
        f.leftOut.push_back("detector floor");
    if (n.vco.empty())
        f.leftOut.push_back("VCO");
    if (noise.hasOpamp() && !opamp)
        f.leftOut.push_back("op-amp");
    for (const double offset : SpotOffsetsHz) {
        const NoiseDensity d = noise.at(offset);
        NoiseSpot spot;
        spot.offsetHz = offset;
        spot.totalDbcHz = DbcHz(d.total);
        spot.reference = given(!n.reference.empty(), d.reference);
        spot.detector = given(n.floorDbcHz.has_value(), d.detector);
        spot.vco = given(!n.vco.empty(), d.vco);
        spot.resistors = DbcHz(d.resistors);
        spot.opamp = given(opamp, d.opamp);
        for (const double part : d.parts)
            spot.parts.push_back(DbcHz(part));
        f.spots.push_back(std::move(spot));
    }
    const double sigma2 = noise.integral(n.band[0], n.band[1], 0);
    f.integratedDeg = degrees(sigma2);
    f.jitterS = std::sqrt(sigma2) / (2.0 * std::numbers::pi * s.channelHz());
    f.residualFmHz = std::sqrt(noise.integral(n.fmBand[0], n.fmBand[1], 2));
    return f;
}

std::optional<Spurs> ComputeSpurs(const LoopSetting& s, std::int64_t comparisonCycles) {
    if (s.leakageA == 0.0 && s.opampLeakageA == 0.0)
        return std::nullopt;
    return SpursOf(s, SimulateLeakage(s, comparisonCycles));
}

Spurs SpursOf(const LoopSetting& s, const LeakageRipple& ripple) {
    Spurs spurs;
    spurs.settled = ripple.settled && !ripple.ranAway;
    for (std::size_t k = 0; k < 3; ++k) {
        const double offset = static_cast<double>(k + 1) * s.fcompHz;
        const double beta = std::abs(s.kvcoHzPerV) * ripple.volts[k] / offset;
        spurs.offsetHz[k] = offset;
        spurs.dbc[k] = 20.0 * std::log10(beta / 2.0);
    }
    return spurs;
}

std::optional<LowestNoise> FindLowestNoise(const LoopSetting& s, const NoiseSetting& n,
                                           double damping, ESeries series) {
    // The integrated noise of the loop designed for fn (exact R1 and R2), or none for a loop
    // the designer would warn about.
    enum class Verdict { Fine, Crossover, Margin, Current, Parts };
    // The designer warns above 1 mA from the detector's output: VDD across R1 (its first
    // half, with Cc).
    const double leastR1 =
        s.vdd / 1e-3 * (s.detector == Detector::PhiRPhiV && s.parts.cc > 0.0 ? 2.0 : 1.0);
    struct Try {
        Verdict verdict;
        double deg;
    };
    const auto attempt = [&](double fn) {
        const DesignAttempt d = DesignFilter(s, fn, damping, series);
        if (!d.ok())
            return Try{Verdict::Parts, INFINITY};
        if (d.design.r1Exact < leastR1)
            return Try{Verdict::Current, INFINITY};
        LoopSetting t = s;
        t.parts.r1 = d.design.r1Exact;
        t.parts.r2 = d.design.r2Exact;
        const OpenLoop g(t);
        const double wc = CrossoverOmega(g, 2.0 * std::numbers::pi * fn);
        const double fc = wc / (2.0 * std::numbers::pi);
        if (fc > s.fcompHz / 10.0)
            return Try{Verdict::Crossover, INFINITY};
        if (180.0 + g.phaseDeg(wc) - 180.0 * fc / s.fcompHz < 30.0)
            return Try{Verdict::Margin, INFINITY};
        return Try{Verdict::Fine, degrees(PhaseNoise(t, n).integral(n.band[0], n.band[1], 0))};
    };
    // A scan from far below the band to the crossover's limit, then golden sections around the
    // best: the integrated noise need not have one minimum.
    const double low = std::min(n.band[0], s.fcompHz) / 100.0, high = s.fcompHz / 5.0;
    constexpr int Steps = 48;
    std::vector<double> fns;
    std::vector<Try> tries;
    std::size_t best = 0;
    for (int i = 0; i <= Steps; ++i) {
        fns.push_back(low * std::pow(high / low, static_cast<double>(i) / Steps));
        tries.push_back(attempt(fns.back()));
        if (tries.back().deg < tries[best].deg)
            best = tries.size() - 1;
    }
    if (!std::isfinite(tries[best].deg))
        return std::nullopt;
    double a = std::log(fns[best > 0 ? best - 1 : 0]);
    double b = std::log(fns[std::min(best + 1, fns.size() - 1)]);
    const double golden = (std::sqrt(5.0) - 1.0) / 2.0;
    double x1 = b - golden * (b - a), x2 = a + golden * (b - a);
    double y1 = attempt(std::exp(x1)).deg, y2 = attempt(std::exp(x2)).deg;
    for (int i = 0; i < 40 && b - a > 1e-6; ++i) {
        if (y1 <= y2) {
            b = x2, x2 = x1, y2 = y1;
            x1 = b - golden * (b - a);
            y1 = attempt(std::exp(x1)).deg;
        } else {
            a = x1, x1 = x2, y1 = y2;
            x2 = a + golden * (b - a);
            y2 = attempt(std::exp(x2)).deg;
        }
    }
    LowestNoise found;
    found.naturalFrequencyHz = std::exp(y1 <= y2 ? x1 : x2);
    found.integratedDeg = std::min(y1, y2);
    if (!std::isfinite(found.integratedDeg)) {
        found.naturalFrequencyHz = fns[best];
        found.integratedDeg = tries[best].deg;
    }
    // Held by a limit: the next step up, or down, is a loop the designer would warn about.
    for (const std::size_t next : {best + 1, best - 1})
        if (next < tries.size() && tries[next].verdict != Verdict::Fine)
            found.bound = tries[next].verdict == Verdict::Crossover
                              ? "the crossover's limit, Fcomp / 10"
                          : tries[next].verdict == Verdict::Margin
                              ? "the sampled phase margin's limit, 30\xC2\xB0"
                          : tries[next].verdict == Verdict::Current
                              ? "the detector's current, 1 mA (a smaller C2 allows a wider loop)"
                              : "the resistors there are";
    if (found.bound.empty() && best == 0)
        found.bound = "the lowest natural frequency looked at";
    return found;
}

} // namespace owlet::loop
