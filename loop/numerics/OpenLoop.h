#pragma once

#include "loop/numerics/LoopSetting.h"
#include "loop/numerics/Network.h"

#include <complex>

namespace owlet::loop {

// The open loop G(j omega) = Kphi Kv Z(j omega) / (N j omega), Z the filter's exact transfer.
class OpenLoop {
public:
    explicit OpenLoop(const LoopSetting& s);
    std::complex<double> gain(double omega) const;
    // arg G in degrees, continuous: Z's phase lies in (-270, 0], G's 90 degrees lower.
    double phaseDeg(double omega) const;

private:
    Network network_;
    double scale_;
};

} // namespace owlet::loop
