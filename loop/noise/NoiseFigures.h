#pragma once

#include "loop/noise/PhaseNoise.h"
#include "loop/numerics/Design.h"
#include "loop/numerics/Simulation.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace owlet::loop {

// The offsets a receiver's oscillator is judged at.
inline constexpr std::array<double, 4> SpotOffsetsHz{100.0, 1e3, 1e4, 1e5};

// Each source's phase noise and the total at one offset, dBc/Hz; a source not given has none.
struct NoiseSpot {
    double offsetHz = 0.0;
    double totalDbcHz = 0.0;
    std::optional<double> reference, detector, vco, resistors, opamp;
    std::vector<double> parts; // each resistor, as NoiseFigures::parts names them
};

struct NoiseFigures {
    std::vector<std::string> parts;
    std::vector<NoiseSpot> spots;
    double integratedDeg = 0.0; // rms over `band`
    double jitterS = 0.0;       // rms over `band`
    double residualFmHz = 0.0;  // rms over `fmBand`
    std::array<double, 2> band{}, fmBand{};
    std::vector<std::string> leftOut;           // the sources not given: "reference", "VCO", ...
    std::string leader(std::size_t spot) const; // the source that leads at a spot
};

NoiseFigures ComputeNoise(const LoopSetting& s, const NoiseSetting& n);

// The reference spurs at Fcomp, 2 Fcomp and 3 Fcomp from the leakage, through the real
// detector's steady state: 20 log10(beta_k / 2) dBc, beta_k = |Kvco| V_k / (k Fcomp).
struct Spurs {
    std::array<double, 3> offsetHz{}, dbc{};
    bool settled = true;
};
std::optional<Spurs> ComputeSpurs(const LoopSetting& s, std::int64_t comparisonCycles);
// The spurs of a steady state already simulated.
Spurs SpursOf(const LoopSetting& s, const LeakageRipple& ripple);

// The natural frequency, for this damping and C2 and every optional part kept, whose design
// gives the least integrated phase noise over the band, among the loops the designer would
// not warn about: crossover at most Fcomp / 10, sampled phase margin at least 30 degrees, at
// most 1 mA from the detector's output.
struct LowestNoise {
    double naturalFrequencyHz = 0.0;
    double integratedDeg = 0.0;
    std::string bound; // "" or what holds it there: "the crossover's limit, Fcomp / 10", ...
};
std::optional<LowestNoise> FindLowestNoise(const LoopSetting& s, const NoiseSetting& n,
                                           double damping, ESeries series);

} // namespace owlet::loop
