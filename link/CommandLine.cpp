#include "link/CommandLine.h"

namespace owlet {

std::string CommandLine(ModuleCommand command, std::string_view registerText) {
    std::string line(1, static_cast<char>(command));
    line += registerText;
    line += "\r\n";
    return line;
}

} // namespace owlet
