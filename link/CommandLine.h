#pragma once

#include <string>
#include <string_view>

namespace owlet {

// The module's commands; the value is the command letter sent on the line.
enum class ModuleCommand : char {
    ReferenceDivider = 'R', // four hex digits
    FeedbackDivider = 'N',  // four hex digits
    Control = 'C',          // two hex digits
    Update = 'U',           // no value
    StoreToEeprom = 'W',    // no value
};

// One command line: the letter, the register text exactly as shown in its register box,
// then CR LF ("R0190\r\n", "C23\r\n", "U\r\n").
std::string CommandLine(ModuleCommand command, std::string_view registerText = {});

} // namespace owlet
