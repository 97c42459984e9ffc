#include "tools/cli/CliPlan.h"

#include "link/CommandLine.h"
#include "math/RegisterMath.h"
#include "panel/InitialState.h"

#include <charconv>

namespace owlet::cli {
namespace {

// Runs one computation; a fault becomes bad input of the options it came from.
template <typename F> auto refusedAs(const std::string& options, F&& compute) {
    try {
        return compute();
    } catch (const ArithmeticFault& fault) {
        throw CliError(options + ": " + faultKindName(fault.kind()) + ": " + fault.what());
    }
}

std::int16_t refOutIndex(const std::optional<std::string>& refout) {
    if (!refout)
        return -1;
    // A copy: the states are a temporary.
    const std::vector<std::string> entries = initialControlStates()[indexOf(Control::RefOut)].list;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (*refout == entries[i])
            return static_cast<std::int16_t>(i);
    int index = -1;
    const char* end = refout->data() + refout->size();
    if (auto [at, ec] = std::from_chars(refout->data(), end, index);
        ec == std::errc() && at == end && index >= 0 && index < static_cast<int>(entries.size()))
        return static_cast<std::int16_t>(index);
    std::string names;
    for (const std::string& e : entries)
        names += (names.empty() ? "\"" : ", \"") + e + "\"";
    throw CliError("--refout: '" + *refout + "' is neither 0 to " +
                   std::to_string(entries.size() - 1) + " nor one of " + names);
}

} // namespace

CliPlan planCommands(const CliOptions& o) {
    CliPlan plan;
    // The comparison frequency as the panel's Fcomp box holds it: typed, then rewritten
    // by "Set R " with what R really gives.
    std::string fcompText = o.fcomp;
    if (o.fref) {
        const std::int32_t r = refusedAs("--fref/--fcomp", [&] {
            const std::int32_t value = ComputeR(ReadNumber(*o.fref), ReadNumber(fcompText));
            RequireRegisterRange(value, "R");
            fcompText = NumberText(ActualFcompKHz(ReadNumber(*o.fref), value));
            return value;
        });
        plan.actualFcompText = fcompText;
        const std::string hex = FormatRegister(r, 4);
        plan.registers.push_back({'R', r, hex});
        plan.lines.push_back(CommandLine(ModuleCommand::ReferenceDivider, hex));
    }
    if (o.fout) {
        const auto [n, error] = refusedAs("--fout/--fcomp", [&] {
            const std::int32_t value = ComputeN(ReadNumber(*o.fout), ReadNumber(fcompText));
            RequireRegisterRange(value, "N");
            const std::int32_t e =
                FrequencyErrorHz(value, ReadNumber(fcompText), ReadNumber(*o.fout));
            NeedsWarning(e); // refuses the one error with no absolute value, as the panel does
            return std::pair{value, e};
        });
        plan.errorHz = error;
        const std::string hex = FormatRegister(n, 4);
        plan.registers.push_back({'N', n, hex});
        plan.lines.push_back(CommandLine(ModuleCommand::FeedbackDivider, hex));
    }
    if (o.wantsC()) {
        const std::int32_t c = AssembleC(refOutIndex(o.refout), !o.pdSingle, o.invertPd ? 1 : 0,
                                         o.noLockDetect ? 0 : 1, o.noFv ? 0 : 1, o.noFr ? 0 : 1);
        const std::string hex = FormatRegister(c, 2);
        plan.registers.push_back({'C', c, hex});
        plan.lines.push_back(CommandLine(ModuleCommand::Control, hex));
    }
    if (o.update)
        plan.lines.push_back(CommandLine(ModuleCommand::Update));
    if (o.store)
        plan.lines.push_back(CommandLine(ModuleCommand::StoreToEeprom));
    return plan;
}

} // namespace owlet::cli
