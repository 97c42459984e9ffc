#include "loop/input/PlanReader.h"

#include "math/ArithmeticFault.h"
#include "math/ReadNumber.h"
#include "math/RegisterPlan.h"

namespace owlet::loop {
namespace {

constexpr const char* CannotCompute = "the panel cannot compute R and N from these frequencies: ";

// Why the panel's arithmetic stopped at a divider, said to the designer's user.
std::string stopped(const DividerStep& step) {
    return CannotCompute +
           (step.fault ? std::string(step.fault->what()) : RegisterOverflowText(step));
}

} // namespace

// R and N as "Set R " and "Set N" compute them, with the chip's limits.
void ReadPlan(const LoopRequest& q, FieldReader& in, LoopSetting& s) {
    constexpr LoopField Plan[] = {LoopField::Fref, LoopField::Fcomp, LoopField::Fout};
    // Each field's own fault against it: one the panel cannot read, or not above 0.
    double values[3];
    bool typed = true;
    for (int i = 0; i < 3; ++i) {
        try {
            values[i] = ReadNumber(q[Plan[i]]);
        } catch (const ArithmeticFault& fault) {
            in.fail(Plan[i], CannotCompute + std::string(fault.what()));
            typed = false;
            continue;
        }
        if (!(values[i] > 0.0)) {
            in.fail(Plan[i], std::string(RowOf(Plan[i]).need));
            typed = false;
        }
    }
    if (!typed)
        return;
    const RegisterPlan plan =
        PlanRegisters(q[LoopField::Fref], q[LoopField::Fcomp], q[LoopField::Fout]);
    const ReferencePlan& r = *plan.r;
    if (!r.computed())
        return in.fail(LoopField::Fcomp, stopped(r));
    if (!r.chipAdvice.empty())
        return in.fail(LoopField::Fcomp, r.chipAdvice);
    const OutputPlan& n = *plan.n;
    if (!n.computed())
        return in.fail(LoopField::Fout, stopped(n));
    if (!n.chipAdvice.empty())
        return in.fail(LoopField::Fout, n.chipAdvice);
    s.n = n.value;
    s.frefHz = values[0] * 1e6;
    s.fcompHz = s.frefHz / r.value;
}

} // namespace owlet::loop
