#include "panel/LoopFeed.h"

#include "loop/LoopDesigner.h"
#include "panel/SynthPanel.h"

namespace owlet {

bool FeedsLoop(Control control) {
    return control == Control::Fref || control == Control::Fcomp2 || control == Control::Fout ||
           control == Control::PD0 || control == Control::PD1 || control == Control::InvertPD;
}

void FeedLoop(const SynthPanel& panel, loop::LoopDesigner& designer) {
    designer.followPanel(
        panel.text(Control::Fref), panel.text(Control::Fcomp2), panel.text(Control::Fout),
        panel.state(Control::PD1).selected ? loop::Detector::PdOut : loop::Detector::PhiRPhiV,
        panel.state(Control::InvertPD).value == 1);
}

} // namespace owlet
