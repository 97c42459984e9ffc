#pragma once

#include "loop/numerics/LoopSetting.h"
#include "loop/numerics/Network.h"

#include <complex>
#include <optional>
#include <vector>

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

struct LoopFigures {
    double kphi = 0.0;               // V/rad
    double naturalFrequencyHz = 0.0; // of the R1, R2, C2 core
    double damping = 0.0;
    double crossoverHz = 0.0;
    double phaseMarginDeg = 0.0;
    double bandwidthHz = 0.0; // closed loop, -3 dB
    double spurAttenuationDb = 0.0;
    std::optional<double> lockTimeS; // linear; none when the loop cannot lock
    bool polarityRight = true;
    bool stable = true; // phase margin above 0
    bool locks() const { return polarityRight && stable; }
};

LoopFigures ComputeFigures(const LoopSetting& s);

// The linear loop's answer to the frequency step: the VCO's frequency minus the new
// channel's, at times in seconds.
class LinearStep {
public:
    explicit LinearStep(const LoopSetting& s);
    // Samples at t = 0, h, 2h, ... (count of them).
    std::vector<double> offsets(double h, int count) const;
    // The last moment the frequency is farther than the tolerance from the new channel;
    // none when it still is after `horizon` seconds.
    std::optional<double> lockTime(double horizon) const;

private:
    double offsetAfter(const Vector& z, double t) const;
    Matrix m_;
    Vector z0_, out_;
    double tolerance_;
};

} // namespace owlet::loop
