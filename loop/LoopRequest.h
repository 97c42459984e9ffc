#pragma once

#include "loop/Design.h"
#include "loop/FilterParts.h"

#include <string>

namespace owlet::loop {

// Every input of the loop designer, as typed. The plan's fields are the panel's own (Fref
// in MHz, Fcomp in kHz, Fout in MHz); an empty optional part, VDD, tuning voltage, start
// or tolerance takes its default.
struct LoopRequest {
    std::string fref, fcomp, fout;
    Detector detector = Detector::PhiRPhiV;
    bool invertPd = false;
    std::string vdd;           // V, default 5
    std::string kvco;          // MHz/V, signed
    std::string tuningVoltage; // V, default VDD / 2
    std::string r1, r2, c2, c1, cc, r3, c3;
    std::string stepFrom;         // MHz, default Fout - Fcomp
    std::string tolerance;        // Hz, default 1 % of the step
    bool design = false;          // R1 and R2 from the two below instead of typed
    std::string naturalFrequency; // Hz
    std::string damping;
    ESeries series = ESeries::E24;
};

// The inputs a message can name, in the order the designer shows them.
enum class LoopField {
    Fref,
    Fcomp,
    Fout,
    Vdd,
    Kvco,
    TuningVoltage,
    R1,
    R2,
    C2,
    C1,
    Cc,
    R3,
    C3,
    StepFrom,
    Tolerance,
    NaturalFrequency,
    Damping
};

// The field's short name as the designer labels it ("R1", "Kvco", "VDD").
const char* LoopFieldName(LoopField field);

struct InputProblem {
    LoopField field;
    std::string need; // what the field needs, as a sentence without the field's name
};

} // namespace owlet::loop
