#include "loop/numerics/Design.h"

#include <array>
#include <cmath>
#include <numbers>

namespace owlet::loop {
namespace {

constexpr std::array<int, 24> E24{10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                                  33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};

// mantissa x 10^(exponent - 1), correctly rounded: a power of ten below one divides.
double standardValue(int mantissa, int exponent) {
    const int e = exponent - 1;
    return e >= 0 ? mantissa * std::pow(10.0, e) : mantissa / std::pow(10.0, -e);
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

FilterDesign DesignFilter(const LoopSetting& s, double naturalFrequencyHz, double damping,
                          ESeries series) {
    const double omegaN = 2.0 * std::numbers::pi * naturalFrequencyHz;
    const double kv = 2.0 * std::numbers::pi * std::abs(s.kvcoHzPerV);
    FilterDesign d;
    d.r1Exact = DetectorGain(s.detector, s.vdd) * kv / (s.n * omegaN * omegaN * s.parts.c2);
    d.r2Exact = 2.0 * damping / (omegaN * s.parts.c2);
    d.r1 = NearestStandard(d.r1Exact, series);
    d.r2 = NearestStandard(d.r2Exact, series);
    return d;
}

} // namespace owlet::loop
