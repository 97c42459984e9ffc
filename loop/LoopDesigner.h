#pragma once

#include "loop/Drawing.h"
#include "loop/LoopAnalysis.h"
#include "loop/LoopReport.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace owlet::loop {

// The loop designer as both views show it: the user's own inputs, the panel's setting it
// follows, and what it answers. A view feeds it text and the panel's changes, and shows
// the rows, the problem line, the warnings and the two drawings; it stores the inputs by
// their keys so they come back at the next start.
class LoopDesigner {
public:
    struct Input {
        LoopField field;
        std::string_view key;   // where a view stores it: "kvco", "r1", ...
        std::string_view unit;  // shown beside the label: "MHz/V", "Ω", ...
        std::string_view hint;  // what an empty field means, or an example
        std::string_view group; // "VCO and step", "Filter parts", "Design"
    };
    static const std::array<Input, 14>& inputs();
    static const Input& input(LoopField field);
    // Its name with its unit, as labelled: "Kvco (MHz/V)".
    static std::string label(LoopField field);

    LoopDesigner();

    // The panel's setting, as its boxes hold it.
    void followPanel(std::string fref, std::string fcomp, std::string fout, Detector detector,
                     bool invertPd);
    void setText(LoopField field, std::string text);
    // Several at once, as a view restores what it stored.
    void setTexts(const std::vector<std::pair<LoopField, std::string>>& texts);
    const std::string& text(LoopField field) const;
    void setSeries(ESeries series);
    // "Design": R1 and R2 from the natural frequency and damping, as standard values; false
    // (and the problem shown) when the inputs do not allow it.
    bool design();

    // What the views show, recomputed on every change.
    const LoopAnalysis& analysis() const { return analysis_; }
    // One line: the first problem ("R1: needs ..."), or empty.
    std::string problemLine() const;
    // Whether a field holds a problem, and which.
    std::string problemOf(LoopField field) const;
    // The figures: of the inputs as they stand, or the last good ones while a field of
    // the designer's own is wrong; none while the panel's setting cannot be read.
    const std::vector<FigureRow>& rows() const { return rows_; }
    const std::vector<std::string>& warnings() const { return warnings_; }
    // The open-loop gain, its phase and the step, one drawing each.
    const std::vector<Drawing>& plots() const { return plots_; }
    Drawing schematic() const;

private:
    LoopRequest request(bool design) const;
    void recompute();

    LoopRequest plan_;
    std::array<std::string, 17> texts_{};
    ESeries series_ = ESeries::E24;
    LoopAnalysis analysis_;
    std::vector<InputProblem> designProblems_;
    std::vector<FigureRow> rows_;
    std::vector<std::string> warnings_;
    std::vector<Drawing> plots_;
};

} // namespace owlet::loop
