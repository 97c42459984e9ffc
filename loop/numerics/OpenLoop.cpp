#include "loop/numerics/OpenLoop.h"

#include <numbers>

namespace owlet::loop {

using std::numbers::pi;

OpenLoop::OpenLoop(const LoopSetting& s)
    : network_(s.detector, s.parts, Drive::Linear)
    , scale_(LoopScale(s)) {}

std::complex<double> OpenLoop::gain(double omega) const {
    return scale_ * network_.transfer(omega) / std::complex<double>(0.0, omega);
}

double OpenLoop::phaseDeg(double omega) const {
    double z = std::arg(network_.transfer(omega)) * 180.0 / pi;
    if (z > 90.0)
        z -= 360.0;
    return z - 90.0;
}

} // namespace owlet::loop
