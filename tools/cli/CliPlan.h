#pragma once

#include "math/ExactSetting.h"
#include "math/RegisterPlan.h"
#include "tools/cli/CliOptions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace owlet::cli {

struct RegisterValue {
    char name = 'R'; // 'R', 'N' or 'C'
    std::int32_t value = 0;
    std::string hex; // as the module gets it
};

// One output frequency of a sweep, and the lines that program it.
struct SweepStep {
    std::string foutText; // "144.0125", as a user would type it
    OutputPlan output;
    std::vector<std::string> lines; // N, then U with --update
};

// What the options ask for, computed by the panel's own register plan in the panel's
// order before anything is sent.
struct CliPlan {
    std::vector<RegisterValue> registers;
    std::optional<std::string> actualFcompText; // as "Set R " writes it back, e.g. " 25"
    std::optional<std::int32_t> errorHz;        // after N: 0 when the ratio is exact
    std::optional<ExactSetting> solved;         // --solve and --fcomp auto
    std::vector<std::string> lines;             // command lines, CR LF included
    std::vector<SweepStep> sweep;               // after `lines`
};

inline constexpr std::size_t MostSweepSteps = 100'000;

// Throws CliError (naming the option) for any value the panel would refuse, and for a
// divider the chip cannot count with unless --allow-out-of-range is given.
CliPlan planCommands(const CliOptions& options);

} // namespace owlet::cli
