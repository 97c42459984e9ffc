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
constexpr std::string_view OptionalCapacitorNeed =
    "needs to be empty or 0 (not fitted), or 1 fF to 1 F (100p, 4n7, 1u)";

constexpr std::array<LoopFieldRow, LoopFieldCount> Rows{{
    {F::Fref,
     "Fref",
     "MHz",
     "",
     "",
     "",
     {},
     "needs the reference frequency in MHz on the panel, above 0",
     "--fref",
     "MHZ",
     "",
     "",
     nullptr,
     ""},
    {F::Fcomp,
     "Fcomp",
     "kHz",
     "",
     "",
     "",
     {},
     "needs the comparison frequency in kHz on the panel, above 0",
     "--fcomp",
     "KHZ",
     "",
     "",
     nullptr,
     ""},
    {F::Fout,
     "Fout",
     "MHz",
     "",
     "",
     "",
     {},
     "needs the output frequency in MHz on the panel, above 0",
     "--fout",
     "MHZ",
     "",
     "",
     nullptr,
     ""},
    {F::Kvco,
     "Kvco",
     "MHz/V",
     Vco,
     "8, or -8 when falling",
     "",
     {-1e4, 1e4, false, false, false},
     "needs the VCO's gain in MHz/V, not 0 (negative when the frequency falls as the tuning "
     "voltage rises)",
     "--kvco",
     "MHZ_PER_V",
     "the VCO's gain, negative when its frequency falls as the tuning voltage rises (then "
     "--invert-pd is needed)",
     "kvco_hz_per_v",
     [](const LoopSetting& s) { return s.kvcoHzPerV; },
     "kvco"},
    {F::Vdd,
     "VDD",
     "V",
     Vco,
     "5",
     "",
     {2.5, 5.5, true, false, false},
     "needs the chip's supply, 2.5 to 5.5 V",
     "--vdd",
     "VOLTS",
     "the chip's supply, 2.5 to 5.5 (default 5)",
     "",
     nullptr,
     "vdd"},
    {F::TuningVoltage,
     "Tuning voltage",
     "V",
     Vco,
     "VDD/2",
     "",
     {-1e3, 1e3, false, false, false},
     "needs the op-amp's output voltage at the new channel",
     "--tuning-voltage",
     "V",
     "at the new channel (default VDD/2)",
     "",
     nullptr,
     "tuning-voltage"},
    {F::StepFrom,
     "Step from",
     "MHz",
     Vco,
     "one channel below",
     "",
     {0.0, 1e6, false, false, false},
     "needs a frequency above 0 MHz",
     "--step-from",
     "MHZ",
     "the channel the loop comes from (default Fout - Fcomp)",
     "",
     nullptr,
     "step-from"},
    {F::Tolerance,
     "Tolerance",
     "Hz",
     Vco,
     "1 % of the step",
     "",
     {0.0, 1e9, false, false, false},
     "needs a frequency above 0 Hz",
     "--tolerance",
     "HZ",
     "locked within this of the new channel (default 1 % of the step)",
     "tolerance_hz",
     [](const LoopSetting& s) { return s.toleranceHz; },
     "tolerance"},
    {F::R1, "R1", Ohm, Parts, "18k", "", Resistor, ResistorNeed, "--r1", "OHMS",
     "R1, or --natural-frequency and --damping to design it", "r1_ohm",
     [](const LoopSetting& s) { return s.parts.r1; }, "r1"},
    {F::R2, "R2", Ohm, Parts, "3k3", "", Resistor, ResistorNeed, "--r2", "OHMS",
     "R2, or --natural-frequency and --damping to design it", "r2_ohm",
     [](const LoopSetting& s) { return s.parts.r2; }, "r2"},
    {F::C2, "C2", "F", Parts, "1u", "", Capacitor, CapacitorNeed, "--c2", "F",
     "C2, the filter's main capacitor", "c2_f", [](const LoopSetting& s) { return s.parts.c2; },
     "c2"},
    {F::C1, "C1", "F", Parts, "not fitted", "", OptionalCapacitor, OptionalCapacitorNeed, "--c1",
     "F", "C1 (optional)", "c1_f", [](const LoopSetting& s) { return s.parts.c1; }, "c1"},
    {F::Cc, "Cc", "F", Parts, "not fitted", "", OptionalCapacitor, OptionalCapacitorNeed, "--cc",
     "F", "Cc (optional, \xCF\x86R/\xCF\x86V only)", "cc_f",
     [](const LoopSetting& s) { return s.parts.cc; }, "cc"},
    {F::R3, "R3", Ohm, Parts, "not fitted", "", OptionalResistor, OptionalResistorNeed, "--r3",
     "OHMS", "R3 (optional, with --c3)", "r3_ohm", [](const LoopSetting& s) { return s.parts.r3; },
     "r3"},
    {F::C3, "C3", "F", Parts, "not fitted", "", OptionalCapacitor, OptionalCapacitorNeed, "--c3",
     "F", "C3 (optional, with --r3)", "c3_f", [](const LoopSetting& s) { return s.parts.c3; },
     "c3"},
    {F::NaturalFrequency,
     "Natural frequency",
     "Hz",
     Design,
     "100",
     "100",
     {0.0, 1e8, false, false, false},
     "needs a frequency above 0 Hz",
     "--natural-frequency",
     "HZ",
     "with --damping: R1 and R2 designed and taken to the nearest standard value",
     "",
     nullptr,
     "natural-frequency"},
    {F::Damping,
     "Damping",
     "",
     Design,
     "0.7",
     "0.7",
     {0.0, 100.0, false, false, false},
     "needs a damping above 0 (0.7 is usual)",
     "--damping",
     "ZETA",
     "the damping to design for (0.7 is usual)",
     "",
     nullptr,
     "damping"},
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
