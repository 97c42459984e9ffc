#pragma once

#include "loop/numerics/FilterParts.h"

#include <cstdint>

namespace owlet::loop {

// A loop as the module has it: the panel's setting, the VCO and the filter.
struct LoopSetting {
    Detector detector = Detector::PhiRPhiV;
    bool invertPd = false;      // the C register's POL bit
    double vdd = 5.0;           // volts
    double kvcoHzPerV = 0.0;    // signed: negative when the frequency falls as Vt rises
    double tuningVoltage = 2.5; // at the new channel, volts
    std::int32_t n = 0;
    double frefHz = 0.0;
    double fcompHz = 0.0;     // the comparison frequency R gives
    double stepHz = 0.0;      // the new channel (N x Fcomp) minus the one the loop starts on
    double toleranceHz = 0.0; // locked once the frequency stays this close to the new channel
    FilterParts parts;
    // What the detector's side can drive the tuning voltage to: PDout 0 to VDD, the op-amp
    // its output range.
    double railLow = 0.0, railHigh = 5.0;
    // Currents the tuning node leaks: drawn from the tuning input, and into the op-amp's
    // inverting input (phiR/phiV), in amperes.
    double leakageA = 0.0, opampLeakageA = 0.0;

    double channelHz() const { return n * fcompHz; }
    // The tuning voltage on the old channel, where the step starts.
    double startVoltage() const { return tuningVoltage - stepHz / kvcoHzPerV; }
};

// Kphi in volts per radian: VDD / 4 pi for PDout, VDD / 2 pi for phiR/phiV.
double DetectorGain(Detector detector, double vdd);
// Kphi Kv 2 pi / N in 1/s per ohm of the filter: the open loop's gain without the filter.
double LoopScale(const LoopSetting& s);
// Positive feedback: the POL bit must be set exactly when Kvco is negative.
bool PolarityRight(const LoopSetting& s);

} // namespace owlet::loop
