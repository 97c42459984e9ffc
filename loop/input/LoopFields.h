#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace owlet::loop {

struct LoopSetting;

// Every input of the loop designer, in the order the views show them: first the panel's
// three fields, then the designer's own.
enum class LoopField {
    Fref,
    Fcomp,
    Fout,
    Kvco,
    VcoPoint1,
    VcoPoint2,
    Vdd,
    TuningVoltage,
    Rails,
    StepFrom,
    Tolerance,
    R1,
    R2,
    C2,
    C1,
    Cc,
    R3,
    C3,
    NaturalFrequency,
    Damping,
    Crossover,
    PhaseMargin,
    RefNoise,
    VcoNoise,
    Floor,
    Temperature,
    OpampNoise,
    OpampCurrentNoise,
    Leakage,
    OpampLeakage,
    Band,
    FmBand,
};
inline constexpr std::size_t LoopFieldCount = 32;
// The group the design's choice and button close.
inline constexpr std::string_view DesignGroup = "Design";

// What a field's number may be. A part's `low` is the smallest part there is; an optional
// part may also be 0 (or empty), meaning not fitted.
struct Bounds {
    double low = 0.0;
    double high = 0.0;
    bool lowIncluded = false;
    bool prefixes = false; // read with SI prefixes and units ("4k7", "100p")
    bool optional = false; // a part that may be left out
};

// One input, described once for the reader, the designer, owlet-cli and both views.
struct LoopFieldRow {
    LoopField field = LoopField::Fref;
    std::string_view name{};    // labels and messages: "R1", "Step from"
    std::string_view unit{};    // beside the label: "MHz/V"; empty for none
    std::string_view group{};   // the views' group; empty for the panel's own fields
    std::string_view hint{};    // what an empty field means, or an example
    std::string_view initial{}; // what the designer starts with
    Bounds bounds{};            // unused for the panel's fields, which the panel reads
    std::string_view need{};    // what the field needs, as a sentence without its name
    std::string_view option{};  // owlet-cli's option: "--kvco"; rows that share one take its
                                // value's parts, parted by commas, in order
    std::string_view value{};   // its value in owlet-cli's help: "MHZ_PER_V"
    std::string_view help{};    // owlet-cli's help line (the first of rows sharing an option)
    std::string_view jsonKey{}; // in owlet-cli's JSON ("filter" holds the parts); empty: none
    double (*read)(const LoopSetting&) = nullptr; // the value written under jsonKey
    std::string_view key{};                       // where a view stores it: "kvco", "r1"
    bool opampOnly = false; // the op-amp's own, of the φR/φV form: no use with PDout
    bool profile = false;   // points of phase noise, which the views show as a table
};

const std::array<LoopFieldRow, LoopFieldCount>& LoopFields();
const LoopFieldRow& RowOf(LoopField field);
// Its name as messages say it: "Kvco".
std::string_view LoopFieldName(LoopField field);
// Its name with its unit, as labelled: "Kvco (MHz/V)".
std::string LoopFieldLabel(LoopField field);
bool IsPart(LoopField field);
bool IsPanelField(LoopField field);

} // namespace owlet::loop
