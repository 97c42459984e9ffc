#include "loop/LoopDesigner.h"

#include "loop/input/PartValue.h"
#include "loop/report/PlotDrawing.h"
#include "loop/report/Schematic.h"
#include "loop/report/UnitText.h"

#include <algorithm>
#include <cmath>

namespace owlet::loop {
namespace {

std::size_t slot(LoopField field) {
    return static_cast<std::size_t>(field);
}

// A resistor as a builder writes it: "1.8k", "470", "2.2M".
std::string partText(double ohms) {
    std::string text = EngineeringText(ohms, "", 3);
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

} // namespace

std::vector<LoopField> LoopDesigner::Inputs() {
    std::vector<LoopField> inputs;
    for (const LoopFieldRow& row : LoopFields())
        if (!row.group.empty())
            inputs.push_back(row.field);
    return inputs;
}

LoopDesigner::LoopDesigner() {
    for (const LoopFieldRow& row : LoopFields())
        texts_[slot(row.field)] = row.initial;
    recompute();
}

void LoopDesigner::keep(LoopField field, std::string text) {
    if (RowOf(field).profile)
        profiles_[slot(field)] = SplitProfile(text);
    texts_[slot(field)] = std::move(text);
}

bool LoopDesigner::followPanel(const PanelSetting& setting) {
    if (setting == panel_)
        return false;
    panel_ = setting;
    texts_[slot(LoopField::Fref)] = setting.fref;
    texts_[slot(LoopField::Fcomp)] = setting.fcomp;
    texts_[slot(LoopField::Fout)] = setting.fout;
    recompute();
    return true;
}

void LoopDesigner::setText(LoopField field, std::string text) {
    keep(field, std::move(text));
    designProblems_.clear();
    recompute();
}

void LoopDesigner::setTexts(const std::vector<std::pair<LoopField, std::string>>& texts) {
    for (const auto& [field, text] : texts)
        keep(field, text);
    recompute();
}

const std::string& LoopDesigner::text(LoopField field) const {
    return texts_[slot(field)];
}

bool LoopDesigner::applies(LoopField field) const {
    return !(panel_.pdOut && RowOf(field).opampOnly);
}

const std::vector<ProfileRow>& LoopDesigner::profileRows(LoopField field) const {
    return profiles_[slot(field)];
}

bool LoopDesigner::setProfileRows(LoopField field, std::vector<ProfileRow> rows) {
    std::vector<ProfileRow> expanded = ExpandProfileRows(rows);
    const bool reshaped = expanded != rows;
    texts_[slot(field)] = JoinProfile(expanded);
    profiles_[slot(field)] = std::move(expanded);
    designProblems_.clear();
    recompute();
    return reshaped;
}

std::vector<std::string> LoopDesigner::profileRowProblems(LoopField field) const {
    return ProfileRowProblems(profiles_[slot(field)]);
}

void LoopDesigner::setSeries(std::string_view name) {
    series_ = name == Words.seriesChoices[1] ? ESeries::E12 : ESeries::E24;
}

std::string_view LoopDesigner::series() const {
    return Words.seriesChoices[series_ == ESeries::E12 ? 1 : 0];
}

void LoopDesigner::setDesignBy(std::string_view name) {
    designBy_ = name == Words.designChoices[1] ? LoopRequest::Design::Crossover
                                               : LoopRequest::Design::NaturalFrequency;
}

std::string_view LoopDesigner::designBy() const {
    return Words.designChoices[designBy_ == LoopRequest::Design::Crossover ? 1 : 0];
}

LoopRequest LoopDesigner::request(bool design) const {
    LoopRequest q;
    q.texts = texts_;
    for (const LoopField f : Inputs())
        if (!applies(f))
            q.texts[slot(f)].clear();
    q.detector = panel_.pdOut ? Detector::PdOut : Detector::PhiRPhiV;
    q.invertPd = panel_.invertPd;
    q.design = design ? designBy_ : LoopRequest::Design::Typed;
    q.series = series_;
    return q;
}

std::vector<LoopField> LoopDesigner::design() {
    return takeDesign(AnalyseLinear(request(true)), {});
}

std::vector<LoopField> LoopDesigner::lowestNoise() {
    LoopRequest q = request(true);
    q.design = LoopRequest::Design::NaturalFrequency;
    q[LoopField::NaturalFrequency] = "lowest-noise";
    const LoopAnalysis designed = AnalyseLinear(q);
    if (!designed.lowestNoise)
        return takeDesign(designed, {});
    // Three significant digits, as the field takes no prefixes: "1234", "312", "47.5".
    const double hz = designed.lowestNoise->naturalFrequencyHz;
    const int decimals = std::clamp(2 - static_cast<int>(std::floor(std::log10(hz))), 0, 6);
    return takeDesign(designed, {{LoopField::NaturalFrequency, FixedText(hz, decimals)}});
}

// R1 and R2 of a design, and the other texts it gives, into the fields.
std::vector<LoopField>
LoopDesigner::takeDesign(const LoopAnalysis& designed,
                         std::vector<std::pair<LoopField, std::string>> texts) {
    if (!designed.ok() || !designed.design) {
        designProblems_ = designed.problems;
        return {};
    }
    texts.emplace_back(LoopField::R1, partText(designed.design->r1));
    texts.emplace_back(LoopField::R2, partText(designed.design->r2));
    std::vector<LoopField> changed;
    for (auto& [field, text] : texts)
        if (text != texts_[slot(field)]) {
            texts_[slot(field)] = std::move(text);
            changed.push_back(field);
        }
    designProblems_.clear();
    recompute();
    return changed;
}

void LoopDesigner::recompute() {
    analysis_ = AnalyseLinear(request(false));
    const bool planUnread =
        std::any_of(analysis_.problems.begin(), analysis_.problems.end(),
                    [](const InputProblem& p) { return IsPanelField(p.field); });
    if (analysis_.ok()) {
        shown_ = analysis_;
        simulation_ = SimulationFor(*shown_);
        leakage_ = LeakageFor(*shown_);
        if (!simulation_) // skipped: the verdict at once
            Conclude(*shown_, std::nullopt);
    } else if (planUnread) {
        shown_.reset();
        simulation_.reset();
        leakage_.reset();
    } // else the last good answer stays, its simulations going on
    showAnswer();
}

bool LoopDesigner::simulate(std::chrono::microseconds budget) {
    // The step first, then the leaking loop, in pieces small enough that the clock is read
    // often, even where a stretch is slow. Each, once done, is taken into the answer.
    const auto until = std::chrono::steady_clock::now() + budget;
    const auto runOut = [&](auto& run) {
        bool done = false;
        while (!(done = run->run(64)) && std::chrono::steady_clock::now() < until) {
        }
        return done;
    };
    if (simulation_) {
        if (!runOut(simulation_))
            return false;
        Conclude(*shown_, simulation_->result());
        simulation_.reset();
        showAnswer();
    }
    if (leakage_) {
        if (!runOut(leakage_))
            return false;
        ConcludeSpurs(*shown_, leakage_->result());
        leakage_.reset();
        showAnswer();
    }
    return true;
}

void LoopDesigner::finishSimulation() {
    while (!simulate(std::chrono::seconds(1))) {
    }
}

void LoopDesigner::showAnswer() {
    rows_.clear();
    warnings_.clear();
    plots_.clear();
    if (!shown_)
        return;
    rows_ = FigureRows(*shown_);
    warnings_ = shown_->warnings;
    for (const Plot& plot : LoopPlots(*shown_))
        plots_.push_back(DrawPlots({plot}));
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

Drawing LoopDesigner::drawingAt(std::size_t which) const {
    if (which > 0)
        return which - 1 < plots_.size() ? plots_[which - 1] : Drawing{};
    const bool pd = panel_.pdOut;
    const auto value = [&](LoopField f) {
        return ReadPartValue(texts_[slot(f)]).value_or(0.0);
    };
    const FilterParts shown{value(LoopField::R1),
                            value(LoopField::R2),
                            value(LoopField::C2),
                            value(LoopField::C1),
                            pd ? 0.0 : value(LoopField::Cc),
                            value(LoopField::R3),
                            value(LoopField::C3)};
    return DrawSchematic(pd ? Detector::PdOut : Detector::PhiRPhiV, shown);
}

std::string LoopDesigner::Description(const Drawing& drawing) {
    std::string description;
    for (const DrawingGroup& group : drawing.groups)
        description += (description.empty() ? "" : " ") + group.summary;
    return description;
}

} // namespace owlet::loop
