// The loop designer's face to the page's JavaScript: a WebAssembly module of its own, which
// the page loads only when its Loop filter section is first opened, so the panel's start
// carries none of it. The panel's core hands over its setting as one line (PlanText).
#include "loop/LoopDesigner.h"
#include "panel/LoopFeed.h"
#include "web/HandOut.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

using namespace owlet;
using namespace owlet::web;

namespace {

// One designer, with the text last handed out (valid until the next call).
struct LoopCore {
    loop::LoopDesigner designer;
    std::string handedOut;
};

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE LoopCore* owlet_loop_create() {
    return makeForPage<LoopCore>();
}
EMSCRIPTEN_KEEPALIVE void owlet_loop_follow(LoopCore* core, const char* plan) {
    FollowPlanText(plan, core->designer);
}
// Texts go out as lines of tab-separated fields.
EMSCRIPTEN_KEEPALIVE const char* owlet_loop_inputs(LoopCore* core) {
    std::string lines;
    for (const loop::LoopDesigner::Input& in : loop::LoopDesigner::inputs())
        lines += std::to_string(static_cast<int>(in.field)) + '\t' + std::string(in.key) + '\t' +
                 loop::LoopDesigner::label(in.field) + '\t' + std::string(in.hint) + '\t' +
                 std::string(in.group) + '\n';
    return handOut(core, lines);
}
// `stored`: "field\ttext" lines, as the page kept them.
EMSCRIPTEN_KEEPALIVE void owlet_loop_restore(LoopCore* core, const char* stored) {
    std::vector<std::pair<loop::LoopField, std::string>> texts;
    for (std::string_view rest = stored; !rest.empty();) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        const std::size_t tab = line.find('\t');
        int field = -1;
        if (tab != std::string_view::npos)
            std::from_chars(line.data(), line.data() + tab, field);
        if (field >= 0 && field <= static_cast<int>(loop::LoopField::Damping))
            texts.emplace_back(static_cast<loop::LoopField>(field), line.substr(tab + 1));
    }
    core->designer.setTexts(texts);
}
EMSCRIPTEN_KEEPALIVE void owlet_loop_set(LoopCore* core, int field, const char* text) {
    core->designer.setText(static_cast<loop::LoopField>(field), text);
}
EMSCRIPTEN_KEEPALIVE const char* owlet_loop_text(LoopCore* core, int field) {
    return handOut(core, core->designer.text(static_cast<loop::LoopField>(field)));
}
EMSCRIPTEN_KEEPALIVE void owlet_loop_set_series(LoopCore* core, int e12) {
    core->designer.setSeries(e12 ? loop::ESeries::E12 : loop::ESeries::E24);
}
EMSCRIPTEN_KEEPALIVE int owlet_loop_design(LoopCore* core) {
    return core->designer.design() ? 1 : 0;
}
// "problem\tline", "invalid\tfield\tneed", "row\tlabel\tvalue", "warning\ttext" lines.
EMSCRIPTEN_KEEPALIVE const char* owlet_loop_answer(LoopCore* core) {
    const loop::LoopDesigner& d = core->designer;
    std::string lines = "problem\t" + d.problemLine() + '\n';
    for (const loop::LoopDesigner::Input& in : loop::LoopDesigner::inputs())
        if (const std::string need = d.problemOf(in.field); !need.empty())
            lines += "invalid\t" + std::to_string(static_cast<int>(in.field)) + '\t' + need + '\n';
    for (const loop::FigureRow& row : d.rows())
        lines += "row\t" + row.label + '\t' + row.value + '\n';
    for (const std::string& w : d.warnings())
        lines += "warning\t" + w + '\n';
    return handOut(core, lines);
}
// 0 the schematic, 1 to 3 the plots: the drawing as SVG ("" when none), or its summary.
EMSCRIPTEN_KEEPALIVE const char* owlet_loop_drawing(LoopCore* core, int which, int summary) {
    const loop::LoopDesigner& d = core->designer;
    const std::size_t plot = static_cast<std::size_t>(which - 1);
    const loop::Drawing drawing = which == 0                ? d.schematic()
                                  : plot < d.plots().size() ? d.plots()[plot]
                                                            : loop::Drawing{};
    if (drawing.groups.empty())
        return handOut(core, "");
    return handOut(core, summary ? drawing.groups.front().summary : loop::SvgOf(drawing));
}

} // extern "C"
