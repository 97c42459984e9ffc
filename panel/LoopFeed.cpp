#include "panel/LoopFeed.h"

#include "loop/LoopDesigner.h"
#include "panel/SynthPanel.h"

#include <algorithm>

namespace owlet {

namespace {
constexpr char Separator = '\x1f';
}

bool FeedsLoop(Control control) {
    return control == Control::Fref || control == Control::Fcomp2 || control == Control::Fout ||
           control == Control::PD0 || control == Control::PD1 || control == Control::InvertPD;
}

std::string PlanText(const SynthPanel& panel) {
    return panel.text(Control::Fref) + Separator + panel.text(Control::Fcomp2) + Separator +
           panel.text(Control::Fout) + Separator +
           (panel.state(Control::PD1).selected ? '1' : '0') + Separator +
           (panel.state(Control::InvertPD).value == 1 ? '1' : '0');
}

void FollowPlanText(std::string_view plan, loop::LoopDesigner& designer) {
    std::string parts[5];
    for (std::string& part : parts) {
        const std::size_t end = std::min(plan.find(Separator), plan.size());
        part = plan.substr(0, end);
        plan.remove_prefix(std::min(end + 1, plan.size()));
    }
    designer.followPanel(parts[0], parts[1], parts[2],
                         parts[3] == "1" ? loop::Detector::PdOut : loop::Detector::PhiRPhiV,
                         parts[4] == "1");
}

void FeedLoop(const SynthPanel& panel, loop::LoopDesigner& designer) {
    FollowPlanText(PlanText(panel), designer);
}

} // namespace owlet
