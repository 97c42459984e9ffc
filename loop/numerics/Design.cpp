#include "loop/numerics/Design.h"

#include "loop/numerics/OpenLoop.h"

#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace owlet::loop {
namespace {

constexpr std::array<int, 24> E24{10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                                  33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};

// mantissa x 10^(exponent - 1), correctly rounded: a power of ten below one divides.
double standardValue(int mantissa, int exponent) {
    const int e = exponent - 1;
    return e >= 0 ? mantissa * std::pow(10.0, e) : mantissa / std::pow(10.0, -e);
}

// Designed resistors outside the parts there are are refused, with what to change: both
// scale as 1 / C2.
DesignAttempt finished(FilterDesign d, ESeries series) {
    for (const auto& [name, ohms] : {std::pair{"R1", d.r1Exact}, {"R2", d.r2Exact}})
        if (!(ohms >= SmallestResistor && ohms <= LargestResistor))
            return {d, DesignAttempt::Refusal::ResistorRange, name, ohms, 0.0};
    d.r1 = NearestStandard(d.r1Exact, series);
    d.r2 = NearestStandard(d.r2Exact, series);
    return {d};
}

// The phase of G at omega in degrees, (-360, -90], with these resistors.
double phaseAt(LoopSetting s, double r1, double r2, double omega) {
    s.parts.r1 = r1;
    s.parts.r2 = r2;
    return OpenLoop(s).phaseDeg(omega);
}

double gainAt(LoopSetting s, double r1, double r2, double omega) {
    s.parts.r1 = r1;
    s.parts.r2 = r2;
    return std::abs(OpenLoop(s).gain(omega));
}

} // namespace

double NearestStandard(double value, ESeries series) {
    const int decade = static_cast<int>(std::floor(std::log10(value)));
    double best = value, bestDistance = INFINITY;
    for (int d = decade - 1; d <= decade + 1; ++d)
        for (std::size_t i = 0; i < E24.size(); i += series == ESeries::E12 ? 2 : 1) {
            const double candidate = standardValue(E24[i], d);
            const double distance = std::abs(std::log(candidate / value));
            if (distance < bestDistance) {
                best = candidate;
                bestDistance = distance;
            }
        }
    return best;
}

DesignAttempt DesignFilter(const LoopSetting& s, double naturalFrequencyHz, double damping,
                           ESeries series) {
    const double omegaN = 2.0 * std::numbers::pi * naturalFrequencyHz;
    const double kv = 2.0 * std::numbers::pi * std::abs(s.kvcoHzPerV);
    FilterDesign d;
    d.r1Exact = DetectorGain(s.detector, s.vdd) * kv / (s.n * omegaN * omegaN * s.parts.c2);
    d.r2Exact = 2.0 * damping / (omegaN * s.parts.c2);
    return finished(d, series);
}

DesignAttempt DesignForCrossover(const LoopSetting& s, double crossoverHz, double marginDeg,
                                 ESeries series) {
    const double omega = 2.0 * std::numbers::pi * crossoverHz;
    const double target = marginDeg - 180.0;
    // The core's answer as the start: wn at the crossover, the zero a quarter below it.
    double r1 = DesignFilter(s, crossoverHz, 1.0, series).design.r1Exact;
    double r2 = 0.0;
    const double low = std::log(SmallestResistor), high = std::log(LargestResistor);
    for (int round = 0; round < 60; ++round) {
        // R2: the phase rises from no zero at all, up to a peak where C1's pole takes over.
        constexpr int Steps = 150;
        double best = -INFINITY, below = low;
        int crossing = -1;
        for (int i = 0; i <= Steps && crossing < 0; ++i) {
            const double ln = low + (high - low) * i / Steps;
            const double phase = phaseAt(s, r1, std::exp(ln), omega);
            best = std::max(best, phase);
            if (phase >= target)
                crossing = i;
            else
                below = ln;
        }
        if (crossing < 0)
            return {{}, DesignAttempt::Refusal::Margin, "R2", 0.0, best + 180.0};
        double lo = below, hi = low + (high - low) * crossing / Steps;
        for (int i = 0; i < 100 && hi - lo > 1e-14; ++i) {
            const double mid = 0.5 * (lo + hi);
            (phaseAt(s, r1, std::exp(mid), omega) < target ? lo : hi) = mid;
        }
        const double newR2 = std::exp(0.5 * (lo + hi));
        // R1: |G| falls as R1 grows.
        lo = low, hi = high;
        if (gainAt(s, std::exp(lo), newR2, omega) < 1.0)
            return {{}, DesignAttempt::Refusal::ResistorRange, "R1", 0.0, 0.0};
        if (gainAt(s, std::exp(hi), newR2, omega) > 1.0)
            return {{}, DesignAttempt::Refusal::ResistorRange, "R1", INFINITY, 0.0};
        for (int i = 0; i < 200 && hi - lo > 1e-14; ++i) {
            const double mid = 0.5 * (lo + hi);
            (gainAt(s, std::exp(mid), newR2, omega) > 1.0 ? lo : hi) = mid;
        }
        const double newR1 = std::exp(0.5 * (lo + hi));
        const bool settled =
            std::abs(newR1 / r1 - 1.0) < 1e-12 && r2 > 0.0 && std::abs(newR2 / r2 - 1.0) < 1e-12;
        r1 = newR1;
        r2 = newR2;
        if (settled)
            break;
    }
    FilterDesign d;
    d.r1Exact = r1;
    d.r2Exact = r2;
    return finished(d, series);
}

} // namespace owlet::loop
