#pragma once

#include "link/LinkFailure.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace owlet::cli {

// How a run of owlet-cli sends, and what came of it.
struct Timing {
    double wait = 1.0;  // replies are collected at most this long after the last line
    double idle = 0.2;  // ... and only until the module has been quiet this long
    double dwell = 0.0; // after each sweep step
};

// Reply text kept for the report: the last MiB; what came before it is counted.
constexpr std::size_t MostReplyBytes = 1024 * 1024;
// How long one line may take to go out (a network port may still be connecting).
constexpr int LineBoundMs = 10000;

struct Outcome {
    std::vector<std::string> sent;
    std::size_t stepsDone = 0;
    std::string replies;
    std::size_t repliesDropped = 0;     // bytes before the kept MiB
    std::optional<LinkFailure> failure; // the link failure that ended the run
    std::string failedLine;             // the line it ended on, if one
    int signal = 0;                     // the signal that stopped the run, if any

    void keepReplies(const std::string& bytes) {
        replies += bytes;
        if (replies.size() > MostReplyBytes) {
            const std::size_t drop = replies.size() - MostReplyBytes;
            replies.erase(0, drop);
            repliesDropped += drop;
        }
    }
};

} // namespace owlet::cli
