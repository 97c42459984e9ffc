#pragma once

#include "loop/report/Drawing.h"
#include "loop/report/Plot.h"

#include <vector>

namespace owlet::loop {

// The plots one below the other, 640 pixels wide, with axes, ticks, legends and marks.
Drawing DrawPlots(const std::vector<Plot>& plots);

} // namespace owlet::loop
