#include "loop/numerics/Figures.h"

#include "loop/numerics/LinearStep.h"
#include "loop/numerics/OpenLoop.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace owlet::loop {

using std::numbers::pi;

double CrossoverOmega(const OpenLoop& g, double guess) {
    double lo = guess, hi = guess;
    for (int i = 0; i < 200 && std::abs(g.gain(lo)) < 1.0; ++i)
        lo /= 4.0;
    for (int i = 0; i < 200 && std::abs(g.gain(hi)) > 1.0; ++i)
        hi *= 4.0;
    for (int i = 0; i < 200 && hi / lo > 1.0 + 1e-13; ++i) {
        const double mid = std::sqrt(lo * hi);
        (std::abs(g.gain(mid)) > 1.0 ? lo : hi) = mid;
    }
    return std::sqrt(lo * hi);
}

namespace {

// The highest omega where |G / (1 + G)| falls through 1 / sqrt 2.
double bandwidth(const OpenLoop& g, double omegaC) {
    const auto closed = [&](double w) {
        const std::complex<double> gw = g.gain(w);
        return std::abs(gw / (1.0 + gw)) - std::sqrt(0.5);
    };
    const double top = omegaC * 1e4;
    double w = top;
    for (int i = 0; i < 400 && closed(w) < 0.0; ++i)
        w /= std::pow(10.0, 0.025); // 40 a decade, from the top down
    if (closed(w) < 0.0)
        return omegaC; // no peak found in eight decades: cannot happen for a type-2 loop
    double lo = w, hi = std::min(top, w * std::pow(10.0, 0.025));
    for (int i = 0; i < 200 && hi / lo > 1.0 + 1e-13; ++i) {
        const double mid = std::sqrt(lo * hi);
        (closed(mid) >= 0.0 ? lo : hi) = mid;
    }
    return std::sqrt(lo * hi);
}

} // namespace

LoopFigures ComputeFigures(const LoopSetting& s) {
    LoopFigures f;
    const FilterParts& p = s.parts;
    f.kphi = DetectorGain(s.detector, s.vdd);
    const double omegaN = std::sqrt(LoopScale(s) / (p.r1 * p.c2));
    f.naturalFrequencyHz = omegaN / (2.0 * pi);
    f.damping = omegaN * p.r2 * p.c2 / 2.0;
    const OpenLoop g(s);
    const double omegaC = CrossoverOmega(g, omegaN);
    f.crossoverHz = omegaC / (2.0 * pi);
    f.phaseMarginDeg = 180.0 + g.phaseDeg(omegaC);
    // The detector compares once a period: as a hold of half a period, e^(-s T / 2).
    f.phaseMarginSampledDeg = f.phaseMarginDeg - 180.0 * f.crossoverHz / s.fcompHz;
    // Stable only with a margin that shows as above 0 at one decimal.
    f.stable = f.phaseMarginDeg >= 0.05;
    f.polarityRight = PolarityRight(s);
    f.bandwidthHz = bandwidth(g, omegaC) / (2.0 * pi);
    if (p.hasOptionalParts()) {
        LoopSetting core = s;
        core.parts = p.core();
        const double w = 2.0 * pi * s.fcompHz;
        f.spurAttenuationDb =
            20.0 * std::log10(std::abs(OpenLoop(core).gain(w)) / std::abs(g.gain(w)));
    }
    if (f.locks()) {
        // Twenty times the second-order settling estimate, and more until it has settled.
        const double zeta = std::clamp(f.damping, 0.05, 1.0);
        double horizon = 20.0 / (zeta * std::min(omegaN, omegaC));
        const LinearStep step(s);
        for (int i = 0; i < 8 && !f.lockTimeS; ++i, horizon *= 4.0) {
            f.lockTimeS = step.lockTime(horizon);
            f.lockHorizonS = horizon;
        }
    }
    return f;
}

} // namespace owlet::loop
