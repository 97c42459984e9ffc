#pragma once

#include <vector>

namespace owlet::loop {

// An oscillator's phase noise as measured: points of offset (Hz) and level (dBc/Hz), offsets
// rising. Between points the level runs straight in dB over log offset; beyond the ends the
// nearest segment's slope goes on (a single point: flat), as an oscillator keeps falling away
// from the carrier and rising towards it.
struct NoisePoint {
    double offsetHz = 0.0;
    double dbcHz = 0.0;
};

class NoiseProfile {
public:
    NoiseProfile() = default;
    explicit NoiseProfile(std::vector<NoisePoint> points)
        : points_(std::move(points)) {}

    bool empty() const { return points_.empty(); }
    const std::vector<NoisePoint>& points() const { return points_; }
    double dbcAt(double offsetHz) const;

private:
    std::vector<NoisePoint> points_;
};

} // namespace owlet::loop
