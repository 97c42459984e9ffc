#include "loop/LoopDesigner.h"

#include "loop/PartValue.h"

#include <algorithm>

namespace owlet::loop {
namespace {

std::size_t slot(LoopField field) {
    return static_cast<std::size_t>(field);
}

bool isPlanField(LoopField field) {
    return field == LoopField::Fref || field == LoopField::Fcomp || field == LoopField::Fout;
}

// A resistor as a builder writes it: "1.8k", "470", "2.2M".
std::string partText(double ohms) {
    std::string text = EngineeringText(ohms, "", 3);
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

} // namespace

const std::array<LoopDesigner::Input, 14>& LoopDesigner::inputs() {
    constexpr std::string_view Vco = "VCO and step", Parts = "Filter parts", Design = "Design";
    static const std::array<Input, 14> Inputs{{
        {LoopField::Kvco, "kvco", "MHz/V", "8, or -8 when falling", Vco},
        {LoopField::Vdd, "vdd", "V", "5", Vco},
        {LoopField::TuningVoltage, "tuning-voltage", "V", "VDD/2", Vco},
        {LoopField::StepFrom, "step-from", "MHz", "one channel below", Vco},
        {LoopField::Tolerance, "tolerance", "Hz", "1 % of the step", Vco},
        {LoopField::R1, "r1", "\xCE\xA9", "18k", Parts},
        {LoopField::R2, "r2", "\xCE\xA9", "3k3", Parts},
        {LoopField::C2, "c2", "F", "1u", Parts},
        {LoopField::C1, "c1", "F", "not fitted", Parts},
        {LoopField::Cc, "cc", "F", "not fitted", Parts},
        {LoopField::R3, "r3", "\xCE\xA9", "not fitted", Parts},
        {LoopField::C3, "c3", "F", "not fitted", Parts},
        {LoopField::NaturalFrequency, "natural-frequency", "Hz", "100", Design},
        {LoopField::Damping, "damping", "", "0.7", Design},
    }};
    return Inputs;
}

const LoopDesigner::Input& LoopDesigner::input(LoopField field) {
    for (const Input& i : inputs())
        if (i.field == field)
            return i;
    return inputs().front();
}

std::string LoopDesigner::label(LoopField field) {
    const std::string_view unit = input(field).unit;
    const std::string name = LoopFieldName(field);
    return unit.empty() ? name : name + " (" + std::string(unit) + ")";
}

LoopDesigner::LoopDesigner() {
    texts_[slot(LoopField::NaturalFrequency)] = "100";
    texts_[slot(LoopField::Damping)] = "0.7";
    recompute();
}

void LoopDesigner::followPanel(std::string fref, std::string fcomp, std::string fout,
                               Detector detector, bool invertPd) {
    plan_.fref = std::move(fref);
    plan_.fcomp = std::move(fcomp);
    plan_.fout = std::move(fout);
    plan_.detector = detector;
    plan_.invertPd = invertPd;
    recompute();
}

void LoopDesigner::setText(LoopField field, std::string text) {
    texts_[slot(field)] = std::move(text);
    designProblems_.clear();
    recompute();
}

void LoopDesigner::setTexts(const std::vector<std::pair<LoopField, std::string>>& texts) {
    for (const auto& [field, text] : texts)
        texts_[slot(field)] = text;
    recompute();
}

const std::string& LoopDesigner::text(LoopField field) const {
    return texts_[slot(field)];
}

void LoopDesigner::setSeries(ESeries series) {
    series_ = series;
}

LoopRequest LoopDesigner::request(bool design) const {
    LoopRequest q = plan_;
    const auto t = [&](LoopField f) {
        return texts_[slot(f)];
    };
    q.vdd = t(LoopField::Vdd), q.kvco = t(LoopField::Kvco);
    q.tuningVoltage = t(LoopField::TuningVoltage);
    q.r1 = t(LoopField::R1), q.r2 = t(LoopField::R2), q.c2 = t(LoopField::C2);
    q.c1 = t(LoopField::C1), q.cc = t(LoopField::Cc), q.r3 = t(LoopField::R3);
    q.c3 = t(LoopField::C3), q.stepFrom = t(LoopField::StepFrom);
    q.tolerance = t(LoopField::Tolerance);
    q.design = design;
    q.naturalFrequency = t(LoopField::NaturalFrequency), q.damping = t(LoopField::Damping);
    q.series = series_;
    return q;
}

bool LoopDesigner::design() {
    const LoopAnalysis designed = AnalyseLoop(request(true));
    if (!designed.ok() || !designed.design) {
        designProblems_ = designed.problems;
        return false;
    }
    texts_[slot(LoopField::R1)] = partText(designed.design->r1);
    texts_[slot(LoopField::R2)] = partText(designed.design->r2);
    designProblems_.clear();
    recompute();
    return true;
}

void LoopDesigner::recompute() {
    analysis_ = AnalyseLoop(request(false));
    const bool planUnread = std::any_of(analysis_.problems.begin(), analysis_.problems.end(),
                                        [](const InputProblem& p) { return isPlanField(p.field); });
    if (analysis_.ok()) {
        rows_ = FigureRows(analysis_);
        warnings_ = analysis_.warnings;
        plots_.clear();
        for (const Plot& plot : LoopPlots(analysis_))
            plots_.push_back(DrawPlots({plot}));
    } else if (planUnread) {
        rows_.clear();
        warnings_.clear();
        plots_.clear();
    }
}

std::string LoopDesigner::problemLine() const {
    const std::vector<InputProblem>& all =
        designProblems_.empty() ? analysis_.problems : designProblems_;
    if (all.empty())
        return {};
    return std::string(LoopFieldName(all.front().field)) + ": " + all.front().need;
}

std::string LoopDesigner::problemOf(LoopField field) const {
    for (const auto* list : {&designProblems_, &analysis_.problems})
        for (const InputProblem& p : *list)
            if (p.field == field)
                return p.need;
    return {};
}

Drawing LoopDesigner::schematic() const {
    const bool pd = plan_.detector == Detector::PdOut;
    FilterParts shown;
    const auto value = [&](LoopField f) {
        return ReadPartValue(texts_[slot(f)]).value_or(0.0);
    };
    shown = {value(LoopField::R1),
             value(LoopField::R2),
             value(LoopField::C2),
             value(LoopField::C1),
             pd ? 0.0 : value(LoopField::Cc),
             value(LoopField::R3),
             value(LoopField::C3)};
    return DrawSchematic(plan_.detector, shown);
}

} // namespace owlet::loop
