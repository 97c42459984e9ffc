#pragma once

#include "loop/numerics/Network.h"

namespace owlet::loop {

// One stretch of constant drive solved exactly: x' = A x + B u. Where the sections' time
// constants stand apart, in A's eigenbasis, where every coordinate moves on its own:
// y(t) = y0 + (lambda y0 + beta) t Phi1(lambda t). The filter's sections are RC networks fed
// one way, so every eigenvalue is real; but where a later section's time constant meets an
// earlier one's, the eigenbasis degenerates (a repeated eigenvalue of a coupled pair has
// one eigenvector). There, and wherever the basis cannot be built, the stretch is the exact
// matrix exponential of the system with its input and the voltage's integral appended
// (Van Loan's construction), which holds for every A. Either way `y` is the section's own
// coordinate of the state.
class ModalSection {
public:
    ModalSection(const Network::StateSpace& s, double u);

    Vector toModal(const Vector& x) const { return modal_ ? inverse_ * x : x; }
    Vector toState(const Vector& y) const { return modal_ ? vectors_ * y : y; }

    // The state after t seconds, in the same coordinates.
    Vector advance(const Vector& y, double t) const;
    // The tuning voltage at t, and its integral from 0 to t.
    double voltage(const Vector& y, double t) const;
    double voltageIntegral(const Vector& y, double t) const;
    // Whether the eigenbasis is used (false: the exponential).
    bool modal() const { return modal_; }

private:
    // e^(M t) of the appended system, the last one kept: Newton asks for one t several times.
    const Matrix& exponential(double t) const;

    int n_ = 0;
    bool modal_ = false;
    Vector lambda_, beta_, output_;
    Matrix vectors_, inverse_;
    double offset_ = 0.0;
    Matrix appended_; // (x, 1, integral of Vt)' = appended_ (x, 1, integral)
    mutable double lastT_ = -1.0;
    mutable Matrix lastExponential_;
};

} // namespace owlet::loop
