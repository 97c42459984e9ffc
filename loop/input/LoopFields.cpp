#include "loop/input/LoopFields.h"

#include "loop/numerics/LoopSetting.h"

namespace owlet::loop {
namespace {

using F = LoopField;

constexpr std::string_view Vco = "VCO and step", Parts = "Filter parts", Design = "Design";
constexpr std::string_view Ohm = "\xCE\xA9";
constexpr Bounds Resistor{1e-3, 1e12, true, true, false};
constexpr Bounds Capacitor{1e-15, 1.0, true, true, false};
constexpr Bounds OptionalResistor{1e-3, 1e12, true, true, true};
constexpr Bounds OptionalCapacitor{1e-15, 1.0, true, true, true};
constexpr std::string_view ResistorNeed = "needs 1 m\xCE\xA9 to 1 T\xCE\xA9 (4k7, 2.2k, 1M)";
constexpr std::string_view CapacitorNeed = "needs 1 fF to 1 F (100p, 4n7, 1u)";
constexpr std::string_view OptionalResistorNeed =
    "needs to be empty or 0 (not fitted), or 1 m\xCE\xA9 to 1 T\xCE\xA9 (4k7, 2.2k, 1M)";
constexpr std::string_view VcoPointNeed =
    "needs a frequency in MHz and the tuning voltage that gives it, as MHZ@V (141@2); both "
    "points or neither";
constexpr std::string_view OptionalCapacitorNeed =
    "needs to be empty or 0 (not fitted), or 1 fF to 1 F (100p, 4n7, 1u)";

constexpr std::array<LoopFieldRow, LoopFieldCount> Rows{{
    {.field = F::Fref,
     .name = "Fref",
     .unit = "MHz",
     .need = "needs the reference frequency in MHz on the panel, above 0",
     .option = "--fref"},
    {.field = F::Fcomp,
     .name = "Fcomp",
     .unit = "kHz",
     .need = "needs the comparison frequency in kHz on the panel, above 0",
     .option = "--fcomp"},
    {.field = F::Fout,
     .name = "Fout",
     .unit = "MHz",
     .need = "needs the output frequency in MHz on the panel, above 0",
     .option = "--fout"},
    {.field = F::Kvco,
     .name = "Kvco",
     .unit = "MHz/V",
     .group = Vco,
     .hint = "8, or -8 when falling",
     .bounds = {-1e4, 1e4, true},
     .need = "needs the VCO's gain in MHz/V, -10000 to 10000 and not 0 (negative when the "
             "frequency falls as the tuning voltage rises)",
     .option = "--kvco",
     .value = "MHZ_PER_V",
     .help = "the VCO's gain, negative when its frequency falls as the tuning voltage rises "
             "(then --invert-pd is needed)",
     .jsonKey = "kvco_hz_per_v",
     .read = [](const LoopSetting& s) { return s.kvcoHzPerV; },
     .key = "kvco"},
    {.field = F::VcoPoint1,
     .name = "VCO point 1",
     .unit = "MHz@V",
     .group = Vco,
     .hint = "141@2",
     .need = VcoPointNeed,
     .option = "--vco",
     .value = "MHZ@V,MHZ@V",
     .help = "the VCO as measured: its frequency at two tuning voltages (141@2,149@3), "
             "instead of --kvco and --tuning-voltage",
     .key = "vco-point-1"},
    {.field = F::VcoPoint2,
     .name = "VCO point 2",
     .unit = "MHz@V",
     .group = Vco,
     .hint = "149@3",
     .need = VcoPointNeed,
     .option = "--vco",
     .key = "vco-point-2"},
    {.field = F::Vdd,
     .name = "VDD",
     .unit = "V",
     .group = Vco,
     .hint = "5",
     .bounds = {2.5, 5.5, true},
     .need = "needs the chip's supply, 2.5 to 5.5 V",
     .option = "--vdd",
     .value = "VOLTS",
     .help = "the chip's supply, 2.5 to 5.5 (default 5)",
     .key = "vdd"},
    {.field = F::TuningVoltage,
     .name = "Tuning voltage",
     .unit = "V",
     .group = Vco,
     .hint = "VDD/2",
     .bounds = {-1e3, 1e3, true},
     .need = "needs the op-amp's output voltage at the new channel, -1000 to 1000 V",
     .option = "--tuning-voltage",
     .value = "V",
     .help = "at the new channel (default VDD/2)",
     .jsonKey = "tuning_voltage_v",
     .read = [](const LoopSetting& s) { return s.tuningVoltage; },
     .key = "tuning-voltage"},
    {.field = F::Rails,
     .name = "Op-amp output",
     .unit = "V",
     .group = Vco,
     .hint = "0:VDD",
     .bounds = {-1e3, 1e3, true},
     .need = "needs the op-amp's output range as LOW:HIGH volts, -1000 to 1000, the low below "
             "the high (0:5, -12:12)",
     .option = "--rails",
     .value = "LOW:HIGH",
     .help = "the range the op-amp's output, the tuning voltage, can reach (\xCF\x86R/\xCF\x86V; "
             "default 0:VDD)",
     .key = "rails"},
    {.field = F::StepFrom,
     .name = "Step from",
     .unit = "MHz",
     .group = Vco,
     .hint = "one channel below",
     .bounds = {0.0, 1e6},
     .need = "needs a frequency above 0 MHz",
     .option = "--step-from",
     .value = "MHZ",
     .help = "the channel the loop comes from (default one channel below N x Fcomp)",
     .key = "step-from"},
    {.field = F::Tolerance,
     .name = "Tolerance",
     .unit = "Hz",
     .group = Vco,
     .hint = "1 % of the step",
     .bounds = {0.0, 1e9},
     .need = "needs a frequency above 0 Hz",
     .option = "--tolerance",
     .value = "HZ",
     .help = "locked within this of the new channel (default 1 % of the step)",
     .jsonKey = "tolerance_hz",
     .read = [](const LoopSetting& s) { return s.toleranceHz; },
     .key = "tolerance"},
    {.field = F::R1,
     .name = "R1",
     .unit = Ohm,
     .group = Parts,
     .hint = "18k",
     .bounds = Resistor,
     .need = ResistorNeed,
     .option = "--r1",
     .value = "OHMS",
     .help = "R1, or a design below",
     .jsonKey = "r1_ohm",
     .read = [](const LoopSetting& s) { return s.parts.r1; },
     .key = "r1"},
    {.field = F::R2,
     .name = "R2",
     .unit = Ohm,
     .group = Parts,
     .hint = "3k3",
     .bounds = Resistor,
     .need = ResistorNeed,
     .option = "--r2",
     .value = "OHMS",
     .help = "R2, or a design below",
     .jsonKey = "r2_ohm",
     .read = [](const LoopSetting& s) { return s.parts.r2; },
     .key = "r2"},
    {.field = F::C2,
     .name = "C2",
     .unit = "F",
     .group = Parts,
     .hint = "1u",
     .bounds = Capacitor,
     .need = CapacitorNeed,
     .option = "--c2",
     .value = "F",
     .help = "C2, the filter's main capacitor",
     .jsonKey = "c2_f",
     .read = [](const LoopSetting& s) { return s.parts.c2; },
     .key = "c2"},
    {.field = F::C1,
     .name = "C1",
     .unit = "F",
     .group = Parts,
     .hint = "not fitted",
     .bounds = OptionalCapacitor,
     .need = OptionalCapacitorNeed,
     .option = "--c1",
     .value = "F",
     .help = "C1 (optional)",
     .jsonKey = "c1_f",
     .read = [](const LoopSetting& s) { return s.parts.c1; },
     .key = "c1"},
    {.field = F::Cc,
     .name = "Cc",
     .unit = "F",
     .group = Parts,
     .hint = "not fitted",
     .bounds = OptionalCapacitor,
     .need = OptionalCapacitorNeed,
     .option = "--cc",
     .value = "F",
     .help = "Cc (optional, \xCF\x86R/\xCF\x86V only)",
     .jsonKey = "cc_f",
     .read = [](const LoopSetting& s) { return s.parts.cc; },
     .key = "cc"},
    {.field = F::R3,
     .name = "R3",
     .unit = Ohm,
     .group = Parts,
     .hint = "not fitted",
     .bounds = OptionalResistor,
     .need = OptionalResistorNeed,
     .option = "--r3",
     .value = "OHMS",
     .help = "R3 (optional, with --c3)",
     .jsonKey = "r3_ohm",
     .read = [](const LoopSetting& s) { return s.parts.r3; },
     .key = "r3"},
    {.field = F::C3,
     .name = "C3",
     .unit = "F",
     .group = Parts,
     .hint = "not fitted",
     .bounds = OptionalCapacitor,
     .need = OptionalCapacitorNeed,
     .option = "--c3",
     .value = "F",
     .help = "C3 (optional, with --r3)",
     .jsonKey = "c3_f",
     .read = [](const LoopSetting& s) { return s.parts.c3; },
     .key = "c3"},
    {.field = F::NaturalFrequency,
     .name = "Natural frequency",
     .unit = "Hz",
     .group = Design,
     .hint = "100",
     .initial = "100",
     .bounds = {0.0, 1e8},
     .need = "needs a frequency above 0 Hz",
     .option = "--natural-frequency",
     .value = "HZ",
     .help = "with --damping: R1 and R2 from the second-order relations, taken to the "
             "nearest standard value",
     .key = "natural-frequency"},
    {.field = F::Damping,
     .name = "Damping",
     .group = Design,
     .hint = "0.7",
     .initial = "0.7",
     .bounds = {0.0, 100.0},
     .need = "needs a damping above 0 (0.7 is usual)",
     .option = "--damping",
     .value = "ZETA",
     .help = "the damping to design for (0.7 is usual)",
     .key = "damping"},
    {.field = F::Crossover,
     .name = "Crossover",
     .unit = "Hz",
     .group = Design,
     .hint = "100",
     .initial = "100",
     .bounds = {0.0, 1e8},
     .need = "needs a frequency above 0 Hz",
     .option = "--crossover",
     .value = "HZ",
     .help = "with --phase-margin: R1 and R2 for the exact loop, every part fitted, taken to "
             "the nearest standard value",
     .key = "crossover"},
    {.field = F::PhaseMargin,
     .name = "Phase margin",
     .unit = "\xC2\xB0",
     .group = Design,
     .hint = "50",
     .initial = "50",
     .bounds = {0.0, 90.0},
     .need = "needs a phase margin above 0 and up to 90\xC2\xB0 (45 to 60 is usual)",
     .option = "--phase-margin",
     .value = "DEG",
     .help = "the phase margin to design for (45 to 60 is usual)",
     .key = "phase-margin"},
}};

// Each row stands at its field's place, so a field finds its row by number.
constexpr bool inOrder() {
    for (std::size_t i = 0; i < Rows.size(); ++i)
        if (static_cast<std::size_t>(Rows[i].field) != i)
            return false;
    return true;
}
static_assert(inOrder());

} // namespace

const std::array<LoopFieldRow, LoopFieldCount>& LoopFields() {
    return Rows;
}

const LoopFieldRow& RowOf(LoopField field) {
    return Rows[static_cast<std::size_t>(field)];
}

std::string_view LoopFieldName(LoopField field) {
    return RowOf(field).name;
}

std::string LoopFieldLabel(LoopField field) {
    const LoopFieldRow& row = RowOf(field);
    return row.unit.empty() ? std::string(row.name)
                            : std::string(row.name) + " (" + std::string(row.unit) + ")";
}

bool IsPart(LoopField field) {
    return RowOf(field).bounds.prefixes;
}

bool IsPanelField(LoopField field) {
    return RowOf(field).group.empty();
}

} // namespace owlet::loop
