#pragma once

#include "panel/Control.h"

#include <string>
#include <string_view>

namespace owlet {

namespace loop {
class LoopDesigner;
}
class SynthPanel;

// The loop designer follows the panel's setting as typed: Fref, Fcomp2, Fout, the phase
// detector and Invert PD. Both views feed it the same way.
bool FeedsLoop(Control control);
void FeedLoop(const SynthPanel& panel, loop::LoopDesigner& designer);
// The same setting as one line for the page's loop module: Fref, Fcomp2 and Fout as typed,
// 1 for PDout, 1 for Invert PD, parted by the unit separator (0x1F), which no field holds
// as typed; FollowPlanText reads it back.
std::string PlanText(const SynthPanel& panel);
void FollowPlanText(std::string_view plan, loop::LoopDesigner& designer);

} // namespace owlet
