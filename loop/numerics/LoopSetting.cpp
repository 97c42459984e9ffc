#include "loop/numerics/LoopSetting.h"

#include <cmath>
#include <numbers>

namespace owlet::loop {

using std::numbers::pi;

double DetectorGain(Detector detector, double vdd) {
    return vdd / (detector == Detector::PdOut ? 4.0 * pi : 2.0 * pi);
}

double LoopScale(const LoopSetting& s) {
    return DetectorGain(s.detector, s.vdd) * 2.0 * pi * std::abs(s.kvcoHzPerV) / s.n;
}

bool PolarityRight(const LoopSetting& s) {
    return (s.kvcoHzPerV < 0.0) == s.invertPd;
}

} // namespace owlet::loop
