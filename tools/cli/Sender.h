#pragma once

#include "app/SignalQuit.h"
#include "link/SerialModuleLink.h"
#include "tools/cli/CliOptions.h"
#include "tools/cli/CliPlan.h"
#include "tools/cli/Outcome.h"

#include <QElapsedTimer>

#include <csignal>

namespace owlet::cli {

// Opens the port, writes each line whole before the next, and collects the replies. A
// termination signal stops it after the line being written; the port and its lock file
// are released on the way out.
class Sender {
public:
    Sender(const CliOptions& o, const Timing& timing, const sigset_t& termination);
    // Ends on a link failure with what went out before it, and the line it failed on.
    Outcome run(const CliPlan& plan, bool expectReply);

private:
    void sendAll(const CliPlan& plan, bool expectReply);
    bool send(const std::string& line);
    void spin(double secondsToWait);
    void collect(bool expectReply);
    void throwIfLost();

    Timing timing_;
    Outcome outcome_;
    std::optional<LinkFailure> lost_; // the link went away while the event loop ran
    QElapsedTimer quiet_;             // since the last line or reply
    SerialModuleLink link_;
    SignalQuit quit_;
};

} // namespace owlet::cli
