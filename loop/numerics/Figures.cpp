#include "loop/numerics/Figures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace owlet::loop {

using std::numbers::pi;

namespace {

double loopScale(const LoopSetting& s) {
    return DetectorGain(s.detector, s.vdd) * 2.0 * pi * std::abs(s.kvcoHzPerV) / s.n;
}

// omega where |G| = 1: |G| falls strictly with frequency for these networks.
double crossover(const OpenLoop& g, double guess) {
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

OpenLoop::OpenLoop(const LoopSetting& s)
    : network_(s.detector, s.parts, Drive::Linear)
    , scale_(loopScale(s)) {}

std::complex<double> OpenLoop::gain(double omega) const {
    return scale_ * network_.transfer(omega) / std::complex<double>(0.0, omega);
}

double OpenLoop::phaseDeg(double omega) const {
    double z = std::arg(network_.transfer(omega)) * 180.0 / pi;
    if (z > 90.0)
        z -= 360.0;
    return z - 90.0;
}

LoopFigures ComputeFigures(const LoopSetting& s) {
    LoopFigures f;
    const FilterParts& p = s.parts;
    f.kphi = DetectorGain(s.detector, s.vdd);
    const double omegaN = std::sqrt(loopScale(s) / (p.r1 * p.c2));
    f.naturalFrequencyHz = omegaN / (2.0 * pi);
    f.damping = omegaN * p.r2 * p.c2 / 2.0;
    const OpenLoop g(s);
    const double omegaC = crossover(g, omegaN);
    f.crossoverHz = omegaC / (2.0 * pi);
    f.phaseMarginDeg = 180.0 + g.phaseDeg(omegaC);
    f.stable = f.phaseMarginDeg > 0.0;
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
        for (int i = 0; i < 8 && !f.lockTimeS; ++i, horizon *= 4.0)
            f.lockTimeS = step.lockTime(horizon);
    }
    return f;
}

LinearStep::LinearStep(const LoopSetting& s)
    : tolerance_(s.toleranceHz) {
    // x' = A x + B Kphi theta, theta' = -(Kv / N) Vt: deviations from the locked state,
    // starting with every capacitor at the old channel's voltage and no phase error.
    const Network::StateSpace ss = Network(s.detector, s.parts, Drive::Linear).reduce();
    const int n = ss.n;
    const double kphi = DetectorGain(s.detector, s.vdd);
    const double kvco = std::abs(s.kvcoHzPerV);
    const double kvN = 2.0 * pi * kvco / s.n;
    m_ = Matrix(n + 1);
    z0_ = Vector(n + 1);
    out_ = Vector(n + 1);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j)
            m_(i, j) = ss.a(i, j);
        m_(i, n) = ss.b[i] * kphi;
        m_(n, i) = -kvN * ss.c[i];
        out_[i] = kvco * ss.c[i];
        z0_[i] = -s.stepHz / kvco * ss.rest[i];
    }
    m_(n, n) = -kvN * ss.d * kphi;
    out_[n] = kvco * ss.d * kphi;
}

double LinearStep::offsetAfter(const Vector& z, double t) const {
    Matrix mt = m_;
    for (double& e : mt.a)
        e *= t;
    return Dot(out_, Exponential(mt) * z);
}

std::vector<double> LinearStep::offsets(double h, int count) const {
    Matrix mh = m_;
    for (double& e : mh.a)
        e *= h;
    const Matrix step = Exponential(mh);
    std::vector<double> r;
    r.reserve(static_cast<std::size_t>(std::max(count, 0)));
    Vector z = z0_;
    for (int k = 0; k < count; ++k, z = step * z)
        r.push_back(Dot(out_, z));
    return r;
}

std::optional<double> LinearStep::lockTime(double horizon) const {
    constexpr int Samples = 4000;
    const double h = horizon / Samples;
    const std::vector<double> f = offsets(h, Samples + 1);
    int last = -1;
    for (int k = 0; k <= Samples; ++k)
        if (std::abs(f[static_cast<std::size_t>(k)]) > tolerance_)
            last = k;
    if (last < 0)
        return 0.0;
    if (last > Samples * 3 / 4)
        return std::nullopt; // still moving near the end: look further
    // Between sample `last` (outside) and the next (inside): bisect on the exact solution.
    Matrix mt = m_;
    for (double& e : mt.a)
        e *= last * h;
    const Vector z = Exponential(mt) * z0_;
    double lo = 0.0, hi = h;
    for (int i = 0; i < 60 && hi - lo > 1e-12 * h; ++i) {
        const double mid = 0.5 * (lo + hi);
        (std::abs(offsetAfter(z, mid)) > tolerance_ ? lo : hi) = mid;
    }
    return last * h + 0.5 * (lo + hi);
}

} // namespace owlet::loop
