#pragma once

#include "loop/report/Drawing.h"
#include "loop/report/Plot.h"

#include <string>
#include <vector>

namespace owlet::loop {

// The drawing as one SVG element, shapes in order.
std::string SvgOf(const Drawing& drawing);
// The plots one after another, 640 pixels wide, as one SVG document.
std::string SvgDocument(const std::vector<Plot>& plots);

} // namespace owlet::loop
