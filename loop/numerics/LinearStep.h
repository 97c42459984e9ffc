#pragma once

#include "loop/numerics/LoopSetting.h"
#include "loop/numerics/SmallMatrix.h"

#include <optional>
#include <vector>

namespace owlet::loop {

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
