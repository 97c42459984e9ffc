#pragma once

#include "loop/numerics/FilterParts.h"
#include "loop/report/Drawing.h"

namespace owlet::loop {

// The filter of the detector's form, every part named; parts not fitted in grey.
Drawing DrawSchematic(Detector detector, const FilterParts& parts);

} // namespace owlet::loop
