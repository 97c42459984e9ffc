#include "loop/numerics/PhaseCosts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace owlet::loop {
namespace {

constexpr double Degrees = 180.0 / std::numbers::pi;

} // namespace

std::vector<PhaseCost> PoleCosts(const LoopSetting& s, double crossoverHz) {
    const FilterParts& p = s.parts;
    std::vector<PhaseCost> costs;
    const auto add = [&](const char* part, double omega) {
        const double hz = omega / (2.0 * std::numbers::pi);
        costs.push_back({part, hz, std::atan(crossoverHz / hz) * Degrees});
    };
    if (s.detector == Detector::PhiRPhiV && p.cc > 0.0)
        add("Cc", 4.0 / (p.r1 * p.cc));
    if (p.c1 > 0.0)
        add("C1", (p.c1 + p.c2) / (p.r2 * p.c1 * p.c2));
    if (p.r3 > 0.0 && p.c3 > 0.0)
        add("R3/C3", 1.0 / (p.r3 * p.c3));
    std::sort(costs.begin(), costs.end(),
              [](const PhaseCost& a, const PhaseCost& b) { return a.costDeg > b.costDeg; });
    return costs;
}

double ZeroLeadDeg(const LoopSetting& s, double crossoverHz) {
    return std::atan(2.0 * std::numbers::pi * crossoverHz * s.parts.r2 * s.parts.c2) * Degrees;
}

} // namespace owlet::loop
