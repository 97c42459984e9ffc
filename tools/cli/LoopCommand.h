#pragma once

#include "tools/cli/CliOptions.h"

namespace owlet::cli {

// owlet-cli --loop: the loop's figures as a table or one JSON object, and the plots as
// SVG. Returns the exit status: 0 with figures (also for a loop that does not lock), 2 for
// bad input.
int RunLoop(const CliOptions& options);

} // namespace owlet::cli
