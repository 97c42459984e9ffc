#pragma once

#include "loop/input/LoopFields.h"
#include "loop/numerics/Design.h"
#include "loop/numerics/FilterParts.h"

#include <array>
#include <string>

namespace owlet::loop {

// Every input of the loop designer, as typed. The plan's fields are the panel's own (Fref
// in MHz, Fcomp in kHz, Fout in MHz); an empty optional part, VDD, tuning voltage, start
// or tolerance takes its default.
struct LoopRequest {
    std::array<std::string, LoopFieldCount> texts{};
    Detector detector = Detector::PhiRPhiV;
    bool invertPd = false;
    // R1 and R2 as typed, or designed from the natural frequency and damping, or from the
    // crossover and phase margin.
    enum class Design { Typed, NaturalFrequency, Crossover };
    Design design = Design::Typed;
    ESeries series = ESeries::E24;

    std::string& operator[](LoopField f) { return texts[static_cast<std::size_t>(f)]; }
    const std::string& operator[](LoopField f) const { return texts[static_cast<std::size_t>(f)]; }
};

struct InputProblem {
    LoopField field;
    std::string need; // what the field needs, as a sentence without the field's name
};

} // namespace owlet::loop
