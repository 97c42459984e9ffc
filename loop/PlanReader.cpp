#include "loop/FieldReader.h"

#include "math/ArithmeticFault.h"
#include "math/ChipLimits.h"
#include "math/ReadNumber.h"
#include "math/RegisterPlan.h"

#include <tuple>

namespace owlet::loop {

// R and N as "Set R " and "Set N" compute them, with the chip's limits.
void ReadPlan(const LoopRequest& q, FieldReader& in, LoopSetting& s) {
    try {
        const double frefHz = ReadNumber(q.fref) * 1e6;
        bool typed = true;
        for (const auto& [field, value, need] :
             {std::tuple{LoopField::Fref, frefHz, "the reference frequency in MHz"},
              std::tuple{LoopField::Fcomp, ReadNumber(q.fcomp), "the comparison frequency in kHz"},
              std::tuple{LoopField::Fout, ReadNumber(q.fout), "the output frequency in MHz"}})
            if (!(value > 0.0)) {
                in.fail(field, std::string("needs ") + need + " on the panel, above 0");
                typed = false;
            }
        if (!typed)
            return;
        const ReferencePlan r = PlanReference(q.fref, q.fcomp);
        if (const std::string advice = ChipLimitAdvice('R', r.r); !advice.empty())
            return in.fail(LoopField::Fcomp, advice);
        const OutputPlan n = PlanOutput(q.fout, r.actualFcompText);
        if (const std::string advice = ChipLimitAdvice('N', n.n); !advice.empty())
            return in.fail(LoopField::Fout, advice);
        s.n = n.n;
        s.fcompHz = frefHz / r.r;
    } catch (const ArithmeticFault& fault) {
        std::string why = fault.what();
        if (const auto sent = why.find("; nothing was sent"); sent != std::string::npos)
            why.resize(sent);
        in.fail(LoopField::Fcomp,
                "the panel cannot compute R and N from these frequencies: " + why);
    }
}

double PanelNumber(const std::string& text) {
    try {
        return ReadNumber(text);
    } catch (const ArithmeticFault&) {
        return 0.0;
    }
}

} // namespace owlet::loop
