#include "loop/noise/PhaseNoise.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace owlet::loop {
namespace {

constexpr double Boltzmann = 1.380649e-23; // J/K

double sPhiOf(double dbcHz) {
    return 2.0 * std::pow(10.0, dbcHz / 10.0);
}

} // namespace

double DbcHz(double sPhi) {
    // Below -400 dBc/Hz nothing is measurable, and a source at nothing stays a number.
    return std::max(10.0 * std::log10(sPhi / 2.0), -400.0);
}

PhaseNoise::PhaseNoise(const LoopSetting& s, const NoiseSetting& n)
    : s_(s)
    , n_(n)
    , loop_(s)
    , network_(s.detector, s.parts)
    , opamp_(s.detector == Detector::PhiRPhiV) {
    for (const NoiseNetwork::Source& src : network_.sources())
        if (src.ohms > 0.0 && (parts_.empty() || parts_.back() != src.name))
            parts_.push_back(src.name);
}

NoiseDensity PhaseNoise::at(double f) const {
    const double omega = 2.0 * std::numbers::pi * f;
    const std::complex<double> g = loop_.gain(omega);
    const double h2 = std::norm(g / (1.0 + g)), e2 = std::norm(1.0 / (1.0 + g));
    NoiseDensity d;
    const double multiplication = s_.channelHz() / s_.frefHz; // N / R
    if (!n_.reference.empty())
        d.reference = sPhiOf(n_.reference.dbcAt(f)) * multiplication * multiplication * h2;
    if (n_.floorDbcHz)
        d.detector = sPhiOf(*n_.floorDbcHz + 10.0 * std::log10(s_.fcompHz) +
                            20.0 * std::log10(static_cast<double>(s_.n))) *
                     h2;
    if (!n_.vco.empty())
        d.vco = sPhiOf(n_.vco.dbcAt(f)) * e2;
    // A volt of tuning noise moves the phase by Kv / s: |Kvco| / f radians per volt.
    const double perVolt2 = std::pow(std::abs(s_.kvcoHzPerV) / f, 2) * e2;
    const std::vector<double> gains = network_.powerGains(omega);
    const std::vector<NoiseNetwork::Source>& sources = network_.sources();
    d.parts.assign(parts_.size(), 0.0);
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const NoiseNetwork::Source& src = sources[i];
        if (src.ohms > 0.0) {
            const auto part = static_cast<std::size_t>(
                std::find(parts_.begin(), parts_.end(), src.name) - parts_.begin());
            d.parts[part] += gains[i] * 4.0 * Boltzmann * n_.temperatureK / src.ohms * perVolt2;
        } else if (src.name == "op-amp voltage") {
            if (n_.opampVoltage)
                d.opamp += gains[i] * *n_.opampVoltage * *n_.opampVoltage * perVolt2;
        } else if (n_.opampCurrent) {
            d.opamp += gains[i] * *n_.opampCurrent * *n_.opampCurrent * perVolt2;
        }
    }
    for (const double p : d.parts)
        d.resistors += p;
    d.total = d.reference + d.detector + d.vco + d.resistors + d.opamp;
    return d;
}

double PhaseNoise::integral(double f1, double f2, int power) const {
    constexpr double PerDecade = 200.0;
    const int steps = std::max(2, static_cast<int>(std::ceil(std::log10(f2 / f1) * PerDecade)));
    const double h = std::log(f2 / f1) / steps;
    double sum = 0.0, previous = 0.0;
    for (int i = 0; i <= steps; ++i) {
        const double f = f1 * std::exp(h * i);
        const double y = at(f).total * std::pow(f, power + 1); // d f = f d(ln f)
        if (i > 0)
            sum += 0.5 * (y + previous) * h;
        previous = y;
    }
    return sum;
}

} // namespace owlet::loop
