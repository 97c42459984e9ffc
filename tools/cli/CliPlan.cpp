#include "tools/cli/CliPlan.h"

#include "link/CommandLine.h"
#include "math/RegisterMath.h"

#include <charconv>
#include <cmath>

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

// A divider is sent only once computed, and within the chip's limits unless the user says
// otherwise.
void requireSendable(const CliOptions& o, const std::string& options, const DividerStep& step) {
    refusedAs(options, [&] { RequireComputed(step); });
    if (!step.chipAdvice.empty() && !o.allowOutOfRange)
        throw CliError(options + ": " + step.chipAdvice +
                       " (--allow-out-of-range sends it all the same)");
}

std::int16_t refOutIndex(const std::optional<std::string>& refout) {
    if (!refout)
        return -1;
    for (std::size_t i = 0; i < RefOutNames.size(); ++i)
        if (*refout == RefOutNames[i])
            return static_cast<std::int16_t>(i);
    int index = -1;
    const char* end = refout->data() + refout->size();
    if (auto [at, ec] = std::from_chars(refout->data(), end, index);
        ec == std::errc() && at == end && index >= 0 && index < int(RefOutNames.size()))
        return static_cast<std::int16_t>(index);
    std::string names;
    for (const std::string_view e : RefOutNames)
        names += (names.empty() ? "\"" : ", \"") + std::string(e) + "\"";
    throw CliError("--refout: '" + *refout + "' is neither 0 to " +
                   std::to_string(RefOutNames.size() - 1) + " nor one of " + names);
}

// The comparison frequency as the Fcomp box would hold it: typed, or the exact setting.
std::string fcompText(const CliOptions& o, CliPlan& plan) {
    if (o.fcomp != "auto" && !o.solve)
        return o.fcomp;
    const char* option = o.solve ? "--solve" : "--fcomp auto";
    if (!o.fref || !o.fout)
        throw CliError(std::string(option) + ": needs --fref and --fout");
    plan.solved = refusedAs("--fref/--fout", [&] { return FindExactSetting(*o.fref, *o.fout); });
    if (!plan.solved)
        throw CliError(std::string(option) + ": the reference and the output must be above 0");
    if (plan.solved->kind == ExactSetting::Kind::None)
        throw CliError(std::string(option) + ": " + ExactSettingText(*plan.solved) +
                       ", and no list entry is within them");
    return plan.solved->fcompText;
}

// START:STOP:STEP as whole millihertz, so the steps add up exactly.
struct SweepRange {
    std::int64_t start, step;
    std::size_t count;
};

SweepRange sweepRange(const std::string& text) {
    const auto first = text.find(':');
    const auto second = first == std::string::npos ? first : text.find(':', first + 1);
    if (second == std::string::npos)
        throw CliError("--sweep: '" + text + "' is not START:STOP:STEP");
    double mhz[3];
    const std::string parts[3] = {text.substr(0, first), text.substr(first + 1, second - first - 1),
                                  text.substr(second + 1)};
    for (int i = 0; i < 3; ++i)
        mhz[i] = refusedAs("--sweep", [&] { return ReadNumber(parts[i]); }) * 1e9;
    for (const double m : mhz)
        if (!(std::abs(m) <= 9e15))
            throw CliError("--sweep: frequencies up to 9 THz");
    const auto start = std::llround(mhz[0]);
    const auto stop = std::llround(mhz[1]);
    const auto step = std::llround(mhz[2]);
    if (step == 0 || (stop - start != 0 && (stop - start > 0) != (step > 0)))
        throw CliError("--sweep: STEP must be at least 1 mHz and lead from START to STOP");
    const std::int64_t count = (stop - start) / step + 1;
    if (count > static_cast<std::int64_t>(MostSweepSteps))
        throw CliError("--sweep: " + std::to_string(count) + " steps; at most " +
                       std::to_string(MostSweepSteps));
    return {start, step, static_cast<std::size_t>(count)};
}

} // namespace

CliPlan planCommands(const CliOptions& o) {
    CliPlan plan;
    // The comparison frequency as the panel's Fcomp box holds it: typed, then rewritten
    // by "Set R " with what R really gives.
    std::string fcomp = fcompText(o, plan);
    if (o.solve)
        return plan;
    const RegisterPlan registers = PlanRegisters(o.fref, fcomp, o.fout);
    if (registers.r) {
        requireSendable(o, "--fref/--fcomp", *registers.r);
        fcomp = registers.fcompText;
        plan.actualFcompText = fcomp;
        plan.registers.push_back({'R', registers.r->value, registers.r->hex});
        plan.lines.push_back(CommandLine(ModuleCommand::ReferenceDivider, registers.r->hex));
    }
    if (registers.n) {
        requireSendable(o, "--fout/--fcomp", *registers.n);
        plan.errorHz = registers.n->errorHz;
        plan.registers.push_back({'N', registers.n->value, registers.n->hex});
        plan.lines.push_back(CommandLine(ModuleCommand::FeedbackDivider, registers.n->hex));
    }
    if (o.wantsC()) {
        const std::int32_t c = AssembleC(refOutIndex(o.refout), !o.pdSingle, o.invertPd ? 1 : 0,
                                         o.noLockDetect ? 0 : 1, o.noFv ? 0 : 1, o.noFr ? 0 : 1);
        const std::string hex = FormatRegister(c, 2);
        plan.registers.push_back({'C', c, hex});
        plan.lines.push_back(CommandLine(ModuleCommand::Control, hex));
    }
    if (o.sweep) {
        const SweepRange range = sweepRange(*o.sweep);
        plan.sweep.reserve(range.count);
        for (std::size_t i = 0; i < range.count; ++i) {
            const auto mHz = range.start + static_cast<std::int64_t>(i) * range.step;
            SweepStep step;
            step.foutText = PlainNumberText(static_cast<double>(mHz) / 1e9);
            const std::string named = "--sweep at " + step.foutText + " MHz";
            step.output = *PlanRegisters(std::nullopt, fcomp, step.foutText).n;
            requireSendable(o, named, step.output);
            step.lines.push_back(CommandLine(ModuleCommand::FeedbackDivider, step.output.hex));
            if (o.update)
                step.lines.push_back(CommandLine(ModuleCommand::Update));
            plan.sweep.push_back(std::move(step));
        }
        return plan;
    }
    if (o.update)
        plan.lines.push_back(CommandLine(ModuleCommand::Update));
    if (o.store)
        plan.lines.push_back(CommandLine(ModuleCommand::StoreToEeprom));
    return plan;
}

} // namespace owlet::cli
