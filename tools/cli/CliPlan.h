#pragma once

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

// The registers and command lines the options ask for, computed by the panel's own
// functions in the panel's order, and nothing sent yet.
struct CliPlan {
    std::vector<RegisterValue> registers;
    std::optional<std::string> actualFcompText; // as "Set R " writes it back, e.g. " 25"
    std::optional<std::int32_t> errorHz;        // after N: 0 when the ratio is exact
    std::vector<std::string> lines;             // command lines, CR LF included
};

// Throws CliError (naming the option) for any value the panel would refuse.
CliPlan planCommands(const CliOptions& options);

} // namespace owlet::cli
