#pragma once

#include "loop/numerics/LoopSetting.h"

#include <optional>

namespace owlet::loop {

// What a module builder reads off the linear loop.
struct LoopFigures {
    double kphi = 0.0;               // V/rad
    double naturalFrequencyHz = 0.0; // of the R1, R2, C2 core
    double damping = 0.0;
    double crossoverHz = 0.0;
    double phaseMarginDeg = 0.0;
    double phaseMarginSampledDeg = 0.0; // less the detector's sampling delay
    double bandwidthHz = 0.0;           // closed loop, -3 dB
    double spurAttenuationDb = 0.0;
    std::optional<double> lockTimeS; // linear; none when the loop cannot lock or settle
    double lockHorizonS = 0.0;       // how long the linear step response was followed
    bool polarityRight = true;
    bool stable = true; // phase margin above 0 as shown
    bool locks() const { return polarityRight && stable; }
};

class OpenLoop;
// omega where |G| = 1 (|G| falls strictly with frequency for these networks), from a guess.
double CrossoverOmega(const OpenLoop& g, double guess);

// The figures of the exact network; the lock time from the closed loop's step response.
LoopFigures ComputeFigures(const LoopSetting& s);

} // namespace owlet::loop
