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

// R1 = Kphi Kv / (N wn^2 C2) and R2 = 2 zeta / (wn C2) for the setting's detector, VCO and
// divider, with C2 from its parts.
FilterDesign DesignFilter(const LoopSetting& s, double naturalFrequencyHz, double damping,
                          ESeries series);

} // namespace owlet::loop
