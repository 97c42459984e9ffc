#pragma once

#include "loop/numerics/LoopSetting.h"

namespace owlet::loop {

enum class ESeries { E12, E24 };

// The IEC 60063 value of the series nearest to `value` (> 0) on a logarithmic scale.
double NearestStandard(double value, ESeries series);

struct FilterDesign {
    double r1Exact = 0.0, r2Exact = 0.0; // from the second-order relations
    double r1 = 0.0, r2 = 0.0;           // the nearest standard values
};

// A design, or why there is none.
struct DesignAttempt {
    enum class Refusal {
        None,
        ResistorRange, // `resistor` would be `ohms`, beyond the parts there are
        Margin,        // the fitted parts allow at most `bestMarginDeg` at this crossover
    };
    FilterDesign design;
    Refusal refusal = Refusal::None;
    const char* resistor = ""; // "R1" or "R2"
    double ohms = 0.0;
    double bestMarginDeg = 0.0;
    bool ok() const { return refusal == Refusal::None; }
};

// R1 = Kphi Kv / (N wn^2 C2) and R2 = 2 zeta / (wn C2) for the setting's detector, VCO and
// divider, with C2 from its parts.
DesignAttempt DesignFilter(const LoopSetting& s, double naturalFrequencyHz, double damping,
                           ESeries series);

// R1 and R2 that give the exact network, every fitted part included, this crossover and
// this phase margin: R2 sets the phase there (the lower-R2 solution, the zero below the
// crossover), R1 the gain, in turn until both hold.
DesignAttempt DesignForCrossover(const LoopSetting& s, double crossoverHz, double marginDeg,
                                 ESeries series);

// The range of resistors there are: 1 mOhm to 1 TOhm.
inline constexpr double SmallestResistor = 1e-3, LargestResistor = 1e12;

} // namespace owlet::loop
