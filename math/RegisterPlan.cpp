#include "math/RegisterPlan.h"

#include "math/ChipLimits.h"
#include "math/Dividers.h"
#include "math/NumberText.h"
#include "math/ReadNumber.h"
#include "math/Registers.h"

namespace owlet {
namespace {

// Runs one step's arithmetic, keeping the fault that stops it.
template <typename F> void compute(DividerStep& step, F&& arithmetic) {
    try {
        arithmetic();
        step.fitsRegister = step.value >= 0 && step.value <= 65535;
        if (step.fitsRegister) {
            step.hex = FormatRegister(step.value, 4);
            step.chipAdvice = ChipLimitAdvice(step.name, step.value);
        }
    } catch (const ArithmeticFault& fault) {
        step.fault = fault;
    }
}

} // namespace

RegisterPlan PlanRegisters(std::optional<std::string_view> fref, std::string_view fcomp,
                           std::optional<std::string_view> fout) {
    RegisterPlan plan;
    plan.fcompText = std::string(fcomp);
    if (fref) {
        ReferencePlan& r = plan.r.emplace();
        r.name = 'R';
        compute(r, [&] {
            const double fcompKHz = ReadNumber(fcomp);
            const double frefMHz = ReadNumber(*fref);
            r.value = ComputeR(frefMHz, fcompKHz);
            if (r.value >= 0 && r.value <= 65535)
                r.actualFcompText = NumberText(ActualFcompKHz(frefMHz, r.value));
        });
        if (!r.computed())
            return plan;
        plan.fcompText = r.actualFcompText;
    }
    if (fout) {
        OutputPlan& n = plan.n.emplace();
        n.name = 'N';
        compute(n, [&] {
            const double fcompKHz = ReadNumber(plan.fcompText);
            const double foutMHz = ReadNumber(*fout);
            n.value = ComputeN(foutMHz, fcompKHz);
            if (n.value >= 0 && n.value <= 65535) {
                n.errorHz = FrequencyErrorHz(n.value, fcompKHz, foutMHz);
                n.inexact = NeedsWarning(n.errorHz);
            }
        });
    }
    return plan;
}

std::string RegisterOverflowText(const DividerStep& step) {
    const std::string name(1, step.name);
    return name + " = " + std::to_string(step.value) + " does not fit the 16-bit " + name +
           " register (0 to 65535)";
}

void RequireComputed(const DividerStep& step) {
    if (step.fault)
        throw *step.fault;
    if (!step.fitsRegister)
        throw ArithmeticFault(FaultKind::Overflow,
                              RegisterOverflowText(step) + "; nothing was sent");
}

} // namespace owlet
