#include "loop/numerics/Network.h"

namespace owlet::loop {

Network::Network(Detector detector, const FilterParts& p, Drive drive,
                 std::array<double, 2> leakage)
    : g_(MaxOrder)
    , c_(MaxOrder)
    , b_(MaxOrder)
    , rest_(MaxOrder)
    , leak_(MaxOrder) {
    // R3 and C3 make a section only together: C3 alone sits on the node before it, R3
    // alone carries no current into the VCO's input.
    const bool section3 = p.r3 > 0.0 && p.c3 > 0.0;
    if (detector == Detector::PdOut) {
        const int x = addNode(p.c1 + (section3 ? 0.0 : p.c3), 0, 1.0);
        const int y = addNode(p.c2, 0, 1.0);
        connect(x, y, 1.0 / p.r2);
        output_ = x;
        if (section3) {
            output_ = addNode(p.c3, 0, 1.0);
            connect(x, output_, 1.0 / p.r3);
        }
        if (drive != Drive::Open)
            b_[x] = 1.0 / p.r1;
        if (drive == Drive::Source)
            g_(x, x) += 1.0 / p.r1;
        leak_[output_] = -leakage[0];
    } else {
        // The inverting input is a virtual ground: R1's current flows on into the feedback
        // network, whose voltage is the output's. Cc makes a T: R1/2, Cc, R1/2.
        int feedback = 0;
        if (p.cc > 0.0) {
            const int m = addNode(p.cc, 0, 0.0);
            g_(m, m) = 4.0 / p.r1;
            b_[m] = 2.0 / p.r1;
            feedback = addNode(p.c1, 1, 1.0);
            g_(feedback, m) = -2.0 / p.r1;
        } else {
            feedback = addNode(p.c1, 1, 1.0);
            b_[feedback] = 1.0 / p.r1;
        }
        const int y = addNode(p.c2, 1, 1.0);
        connect(feedback, y, 1.0 / p.r2);
        output_ = feedback;
        // The current the inverting input draws comes out of the feedback network.
        leak_[feedback] = -leakage[1];
        if (section3) { // driven by the op-amp's output, which it does not load
            output_ = addNode(p.c3, 2, 1.0);
            g_(output_, output_) = 1.0 / p.r3;
            g_(output_, feedback) = -1.0 / p.r3;
            leak_[output_] = -leakage[0]; // without R3 the op-amp's output supplies it all
        }
    }
    g_.n = c_.n = b_.n = rest_.n = leak_.n = nodes_;
}

int Network::addNode(double capacitance, int block, double rest) {
    c_[nodes_] = capacitance;
    block_[static_cast<std::size_t>(nodes_)] = block;
    rest_[nodes_] = rest;
    return nodes_++;
}

void Network::connect(int from, int to, double conductance) {
    g_(from, from) += conductance;
    g_(to, to) += conductance;
    g_(from, to) -= conductance;
    g_(to, from) -= conductance;
}

std::complex<double> Network::transfer(double omega) const {
    ComplexMatrix m(nodes_);
    ComplexVector v(nodes_);
    for (int i = 0; i < nodes_; ++i) {
        for (int j = 0; j < nodes_; ++j)
            m(i, j) = g_(i, j);
        m(i, i) += std::complex<double>(0.0, omega * c_[i]);
        v[i] = b_[i];
    }
    if (!Solve(m, v))
        return 0.0;
    return v[output_];
}

Network::StateSpace Network::reduce() const {
    int dyn[MaxOrder], alg[MaxOrder];
    int nd = 0, na = 0;
    for (int i = 0; i < nodes_; ++i)
        (c_[i] > 0.0 ? dyn[nd++] : alg[na++]) = i;
    // The algebraic nodes: v_a = Gaa^-1 (b_a u - Gad v_d), one column of Gaa^-1 at a time.
    Matrix gaa(na), gaaInverse(na);
    for (int i = 0; i < na; ++i)
        for (int j = 0; j < na; ++j)
            gaa(i, j) = g_(alg[i], alg[j]);
    Invert(gaa, gaaInverse);
    // Each algebraic node as a row over [v_d..., u], and its part from the leakage.
    Matrix algebraic(MaxOrder);
    Vector leaked(MaxOrder);
    for (int i = 0; i < na; ++i) {
        for (int k = 0; k < na; ++k) {
            for (int j = 0; j < nd; ++j)
                algebraic(i, j) -= gaaInverse(i, k) * g_(alg[k], dyn[j]);
            algebraic(i, nd) += gaaInverse(i, k) * b_[alg[k]];
            leaked[i] += gaaInverse(i, k) * leak_[alg[k]];
        }
    }
    StateSpace s;
    s.n = nd;
    s.a = s.g = Matrix(nd);
    s.b = s.c = s.capacitance = s.rest = s.leak = Vector(nd);
    for (int i = 0; i < nd; ++i) {
        const int node = dyn[i];
        s.capacitance[i] = c_[node];
        s.rest[i] = rest_[node];
        s.block[static_cast<std::size_t>(i)] = block_[static_cast<std::size_t>(node)];
        double bi = b_[node], li = leak_[node];
        for (int j = 0; j < nd; ++j)
            s.g(i, j) = g_(node, dyn[j]);
        for (int k = 0; k < na; ++k) {
            const double gik = g_(node, alg[k]);
            for (int j = 0; j < nd; ++j)
                s.g(i, j) += gik * algebraic(k, j);
            bi -= gik * algebraic(k, nd);
            li -= gik * leaked[k];
        }
        for (int j = 0; j < nd; ++j)
            s.a(i, j) = -s.g(i, j) / c_[node];
        s.b[i] = bi / c_[node];
        s.leak[i] = li / c_[node];
    }
    for (int i = 0; i < nd; ++i)
        if (dyn[i] == output_)
            s.c[i] = 1.0;
    for (int k = 0; k < na; ++k)
        if (alg[k] == output_) {
            for (int j = 0; j < nd; ++j)
                s.c[j] = algebraic(k, j);
            s.d = algebraic(k, nd);
            s.dLeak = leaked[k];
        }
    return s;
}

} // namespace owlet::loop
