#include "loop/numerics/Simulation.h"

#include "loop/numerics/ModalSection.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

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
        const std::array<double, 2> leakage{s.leakageA, s.opampLeakageA};
        const auto section = [&](Drive drive, double u) {
            return ModalSection(Network(s.detector, s.parts, drive, leakage).reduce(), u);
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

// The run's state, edge to edge.
struct Stepper {
    LoopSetting s;
    Sections sections;
    std::int64_t bound;
    SimulatedStep r;
    Vector x;
    Phase phase = Phase::Idle;
    double t = 0.0, lastFv = 0.0, counted = 0.0;
    std::int64_t nextFr = 1;
    bool finished = false;
    // From this fR edge on, the tuning voltage of every stretch is kept, finely sampled.
    std::int64_t recordFrom = -1;
    std::vector<std::vector<std::array<double, 2>>> recorded;

    Stepper(const LoopSetting& setting, std::int64_t cycles)
        : s(setting)
        , sections(Sections::of(setting))
        , bound(cycles) {
        // Locked on the old channel: every capacitor of the network at the old tuning voltage.
        const Network::StateSpace rest = Network(s.detector, s.parts, Drive::Open).reduce();
        x = Vector(rest.n);
        for (int i = 0; i < rest.n; ++i)
            x[i] = rest.rest[i] * s.startVoltage();
        r.cycles.reserve(static_cast<std::size_t>(std::min<std::int64_t>(bound, 1 << 20)));
    }

    // f = channel + Kvco (Vt - Vt_lock); cycles counted since the last fV edge.
    double frequency(const ModalSection& m, const Vector& y, double tau) const {
        return s.channelHz() + s.kvcoHzPerV * (m.voltage(y, tau) - s.tuningVoltage);
    }
    double cyclesIn(const ModalSection& m, const Vector& y, double tau) const {
        return (s.channelHz() - s.kvcoHzPerV * s.tuningVoltage) * tau +
               s.kvcoHzPerV * m.voltageIntegral(y, tau);
    }

    // One stretch: to the next fR edge, or to the fV edge before it. False once stopped.
    bool stretch() {
        const double n = s.n;
        const double period = 1.0 / s.fcompHz;
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
        const double vEnd = m.voltage(y, step);
        const double fEnd = frequency(m, y, step);
        // The drive cannot take the tuning voltage past its range: the loop has run away.
        if (!(vEnd >= s.railLow - 1e-9 && vEnd <= s.railHigh + 1e-9)) {
            r.stop = SimulatedStep::Stop::Rail;
            r.stopTimeS = t + step;
            r.neededVoltage = vEnd;
            return false;
        }
        if (!(fEnd > 0.0)) {
            r.stop = SimulatedStep::Stop::NoSignal;
            r.stopTimeS = t + step;
            return false;
        }
        if (recordFrom >= 0 && nextFr > recordFrom) {
            constexpr int Samples = 64; // even, for Simpson's rule
            std::vector<std::array<double, 2>>& out = recorded.emplace_back();
            for (int i = 0; i <= Samples; ++i) {
                const double tau = step * i / Samples;
                out.push_back({t + tau, m.voltage(y, tau)});
            }
        }
        x = m.toState(m.advance(y, step));
        counted += cyclesIn(m, y, step);
        t = fv ? t + step : frTime;
        if (fv) {
            r.cycles.push_back({t, n / (t - lastFv) - s.channelHz()});
            lastFv = t;
            counted = 0.0;
            phase = phase == Phase::Up ? Phase::Idle : Phase::Down;
        } else {
            phase = phase == Phase::Down ? Phase::Idle : Phase::Up;
            ++nextFr;
        }
        r.comparisonCycles = nextFr - 1;
        return true;
    }

    // Locked from the first edge after the last cycle out of tolerance, if one follows.
    void finish() {
        finished = true;
        std::size_t first = r.cycles.size();
        while (first > 0 && std::abs(r.cycles[first - 1].offsetHz) <= s.toleranceHz)
            --first;
        const double span = static_cast<double>(r.comparisonCycles) / s.fcompHz;
        if (!r.ranAway() && first < r.cycles.size() && r.cycles[first].timeS <= 0.9 * span)
            r.lockTimeS = r.cycles[first].timeS;
    }
};

} // namespace

struct StepSimulation::State : Stepper {
    using Stepper::Stepper;
};

StepSimulation::StepSimulation(const LoopSetting& s, std::int64_t comparisonCycles)
    : state_(std::make_unique<State>(s, comparisonCycles)) {}
StepSimulation::~StepSimulation() = default;
StepSimulation::StepSimulation(StepSimulation&&) noexcept = default;
StepSimulation& StepSimulation::operator=(StepSimulation&&) noexcept = default;

bool StepSimulation::run(std::int64_t cycles) {
    State& st = *state_;
    if (st.finished)
        return true;
    const std::int64_t until =
        std::min(st.bound, st.nextFr - 1 + std::max<std::int64_t>(cycles, 1));
    // At most three fV edges a comparison cycle: a VCO far above the channel, bounded.
    const std::int64_t mostFv = 3 * st.bound + 8;
    while (st.nextFr <= until && static_cast<std::int64_t>(st.r.cycles.size()) < mostFv)
        if (!st.stretch()) {
            st.finish();
            return true;
        }
    if (st.nextFr > st.bound || static_cast<std::int64_t>(st.r.cycles.size()) >= mostFv)
        st.finish();
    return st.finished;
}

const SimulatedStep& StepSimulation::result() const {
    return state_->r;
}

namespace {

// The leaking loop's run: locked on the channel, the leakage set going at t = 0, the last two
// periods' tuning voltage kept.
LoopSetting onTheChannel(LoopSetting s) {
    s.stepHz = 0.0;
    return s;
}

} // namespace

struct LeakageSimulation::State : Stepper {
    std::int64_t cycles;
    bool stopped = false;

    State(const LoopSetting& setting, std::int64_t comparisonCycles)
        : Stepper(onTheChannel(setting), std::max<std::int64_t>(comparisonCycles, 4))
        , cycles(std::max<std::int64_t>(comparisonCycles, 4)) {
        recordFrom = cycles - 2;
    }

    bool finishedRunning() const {
        return stopped || nextFr > cycles ||
               static_cast<std::int64_t>(r.cycles.size()) >= 3 * cycles + 8;
    }

    // V_k = 2 / T |integral over a period of v(t) e^(-j k w t)|, each stretch by Simpson, of
    // v less its level at the period's start: the same integral exactly, without the volts
    // of the level in the sums where microvolts of ripple are sought.
    LeakageRipple ripple() const {
        LeakageRipple out;
        out.ranAway = r.ranAway();
        if (out.ranAway)
            return out;
        const double period = 1.0 / s.fcompHz;
        double previous = 0.0; // the first harmonic one period earlier
        for (int last = 0; last < 2; ++last) {
            const double t0 = static_cast<double>(cycles - 2 + last) * period;
            double level = 0.0;
            for (const auto& stretch : recorded)
                if (std::abs(stretch.front()[0] - t0) <= 1e-12 * period)
                    level = stretch.front()[1];
            for (int k = 1; k <= 3; ++k) {
                std::complex<double> sum = 0.0;
                for (const auto& stretch : recorded) {
                    if (!(stretch.front()[0] >= t0 - 1e-12 * period &&
                          stretch.back()[0] <= t0 + period * (1.0 + 1e-12)))
                        continue;
                    const double h = (stretch.back()[0] - stretch.front()[0]) /
                                     static_cast<double>(stretch.size() - 1);
                    for (std::size_t i = 0; i < stretch.size(); ++i) {
                        const double weight = i == 0 || i + 1 == stretch.size() ? 1.0
                                              : i % 2                           ? 4.0
                                                                                : 2.0;
                        const double angle =
                            -2.0 * std::numbers::pi * k * (stretch[i][0] - t0) / period;
                        sum += weight * h / 3.0 * (stretch[i][1] - level) * std::polar(1.0, angle);
                    }
                }
                const double amplitude = 2.0 / period * std::abs(sum);
                if (last == 1)
                    out.volts[static_cast<std::size_t>(k - 1)] = amplitude;
                else if (k == 1)
                    previous = amplitude;
            }
        }
        out.settled = std::abs(previous - out.volts[0]) <= 1e-3 * out.volts[0];
        return out;
    }
};

LeakageSimulation::LeakageSimulation(const LoopSetting& s, std::int64_t comparisonCycles)
    : state_(std::make_unique<State>(s, comparisonCycles)) {}
LeakageSimulation::~LeakageSimulation() = default;
LeakageSimulation::LeakageSimulation(LeakageSimulation&&) noexcept = default;
LeakageSimulation& LeakageSimulation::operator=(LeakageSimulation&&) noexcept = default;

bool LeakageSimulation::run(std::int64_t cycles) {
    State& st = *state_;
    const std::int64_t until = st.nextFr - 1 + std::max<std::int64_t>(cycles, 1);
    while (!st.finishedRunning() && st.nextFr <= until)
        st.stopped = !st.stretch();
    return st.finishedRunning();
}

LeakageRipple LeakageSimulation::result() const {
    return state_->ripple();
}

LeakageRipple SimulateLeakage(const LoopSetting& s, std::int64_t comparisonCycles) {
    LeakageSimulation run(s, comparisonCycles);
    run.run(std::max<std::int64_t>(comparisonCycles, 4));
    return run.result();
}

SimulatedStep SimulateStep(const LoopSetting& s, std::int64_t comparisonCycles) {
    StepSimulation run(s, comparisonCycles);
    run.run(comparisonCycles);
    return run.result();
}

} // namespace owlet::loop
