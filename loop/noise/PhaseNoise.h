#pragma once

#include "loop/noise/NoiseNetwork.h"
#include "loop/noise/NoiseProfile.h"
#include "loop/numerics/LoopSetting.h"
#include "loop/numerics/OpenLoop.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace owlet::loop {

// The noise sources a module builder knows of: each optional, left out when not given.
struct NoiseSetting {
    NoiseProfile reference;             // the reference oscillator at Fref
    NoiseProfile vco;                   // the free-running VCO at Fout
    std::optional<double> floorDbcHz;   // the chip's in-band figure of merit, at 1 Hz and N = 1
    double temperatureK = 300.0;        // of the resistors
    std::optional<double> opampVoltage; // V/sqrt(Hz)
    std::optional<double> opampCurrent; // A/sqrt(Hz)
    std::array<double, 2> band{100.0, 100e3}; // integrated noise and jitter
    std::array<double, 2> fmBand{300.0, 3e3}; // residual FM
};

// Each source's phase noise at the output, S_phi in rad^2/Hz, and their sum: the reference
// and the detector's floor through the closed loop H = G / (1 + G), the VCO through
// E = 1 / (1 + G), the resistors' and the op-amp's noise at the tuning input through Kv / s
// and E.
struct NoiseDensity {
    double reference = 0.0, detector = 0.0, vco = 0.0, resistors = 0.0, opamp = 0.0;
    std::vector<double> parts; // each resistor, as PhaseNoise::parts names them
    double total = 0.0;
};

class PhaseNoise {
public:
    PhaseNoise(const LoopSetting& s, const NoiseSetting& n);

    NoiseDensity at(double offsetHz) const;
    // The resistors by name ("R2", "R1 (phiR)"), and whether the op-amp is there to add noise.
    const std::vector<std::string>& parts() const { return parts_; }
    bool hasOpamp() const { return opamp_; }
    // The integral of S_phi times offset^power over [f1, f2] (rad^2 Hz^power), on a grid of
    // 200 points a decade, trapezoids in ln f.
    double integral(double f1, double f2, int power) const;

private:
    LoopSetting s_;
    NoiseSetting n_;
    OpenLoop loop_;
    NoiseNetwork network_;
    std::vector<std::string> parts_;
    bool opamp_ = false;
};

// dBc/Hz from S_phi: L = 10 log10(S_phi / 2), -400 at the least.
double DbcHz(double sPhi);

} // namespace owlet::loop
