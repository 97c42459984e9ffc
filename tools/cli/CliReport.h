#pragma once

#include "tools/cli/CliOptions.h"
#include "tools/cli/CliPlan.h"
#include "tools/cli/Outcome.h"

#include <QString>

#include <cstddef>
#include <string_view>

namespace owlet::cli {

// Prints what a run computed and sent, as text or one JSON object. `steps`: the sweep
// steps to print, those sent or, without a port, all of them.
void report(const CliOptions& o, const CliPlan& plan, const Outcome& outcome, std::size_t steps);

// To standard output, in the locale's encoding.
void print(const QString& text);
// The core's UTF-8 text as Qt's.
QString qt(std::string_view text);

} // namespace owlet::cli
