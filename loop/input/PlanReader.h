#pragma once

#include "loop/input/FieldReader.h"
#include "loop/numerics/LoopSetting.h"

#include <string>

namespace owlet::loop {

// R, N and the comparison frequency of the panel's plan into `s`, or the problem, from
// the panel's own register plan.
void ReadPlan(const LoopRequest& q, FieldReader& in, LoopSetting& s);
// A panel field's number as the panel reads it; 0 where it cannot (a fault told by ReadPlan).
double PanelNumber(const std::string& text);

} // namespace owlet::loop
