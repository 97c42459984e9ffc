#pragma once

namespace owlet::loop {

// The chip's two phase-detector outputs, chosen by the C register's PDA/B bit.
enum class Detector {
    PdOut,   // single-ended three-state PDout: Kphi = VDD / 4 pi
    PhiRPhiV // double-ended phiR/phiV through an op-amp: Kphi = VDD / 2 pi
};

// The loop filter's parts in ohms and farads; an optional part at 0 is not fitted.
// PDout form: R1 from PDout to node X, R2 + C2 from X to ground, C1 from X to ground, R3
// from X to the VCO's input with C3 from there to ground. phiR/phiV form: R1 into each
// op-amp input (split in halves around Cc to ground when Cc is fitted), R2 + C2 from the
// output to the inverting input and from the other input to ground, each with C1 across
// it, then R3 and C3 after the output.
struct FilterParts {
    double r1 = 0.0, r2 = 0.0, c2 = 0.0;
    double c1 = 0.0, cc = 0.0, r3 = 0.0, c3 = 0.0;

    bool hasOptionalParts() const { return c1 > 0.0 || cc > 0.0 || r3 > 0.0 || c3 > 0.0; }
    FilterParts core() const { return {r1, r2, c2, 0.0, 0.0, 0.0, 0.0}; }
};

} // namespace owlet::loop
