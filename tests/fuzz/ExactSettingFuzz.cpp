// Fuzz target: a reference and an output ("REF/OUT"), as typed. The exact setting found is
// within the chip's limits and exact in the panel's own arithmetic: its comparison
// frequency typed into the Fcomp box gives its R, and then its N with no error.
#include "math/ArithmeticFault.h"
#include "math/ChipLimits.h"
#include "math/ExactSetting.h"
#include "math/RegisterPlan.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto slash = input.find('/');
    if (slash == std::string_view::npos)
        return 0;
    std::optional<owlet::ExactSetting> s;
    try {
        s = owlet::FindExactSetting(input.substr(0, slash), input.substr(slash + 1));
    } catch (const owlet::ArithmeticFault& fault) {
        if (fault.kind() != owlet::FaultKind::Overflow)
            __builtin_trap();
        return 0;
    }
    if (!s || s->kind == owlet::ExactSetting::Kind::None)
        return 0;
    if (!owlet::ChipTakesR(s->r) || !owlet::ChipTakesN(s->n))
        __builtin_trap();
    const auto plan =
        owlet::PlanRegisters(input.substr(0, slash), s->fcompText, input.substr(slash + 1));
    if (!plan.n || !plan.n->computed() || plan.r->value != s->r || plan.n->value != s->n ||
        plan.n->errorHz != s->errorHz || (s->exact() && s->errorHz != 0))
        __builtin_trap();
    return 0;
}
