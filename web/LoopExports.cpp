// The loop designer's face to the page's JavaScript: a WebAssembly module of its own, which
// the page loads only when its Loop filter section is first opened, so the panel's start
// carries none of it. The panel's core hands over its setting as one line (PanelSetting).
#include "loop/LoopDesigner.h"
#include "loop/report/Svg.h"
#include "web/HandOut.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

using namespace owlet;
using namespace owlet::web;
using loop::LoopDesigner;
using loop::LoopField;

namespace {

// One designer, with the text last handed out (valid until the next call).
struct LoopCore {
    LoopDesigner designer;
    std::string handedOut;
};

std::optional<LoopField> fieldOf(int number) {
    if (number < 0 || number >= static_cast<int>(loop::LoopFieldCount))
        return std::nullopt;
    return static_cast<LoopField>(number);
}

// Each line of a text the page hands in, parted at its first tab; none after it where the
// line has no tab.
struct TabbedLine {
    std::string_view before;
    std::optional<std::string_view> after;
};
std::vector<TabbedLine> tabbedLines(std::string_view text) {
    std::vector<TabbedLine> lines;
    for (std::string_view rest = text; !rest.empty();) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            lines.push_back({line, std::nullopt});
        else
            lines.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return lines;
}

std::string number(LoopField field) {
    return std::to_string(static_cast<int>(field));
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE LoopCore* owlet_loop_create() {
    return makeForPage<LoopCore>();
}
// 1 when the panel's setting changed, and so the answer.
EMSCRIPTEN_KEEPALIVE int owlet_loop_follow(LoopCore* core, const char* plan) {
    return core->designer.followPanel(loop::PanelSetting::FromLine(plan)) ? 1 : 0;
}
// Texts go out as lines of tab-separated fields: the inputs
// "field\tkey\tlabel\thint\tgroup\tprofile", the last 1 for a table of points.
EMSCRIPTEN_KEEPALIVE const char* owlet_loop_inputs(LoopCore* core) {
    std::string lines;
    for (const LoopField f : LoopDesigner::Inputs()) {
        const loop::LoopFieldRow& row = loop::RowOf(f);
        lines += number(f) + '\t' + std::string(row.key) + '\t' + loop::LoopFieldLabel(f) + '\t' +
                 std::string(row.hint) + '\t' + std::string(row.group) + '\t' +
                 (row.profile ? "1" : "0") + '\n';
    }
    return handOut(core, lines);
}
// The words around them, "name\ttext" lines; a list's entries parted by tabs.
EMSCRIPTEN_KEEPALIVE const char* owlet_loop_words(LoopCore* core) {
    constexpr const loop::LoopWords& w = LoopDesigner::Words;
    std::string lines;
    const auto add = [&](std::string_view name, const auto& texts) {
        lines += std::string(name);
        for (const std::string_view text : texts)
            lines += '\t' + std::string(text);
        lines += '\n';
    };
    add("title", std::array{w.title});
    add("series", std::array{w.series});
    add("seriesChoices", w.seriesChoices);
    add("designGroup", std::array{w.designGroup});
    add("designBy", std::array{w.designBy});
    add("designChoices", w.designChoices);
    add("design", std::array{w.design});
    add("designDescription", std::array{w.designDescription});
    add("lowestNoise", std::array{w.lowestNoise});
    add("lowestNoiseDescription", std::array{w.lowestNoiseDescription});
    add("offsetColumn", std::array{w.offsetColumn});
    add("levelColumn", std::array{w.levelColumn});
    add("addRow", std::array{w.addRow});
    add("removeRow", std::array{w.removeRow});
    add("problem", std::array{w.problem});
    add("figures", std::array{w.figures});
    add("warnings", std::array{w.warnings});
    add("drawings", w.drawings);
    return handOut(core, lines);
}
// `stored`: "field\ttext" lines, as the page kept them.
EMSCRIPTEN_KEEPALIVE void owlet_loop_restore(LoopCore* core, const char* stored) {
    std::vector<std::pair<LoopField, std::string>> texts;
    for (const auto& [before, after] : tabbedLines(stored)) {
        int field = -1;
        if (after)
            std::from_chars(before.data(), before.data() + before.size(), field);
        if (const auto f = fieldOf(field))
            texts.emplace_back(*f, *after);
    }
    core->designer.setTexts(texts);
}
EMSCRIPTEN_KEEPALIVE void owlet_loop_set(LoopCore* core, int field, const char* text) {
    if (const auto f = fieldOf(field))
        core->designer.setText(*f, text);
}
EMSCRIPTEN_KEEPALIVE const char* owlet_loop_text(LoopCore* core, int field) {
    const auto f = fieldOf(field);
    return handOut(core, f ? core->designer.text(*f) : std::string());
}
EMSCRIPTEN_KEEPALIVE void owlet_loop_set_series(LoopCore* core, const char* name) {
    core->designer.setSeries(name);
}
EMSCRIPTEN_KEEPALIVE const char* owlet_loop_series(LoopCore* core) {
    return handOut(core, std::string(core->designer.series()));
}
EMSCRIPTEN_KEEPALIVE void owlet_loop_set_design_by(LoopCore* core, const char* name) {
    core->designer.setDesignBy(name);
}
EMSCRIPTEN_KEEPALIVE const char* owlet_loop_design_by(LoopCore* core) {
    return handOut(core, std::string(core->designer.designBy()));
}
EMSCRIPTEN_KEEPALIVE int owlet_loop_simulating(LoopCore* core) {
    return core->designer.simulating() ? 1 : 0;
}
// The simulation after an edit, `milliseconds` of it at a time: 1 once done, 0 while it runs
// on, -1 when none waits.
EMSCRIPTEN_KEEPALIVE int owlet_loop_simulate(LoopCore* core, int milliseconds) {
    if (!core->designer.simulating())
        return -1;
    return core->designer.simulate(std::chrono::milliseconds(milliseconds)) ? 1 : 0;
}
// "Design", or "Lowest noise" when `lowest`: the fields it changed, by number, a line each.
EMSCRIPTEN_KEEPALIVE const char* owlet_loop_design(LoopCore* core, int lowest) {
    std::string lines;
    for (const LoopField f : lowest ? core->designer.lowestNoise() : core->designer.design())
        lines += number(f) + '\n';
    return handOut(core, lines);
}
// A profile's rows, "offset\tlevel" lines.
EMSCRIPTEN_KEEPALIVE const char* owlet_loop_profile(LoopCore* core, int field) {
    std::string lines;
    if (const auto f = fieldOf(field))
        for (const loop::ProfileRow& row : core->designer.profileRows(*f))
            lines += row.offset + '\t' + row.level + '\n';
    return handOut(core, lines);
}
// The table edited, its rows as "offset\tlevel" lines: 1 when they became other rows (a
// line pasted into a cell), which the page then shows anew.
EMSCRIPTEN_KEEPALIVE int owlet_loop_set_profile(LoopCore* core, int field, const char* rows) {
    const auto f = fieldOf(field);
    if (!f)
        return 0;
    std::vector<loop::ProfileRow> table;
    for (const auto& [offset, level] : tabbedLines(rows))
        table.push_back({std::string(offset), std::string(level.value_or(""))});
    return core->designer.setProfileRows(*f, std::move(table)) ? 1 : 0;
}
// "problem\tline", "invalid\tfield\tneed", "hidden\tfield" (no use with this detector),
// "badrow\tfield\trow\tneed", "row\tlabel\tvalue", "warning\ttext" lines.
EMSCRIPTEN_KEEPALIVE const char* owlet_loop_answer(LoopCore* core) {
    const LoopDesigner& d = core->designer;
    std::string lines = "problem\t" + d.problemLine() + '\n';
    for (const LoopField f : LoopDesigner::Inputs()) {
        if (const std::string need = d.problemOf(f); !need.empty())
            lines += "invalid\t" + number(f) + '\t' + need + '\n';
        if (!d.applies(f))
            lines += "hidden\t" + number(f) + '\n';
        if (!loop::RowOf(f).profile)
            continue;
        const std::vector<std::string> needs = d.profileRowProblems(f);
        for (std::size_t i = 0; i < needs.size(); ++i)
            if (!needs[i].empty())
                lines += "badrow\t" + number(f) + '\t' + std::to_string(i) + '\t' + needs[i] + '\n';
    }
    for (const loop::FigureRow& row : d.rows())
        lines += "row\t" + row.label + '\t' + row.value + '\n';
    for (const std::string& w : d.warnings())
        lines += "warning\t" + w + '\n';
    return handOut(core, lines);
}
// 0 the schematic, 1 to 4 the plots: the drawing as SVG ("" when none), or its description.
EMSCRIPTEN_KEEPALIVE const char* owlet_loop_drawing(LoopCore* core, int which, int summary) {
    const loop::Drawing drawing = core->designer.drawingAt(static_cast<std::size_t>(which));
    if (drawing.groups.empty())
        return handOut(core, "");
    return handOut(core, summary ? LoopDesigner::Description(drawing) : loop::SvgOf(drawing));
}

} // extern "C"
