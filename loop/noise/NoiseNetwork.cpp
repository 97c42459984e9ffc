#include "loop/noise/NoiseNetwork.h"

#include <cmath>

namespace owlet::loop {
namespace {

using cd = std::complex<double>;

// Gaussian elimination with partial pivoting on a small dense system, several right-hand
// sides at once; false where it is singular.
bool solve(std::vector<cd>& m, int n, std::vector<std::vector<cd>>& rhs) {
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::abs(m[r * n + col]) > std::abs(m[pivot * n + col]))
                pivot = r;
        if (std::abs(m[pivot * n + col]) == 0.0)
            return false;
        if (pivot != col) {
            for (int c = 0; c < n; ++c)
                std::swap(m[col * n + c], m[pivot * n + c]);
            for (auto& b : rhs)
                std::swap(b[col], b[pivot]);
        }
        for (int r = col + 1; r < n; ++r) {
            const cd f = m[r * n + col] / m[col * n + col];
            if (f == 0.0)
                continue;
            for (int c = col; c < n; ++c)
                m[r * n + c] -= f * m[col * n + c];
            for (auto& b : rhs)
                b[r] -= f * b[col];
        }
    }
    for (auto& b : rhs)
        for (int r = n - 1; r >= 0; --r) {
            cd sum = b[r];
            for (int c = r + 1; c < n; ++c)
                sum -= m[r * n + c] * b[c];
            b[r] = sum / m[r * n + r];
        }
    return true;
}

} // namespace

NoiseNetwork::NoiseNetwork(Detector detector, const FilterParts& p) {
    const bool section3 = p.r3 > 0.0 && p.c3 > 0.0;
    if (detector == Detector::PdOut) {
        const int x = node(), y = node();
        resistor(x, y, p.r2, "R2");
        capacitor(y, -1, p.c2);
        if (p.c1 > 0.0)
            capacitor(x, -1, p.c1);
        tuning_ = x;
        if (section3) {
            tuning_ = node();
            resistor(x, tuning_, p.r3, "R3");
            capacitor(tuning_, -1, p.c3);
        } else if (p.c3 > 0.0) {
            capacitor(x, -1, p.c3);
        }
        return;
    }
    opamp_ = true;
    inverting_ = node();
    noninverting_ = node();
    output_ = node();
    // R1 from each detector output (driven: ground for noise), in halves around Cc.
    for (const auto& [input, name] :
         {std::pair{inverting_, "R1 (\xCF\x86R)"}, {noninverting_, "R1 (\xCF\x86V)"}}) {
        if (p.cc > 0.0) {
            const int middle = node();
            resistor(-1, middle, p.r1 / 2.0, name);
            resistor(middle, input, p.r1 / 2.0, name);
            capacitor(middle, -1, p.cc);
        } else {
            resistor(-1, input, p.r1, name);
        }
    }
    // R2 + C2, with C1 across them: in the feedback, and from the other input to ground.
    const int feedback = node(), ground = node();
    resistor(inverting_, feedback, p.r2, "R2 (feedback)");
    capacitor(feedback, output_, p.c2);
    resistor(noninverting_, ground, p.r2, "R2 (ground)");
    capacitor(ground, -1, p.c2);
    if (p.c1 > 0.0) {
        capacitor(inverting_, output_, p.c1);
        capacitor(noninverting_, -1, p.c1);
    }
    tuning_ = output_;
    if (section3) {
        tuning_ = node();
        resistor(output_, tuning_, p.r3, "R3");
        capacitor(tuning_, -1, p.c3);
    }
    sources_.push_back({"op-amp voltage", 0.0});
    sources_.push_back({"op-amp current (\xE2\x88\x92)", 0.0});
    sources_.push_back({"op-amp current (+)", 0.0});
}

int NoiseNetwork::node() {
    return nodes_++;
}

void NoiseNetwork::resistor(int a, int b, double ohms, const std::string& name) {
    elements_.push_back({Element::Kind::Resistor, a, b, ohms});
    sources_.push_back({name, ohms});
    resistorNodes_.emplace_back(a, b);
}

void NoiseNetwork::capacitor(int a, int b, double farads) {
    elements_.push_back({Element::Kind::Capacitor, a, b, farads});
}

std::vector<double> NoiseNetwork::powerGains(double omega) const {
    // Unknowns: the node voltages, and with the op-amp its output current. Its output's
    // equation is the inputs held equal (less its voltage noise); its current is free.
    const int n = nodes_ + (opamp_ ? 1 : 0);
    std::vector<cd> m(static_cast<std::size_t>(n * n));
    const auto at = [&](int r, int c) -> cd& {
        return m[static_cast<std::size_t>(r * n + c)];
    };
    for (const Element& e : elements_) {
        const cd y =
            e.kind == Element::Kind::Resistor ? cd(1.0 / e.value) : cd(0.0, omega * e.value);
        if (e.a >= 0)
            at(e.a, e.a) += y;
        if (e.b >= 0)
            at(e.b, e.b) += y;
        if (e.a >= 0 && e.b >= 0) {
            at(e.a, e.b) -= y;
            at(e.b, e.a) -= y;
        }
    }
    if (opamp_) {
        // The output's current is one more unknown, flowing into the output's node; one more
        // equation holds the inputs equal, less the op-amp's voltage noise: v(-) - v(+) = e_n.
        const int current = nodes_;
        at(output_, current) -= 1.0;
        at(current, inverting_) = 1.0;
        at(current, noninverting_) = -1.0;
    }
    std::vector<std::vector<cd>> rhs;
    for (std::size_t s = 0; s < resistorNodes_.size(); ++s) {
        std::vector<cd> b(static_cast<std::size_t>(n));
        const auto [a, z] = resistorNodes_[s];
        if (a >= 0)
            b[static_cast<std::size_t>(a)] -= 1.0; // a unit current from a to z
        if (z >= 0)
            b[static_cast<std::size_t>(z)] += 1.0;
        rhs.push_back(std::move(b));
    }
    if (opamp_) {
        std::vector<cd> voltage(static_cast<std::size_t>(n));
        voltage[static_cast<std::size_t>(nodes_)] = 1.0;
        rhs.push_back(std::move(voltage));
        for (const int input : {inverting_, noninverting_}) {
            std::vector<cd> current(static_cast<std::size_t>(n));
            current[static_cast<std::size_t>(input)] = 1.0;
            rhs.push_back(std::move(current));
        }
    }
    std::vector<double> gains(rhs.size(), 0.0);
    if (!solve(m, n, rhs))
        return gains;
    for (std::size_t s = 0; s < rhs.size(); ++s)
        gains[s] = std::norm(rhs[s][static_cast<std::size_t>(tuning_)]);
    return gains;
}

} // namespace owlet::loop
