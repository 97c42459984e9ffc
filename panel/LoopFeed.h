#pragma once

#include "panel/Control.h"

namespace owlet {

namespace loop {
class LoopDesigner;
}
class SynthPanel;

// The loop designer follows the panel's setting as typed: Fref, Fcomp2, Fout, the phase
// detector and Invert PD. Both views feed it the same way.
bool FeedsLoop(Control control);
void FeedLoop(const SynthPanel& panel, loop::LoopDesigner& designer);

} // namespace owlet
