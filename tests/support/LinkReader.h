#pragma once

#include "link/LinkFailure.h"
#include "link/ModuleLink.h"

#include <string>
#include <vector>

namespace owlet::test {

// Reads a module link as the panel does: at each communication event everything waiting,
// and a failure kept instead of thrown.
struct LinkReader {
    std::string received;
    std::vector<LinkFailure> failures;
    int events = 0;

    explicit LinkReader(ModuleLink& link);
};

// The CPU time this process spends while its event loop runs for `ms`: near 0 when idle.
double cpuSecondsWhileWaiting(int ms);

} // namespace owlet::test
