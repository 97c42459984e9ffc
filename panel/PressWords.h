#pragma once

#include "panel/Control.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace owlet {

// What a press did, as it was done: the lines that went to the module, the port in use,
// the register box the press wrote and the warning it left showing (empty when none).
struct PressOutcome {
    Control button;
    std::vector<std::string> sentLines;
    std::int16_t port = 0;
    std::string shownRegister;
    std::string warning;
};

// The few words a screen reader says after a press, which a sighted user sees as the
// register changing and the line going out: "R 0190 sent", "C 23 computed, not sent: port 0",
// "Port 3 open", with the warning after them when the press showed one.
std::string PressWords(const PressOutcome& outcome);

// The register box a "Set" button writes.
std::optional<Control> RegisterBoxOf(Control button);

} // namespace owlet
