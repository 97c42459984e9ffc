#include "loop/numerics/LinearStep.h"

#include "loop/numerics/Network.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace owlet::loop {

using std::numbers::pi;

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
