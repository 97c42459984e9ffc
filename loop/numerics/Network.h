#pragma once

#include "loop/numerics/FilterParts.h"
#include "loop/numerics/SmallMatrix.h"

#include <complex>

namespace owlet::loop {

// What drives the filter during one stretch of time.
enum class Drive {
    Linear, // the linear model: PDout as the current u / R1 into X, phiR/phiV as u into R1
    Open,   // PDout high-impedance: nothing flows through R1
    Source  // PDout driven to u through R1; phiR/phiV's differential voltage u into R1
};

// The filter as a nodal network: node voltages v with capacitances C to ground,
// C v' = -G v + b u. G need not be symmetric: the op-amp's virtual ground and output
// feed later sections one way. Nodes without capacitance are solved for algebraically.
class Network {
public:
    // `leakage`: constant currents drawn from the tuning input and into the op-amp's
    // inverting input (amperes), for the steady state of a leaking loop.
    Network(Detector detector, const FilterParts& parts, Drive drive,
            std::array<double, 2> leakage = {0.0, 0.0});

    // The VCO's tuning voltage over u at s = j omega (omega > 0), every part included.
    std::complex<double> transfer(double omega) const;

    // The nodes with capacitance, the algebraic ones eliminated:
    // x' = A x + B u + l, Vt = c.x + d u + dl: l and dl from the leakage currents.
    struct StateSpace {
        int n = 0;
        Matrix a, g; // g: the reduced conductances, C x' = -g x + ...
        Vector b, c, capacitance, rest, leak;
        double d = 0.0, dLeak = 0.0;
        std::array<int, MaxOrder> block{}; // sections fed one way, in order
    };
    StateSpace reduce() const;

private:
    int addNode(double capacitance, int block, double rest);
    void connect(int from, int to, double conductance); // both ways

    int nodes_ = 0;
    Matrix g_;
    Vector c_, b_, rest_, leak_; // leak_: the currents into each node, amperes
    std::array<int, MaxOrder> block_{};
    int output_ = 0;
};

} // namespace owlet::loop
