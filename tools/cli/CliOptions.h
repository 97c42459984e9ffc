#pragma once

#include "loop/input/LoopFields.h"

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace owlet::cli {

// Bad input on the command line: the message names the option.
class CliError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the command line asks for. Numbers stay text: they are read later exactly as the
// panel reads its fields. --fcomp auto asks for the setting that makes --fout exact.
struct CliOptions {
    std::optional<std::string> fref;
    std::string fcomp = "25";
    std::optional<std::string> fout;
    bool pdSingle = false;
    bool invertPd = false;
    bool noLockDetect = false;
    bool noFv = false;
    bool noFr = false;
    std::optional<std::string> refout;
    bool c = false;
    std::optional<std::string> port;
    std::optional<std::string> device;
    bool update = false;
    bool store = false;
    std::string wait = "1";
    std::string idle = "0.2";
    bool expectReply = false;
    bool solve = false;
    bool allowOutOfRange = false;
    std::optional<std::string> sweep; // START:STOP:STEP in MHz
    std::string dwell = "0";
    bool dryRun = false;
    bool listPorts = false;
    bool json = false;
    bool help = false;
    bool version = false;
    // The loop designer (--loop): the VCO, the filter's parts and the step, as typed, by
    // the loop's table of inputs (the panel's three fields are the options above).
    bool loop = false;
    std::array<std::optional<std::string>, loop::LoopFieldCount> loopTexts;
    std::optional<std::string> series, svg;

    const std::optional<std::string>& loopText(loop::LoopField f) const {
        return loopTexts[static_cast<std::size_t>(f)];
    }

    // Whether any option of the control byte was given.
    bool wantsC() const {
        return c || pdSingle || invertPd || noLockDetect || noFv || noFr || refout;
    }
};

// Throws CliError for an unknown option, a missing value or a repeated port choice.
CliOptions parseOptions(const std::vector<std::string>& args);

std::string usage();

} // namespace owlet::cli
