#include "math/RegisterPlan.h"

#include "math/Dividers.h"
#include "math/NumberText.h"
#include "math/ReadNumber.h"
#include "math/Registers.h"

namespace owlet {

ReferencePlan PlanReference(std::string_view frefText, std::string_view fcompText) {
    const double fcomp = ReadNumber(fcompText);
    const double fref = ReadNumber(frefText);
    const std::int32_t r = ComputeR(fref, fcomp);
    RequireRegisterRange(r, "R");
    return {r, NumberText(ActualFcompKHz(fref, r))};
}

OutputPlan PlanOutput(std::string_view foutText, std::string_view fcompText) {
    const double fcomp = ReadNumber(fcompText);
    const double fout = ReadNumber(foutText);
    const std::int32_t n = ComputeN(fout, fcomp);
    RequireRegisterRange(n, "N");
    const std::int32_t error = FrequencyErrorHz(n, fcomp, fout);
    return {n, error, NeedsWarning(error)};
}

} // namespace owlet
