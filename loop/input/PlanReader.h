#pragma once

#include "loop/input/FieldReader.h"
#include "loop/numerics/LoopSetting.h"

namespace owlet::loop {

// R, N and the comparison frequency of the panel's plan into `s`, or the problem, from
// the panel's own register plan.
void ReadPlan(const LoopRequest& q, FieldReader& in, LoopSetting& s);

} // namespace owlet::loop
