#include "loop/noise/NoiseProfile.h"

#include <algorithm>
#include <cmath>

namespace owlet::loop {

double NoiseProfile::dbcAt(double offsetHz) const {
    if (points_.size() == 1)
        return points_.front().dbcHz;
    // The segment that holds the offset, or the nearest end's.
    std::size_t i = 1;
    while (i + 1 < points_.size() && points_[i].offsetHz < offsetHz)
        ++i;
    const NoisePoint& a = points_[i - 1];
    const NoisePoint& b = points_[i];
    const double slope = (b.dbcHz - a.dbcHz) / std::log10(b.offsetHz / a.offsetHz);
    return a.dbcHz + slope * std::log10(offsetHz / a.offsetHz);
}

} // namespace owlet::loop
