#include "loop/numerics/Simulation.h"

#include "loop/numerics/ModalSection.h"

#include <algorithm>
#include <cmath>

namespace owlet::loop {
namespace {

enum class Phase { Idle, Up, Down };

// The filter under each detector state. "Up" (fV lagging) raises the VCO's frequency when
// the polarity is right: POL swaps which rail or sign it drives.
struct Sections {
    ModalSection idle, up, down;

    static Sections of(const LoopSetting& s) {
        const bool pd = s.detector == Detector::PdOut;
        const double high = s.invertPd ? 0.0 : s.vdd, low = s.vdd - high;
        const double sign = s.invertPd ? -1.0 : 1.0;
        const auto section = [&](Drive drive, double u) {
            return ModalSection(Network(s.detector, s.parts, drive).reduce(), u);
        };
        if (pd)
            return {section(Drive::Open, 0.0), section(Drive::Source, high),
                    section(Drive::Source, low)};
        return {section(Drive::Source, 0.0), section(Drive::Source, sign * s.vdd),
                section(Drive::Source, -sign * s.vdd)};
    }

    const ModalSection& at(Phase p) const {
        return p == Phase::Idle ? idle : p == Phase::Up ? up : down;
    }
};

} // namespace

SimulatedStep SimulateStep(const LoopSetting& s, std::int64_t comparisonCycles) {
    SimulatedStep r;
    const Sections sections = Sections::of(s);
    const double channel = s.channelHz();
    const double n = s.n;
    const double period = 1.0 / s.fcompHz;
    // Locked on the old channel: every capacitor of the network at the old tuning voltage.
    const Network::StateSpace rest = Network(s.detector, s.parts, Drive::Open).reduce();
    const double startVoltage = s.tuningVoltage - s.stepHz / s.kvcoHzPerV;
    Vector x(rest.n);
    for (int i = 0; i < rest.n; ++i)
        x[i] = rest.rest[i] * startVoltage;
    // f = channel + Kvco (Vt - Vt_lock); cycles counted since the last fV edge.
    const auto frequency = [&](const ModalSection& m, const Vector& y, double t) {
        return channel + s.kvcoHzPerV * (m.voltage(y, t) - s.tuningVoltage);
    };
    const auto cyclesIn = [&](const ModalSection& m, const Vector& y, double t) {
        return (channel - s.kvcoHzPerV * s.tuningVoltage) * t +
               s.kvcoHzPerV * m.voltageIntegral(y, t);
    };
    Phase phase = Phase::Idle;
    double t = 0.0, lastFv = 0.0, counted = 0.0;
    std::int64_t nextFr = 1;
    r.cycles.reserve(static_cast<std::size_t>(std::min<std::int64_t>(comparisonCycles, 1 << 20)));
    const std::int64_t mostFv = 3 * comparisonCycles + 8;
    while (nextFr <= comparisonCycles && static_cast<std::int64_t>(r.cycles.size()) < mostFv) {
        const ModalSection& m = sections.at(phase);
        const Vector y = m.toModal(x);
        const double frTime = static_cast<double>(nextFr) * period;
        const double span = frTime - t;
        const double needed = n - counted;
        double step = span;
        bool fv = false;
        if (cyclesIn(m, y, span) >= needed) {
            // Newton on the counted cycles, kept inside the bracket [0, span].
            double lo = 0.0, hi = span;
            double tau = std::clamp(needed / std::max(frequency(m, y, 0.0), 1e-300), 0.0, span);
            for (int i = 0; i < 100; ++i) {
                const double g = cyclesIn(m, y, tau) - needed;
                (g < 0.0 ? lo : hi) = tau;
                const double slope = frequency(m, y, tau);
                double next = slope > 0.0 ? tau - g / slope : 0.5 * (lo + hi);
                if (!(next > lo && next < hi))
                    next = 0.5 * (lo + hi);
                if (std::abs(next - tau) <= 1e-15 * (t + span) || hi - lo <= 1e-15 * (t + span)) {
                    tau = next;
                    break;
                }
                tau = next;
            }
            step = tau;
            fv = true;
        }
        const double fEnd = frequency(m, y, step);
        x = m.toState(m.advance(y, step));
        counted += cyclesIn(m, y, step);
        t = fv ? t + step : frTime;
        if (fv) {
            r.cycles.push_back({t, n / (t - lastFv) - channel});
            lastFv = t;
            counted = 0.0;
            phase = phase == Phase::Up ? Phase::Idle : Phase::Down;
        } else {
            phase = phase == Phase::Down ? Phase::Idle : Phase::Up;
            ++nextFr;
        }
        r.comparisonCycles = nextFr - 1;
        if (!(fEnd > 0.0 && fEnd < 2.0 * channel)) {
            r.ranAway = true;
            break;
        }
    }
    // Locked from the first edge after the last cycle out of tolerance, if one follows.
    std::size_t first = r.cycles.size();
    while (first > 0 && std::abs(r.cycles[first - 1].offsetHz) <= s.toleranceHz)
        --first;
    const double span = static_cast<double>(r.comparisonCycles) * period;
    if (!r.ranAway && first < r.cycles.size() && r.cycles[first].timeS <= 0.9 * span)
        r.lockTimeS = r.cycles[first].timeS;
    return r;
}

} // namespace owlet::loop
