#pragma once

#include "loop/numerics/FilterParts.h"

#include <complex>
#include <string>
#include <vector>

namespace owlet::loop {

// The filter as it stands while the loop is locked, for its own noise: every node with the
// op-amp's two inputs apart (an ideal op-amp holds them equal and drives its output), so each
// resistor's and the op-amp's noise reaches the tuning input by its own path. PDout is
// high-impedance while locked, so R1 carries no current and adds nothing; phiR and phiV are
// driven, so every resistor of that form adds its noise, each half of a split R1 apart.
class NoiseNetwork {
public:
    struct Source {
        std::string name;  // "R2", "R1 (phiR)", "op-amp voltage", ...
        double ohms = 0.0; // a resistor's; 0 for the op-amp's
        int part = 0;      // sources of one part (the halves of a split R1) share it
    };

    // The op-amp's sources are there only for phiR/phiV.
    NoiseNetwork(Detector detector, const FilterParts& parts);

    // The resistors' and then the op-amp's sources: its voltage noise, then its current noise
    // into each input.
    const std::vector<Source>& sources() const { return sources_; }
    // For each source, |tuning voltage / source|^2 at omega: per ampere of a resistor's
    // noise current and of the op-amp's input current, per volt of its voltage noise.
    std::vector<double> powerGains(double omega) const;

private:
    struct Element {
        enum class Kind { Resistor, Capacitor };
        Kind kind;
        int a, b; // nodes; -1 is ground
        double value;
    };
    int node();
    void resistor(int a, int b, double ohms, const std::string& name);
    void capacitor(int a, int b, double farads);

    std::vector<Element> elements_;
    std::vector<Source> sources_;
    std::vector<std::pair<int, int>> resistorNodes_; // of each resistor source
    int nodes_ = 0;
    int tuning_ = 0;
    bool opamp_ = false;
    int inverting_ = -1, noninverting_ = -1, output_ = -1;
};

} // namespace owlet::loop
