#pragma once

#include "loop/numerics/Network.h"

namespace owlet::loop {

// One stretch of constant drive solved exactly: x' = A x + B u in A's eigenbasis, where
// every coordinate moves on its own, y(t) = y0 + (lambda y0 + beta) t Phi1(lambda t). The
// filter's sections are RC networks fed one way, so every eigenvalue is real; eigenvalues
// of two sections that coincide are pulled apart by a millionth, far below any part's
// tolerance, so that the eigenbasis stays well-conditioned.
class ModalSection {
public:
    ModalSection(const Network::StateSpace& s, double u);

    Vector toModal(const Vector& x) const { return inverse_ * x; }
    Vector toState(const Vector& y) const { return vectors_ * y; }

    // The modal state after t seconds.
    Vector advance(const Vector& y, double t) const;
    // The tuning voltage at t, and its integral from 0 to t.
    double voltage(const Vector& y, double t) const;
    double voltageIntegral(const Vector& y, double t) const;

private:
    int n_ = 0;
    Vector lambda_, beta_, output_;
    Matrix vectors_, inverse_;
    double offset_ = 0.0;
};

} // namespace owlet::loop
