#pragma once

#include "loop/LoopAnalysis.h"
#include "loop/PanelSetting.h"
#include "loop/input/LoopFields.h"
#include "loop/input/ProfileRows.h"
#include "loop/report/Drawing.h"
#include "loop/report/LoopReport.h"

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace owlet::loop {

// The words both views place around the designer's inputs and answers.
struct LoopWords {
    std::string_view title = "Loop filter";
    std::string_view series = "Series";
    std::array<std::string_view, 2> seriesChoices{"E24", "E12"};
    std::string_view designGroup = DesignGroup; // where the three below stand
    std::string_view designBy = "Design for";
    std::array<std::string_view, 2> designChoices{"natural frequency and damping",
                                                  "crossover and phase margin"};
    std::string_view design = "Design";
    std::string_view designDescription =
        "Fills R1 and R2 for the natural frequency and damping, or for the crossover and phase "
        "margin of the loop with every part fitted, as Design for says";
    std::string_view lowestNoise = "Lowest noise";
    std::string_view lowestNoiseDescription =
        "Fills the natural frequency, R1 and R2 for the least integrated phase noise over the "
        "band at this damping, among the loops with no warning";
    // A profile's table: its columns and the buttons below it.
    std::string_view offsetColumn = "Offset (Hz)";
    std::string_view levelColumn = "Level (dBc/Hz)";
    std::string_view addRow = "Add row";
    std::string_view removeRow = "Remove row";
    std::string_view problem = "Problem";
    std::string_view figures = "Figures";
    std::string_view warnings = "Warnings";
    // The schematic, then the plots, as DrawingAt numbers them.
    std::array<std::string_view, 5> drawings{"Schematic", "Open-loop gain plot",
                                             "Open-loop phase plot", "Step response plot",
                                             "Phase-noise plot"};
};

// The loop designer as both views show it: the user's own inputs, the panel's setting it
// follows, and what it answers. A view places the inputs of the table that belong to a
// group, feeds it text and the panel's changes, and shows the problem line, each field's
// problem, the figures, the warnings and the drawings; it stores the inputs by their keys
// so they come back at the next start.
class LoopDesigner {
public:
    static constexpr LoopWords Words{};
    // The inputs a view places, in order: every row of the table with a group.
    static std::vector<LoopField> Inputs();

    LoopDesigner();

    // The panel's setting, as its boxes hold it; false, and nothing recomputed, when it is
    // unchanged.
    bool followPanel(const PanelSetting& setting);
    void setText(LoopField field, std::string text);
    // Several at once, as a view restores what it stored.
    void setTexts(const std::vector<std::pair<LoopField, std::string>>& texts);
    const std::string& text(LoopField field) const;
    // "E24" or "E12", as Words.seriesChoices names them.
    void setSeries(std::string_view name);
    std::string_view series() const;
    // One of Words.designChoices.
    void setDesignBy(std::string_view name);
    std::string_view designBy() const;
    // "Design": R1 and R2 as Design for says, as standard values. The fields whose texts it
    // changed, for the view to show and store; none (and the problem shown) when the inputs
    // do not allow it.
    std::vector<LoopField> design();
    // "Lowest noise": the natural frequency of least integrated noise at this damping, and
    // R1 and R2 for it; the fields changed, as for design().
    std::vector<LoopField> lowestNoise();
    // Whether the field has a use with the panel's detector: the op-amp's own do not with
    // PDout, and a view hides them then (what they hold is kept, and left out).
    bool applies(LoopField field) const;

    // A profile's rows as its table shows them, blank ones too.
    const std::vector<ProfileRow>& profileRows(LoopField field) const;
    // The table edited: the field's text follows. True when a line typed or pasted into a
    // cell became rows of its own, and the view must show profileRows() anew.
    bool setProfileRows(LoopField field, std::vector<ProfileRow> rows);
    // What each row needs, empty where it is good.
    std::vector<std::string> profileRowProblems(LoopField field) const;

    // After every change the linear answer stands at once and the simulations wait (the
    // step's, then the leaking loop's for the spurs): a view runs them in pieces between
    // events, and shows the answer again once each is done. A change abandons the runs.
    bool simulating() const { return simulation_.has_value() || leakage_.has_value(); }
    // Runs the waiting simulation for about `budget`; true once it is done and the answer
    // holds it.
    bool simulate(std::chrono::microseconds budget);
    void finishSimulation();

    // The analysis of the inputs as they stand, problems and all.
    const LoopAnalysis& analysis() const { return analysis_; }
    // One line: the first problem ("R1: needs ..."), or empty.
    std::string problemLine() const;
    // Whether a field holds a problem, and which.
    std::string problemOf(LoopField field) const;
    // The figures: of the inputs as they stand, or the last good ones while a field of
    // the designer's own is wrong; none while the panel's setting cannot be read.
    const std::vector<FigureRow>& rows() const { return rows_; }
    // The figures as one text, a row a line, values aligned: "Phase margin  56.3°".
    std::string figuresText() const { return FigureTable(rows_); }
    const std::vector<std::string>& warnings() const { return warnings_; }
    // 0 the schematic, 1 to 3 the open-loop gain, its phase and the step, 4 the phase noise;
    // an empty drawing while there is none.
    Drawing drawingAt(std::size_t which) const;
    // What a screen reader says of it: every group's summary.
    static std::string Description(const Drawing& drawing);

private:
    LoopRequest request(bool design) const;
    void keep(LoopField field, std::string text);
    std::vector<LoopField> takeDesign(const LoopAnalysis& designed,
                                      std::vector<std::pair<LoopField, std::string>> texts);
    void recompute();
    void showAnswer();

    std::array<std::string, LoopFieldCount> texts_{};
    std::array<std::vector<ProfileRow>, LoopFieldCount> profiles_{}; // the profiles' rows
    PanelSetting panel_;
    ESeries series_ = ESeries::E24;
    LoopRequest::Design designBy_ = LoopRequest::Design::NaturalFrequency;
    LoopAnalysis analysis_;
    std::optional<LoopAnalysis> shown_;        // the last good one, whose figures stand
    std::optional<StepSimulation> simulation_; // shown_'s, while it runs
    std::optional<LeakageSimulation> leakage_; // then its leaking loop's, for the spurs
    std::vector<InputProblem> designProblems_;
    std::vector<FigureRow> rows_;
    std::vector<std::string> warnings_;
    std::vector<Drawing> plots_;
};

} // namespace owlet::loop
