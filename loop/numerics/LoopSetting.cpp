#include "loop/numerics/LoopSetting.h"

#include <numbers>

namespace owlet::loop {

using std::numbers::pi;

double DetectorGain(Detector detector, double vdd) {
    return vdd / (detector == Detector::PdOut ? 4.0 * pi : 2.0 * pi);
}

bool PolarityRight(const LoopSetting& s) {
    return (s.kvcoHzPerV < 0.0) == s.invertPd;
}

} // namespace owlet::loop
