#include "tools/ModuleProtocol.h"

#include <cstdio>
#include <utility>

namespace owlet::sim {
namespace {

bool isUpperHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

std::string printable(std::string_view text) {
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            shown.push_back(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        }
    }
    return shown;
}

} // namespace

std::string describeControlByte(unsigned byte) {
    static const char* refOut[] = {"DC static", "= OscIn",  "OscIn/2", "OscIn/4",
                                   "OscIn/8",   "OscIn/16", "code 6",  "code 7"};
    std::string text = std::string("POL ") + ((byte & 0x80) ? "inverted" : "normal");
    text += std::string(", PD ") + ((byte & 0x40) ? "single-ended PDout" : "double-ended PhV/PhR");
    text += std::string(", LD ") + ((byte & 0x20) ? "on" : "off");
    text += std::string(", REFout ") + refOut[(byte >> 2) & 7];
    text += std::string(", fV ") + ((byte & 0x02) ? "on" : "off");
    text += std::string(", fR ") + ((byte & 0x01) ? "on" : "off");
    return text;
}

DecodedLine decodeLine(std::string_view command, bool terminatedByCrLf) {
    DecodedLine line;
    line.command = printable(command);
    if (!terminatedByCrLf)
        line.problem = "not ended by CR LF";
    if (command.empty()) {
        line.problem = line.problem.empty() ? "empty line" : line.problem;
        return line;
    }
    std::size_t digits = 0;
    switch (command[0]) {
    case 'R':
    case 'N':
        digits = 4;
        break;
    case 'C':
        digits = 2;
        break;
    case 'U':
    case 'W':
        digits = 0;
        break;
    case 'r':
    case 'n':
    case 'c':
    case 'u':
    case 'w':
        line.problem = "lower-case command letter '" + printable(command.substr(0, 1)) + "'";
        return line;
    default:
        line.problem = "unknown command letter '" + printable(command.substr(0, 1)) + "'";
        return line;
    }
    const std::string_view value = command.substr(1);
    if (value.size() != digits) {
        line.problem = "wrong length: " + std::to_string(command.size()) +
                       " characters before the " + "line end, " + std::to_string(digits + 1) +
                       " expected";
        return line;
    }
    for (const char c : value) {
        if (!isUpperHex(c)) {
            line.problem =
                (c >= 'a' && c <= 'f') ? "lower-case hexadecimal digit" : "not a hexadecimal digit";
            return line;
        }
    }
    const unsigned number =
        digits ? static_cast<unsigned>(std::stoul(std::string(value), nullptr, 16)) : 0;
    switch (command[0]) {
    case 'R':
        line.meaning = "reference divider R = " + std::to_string(number);
        break;
    case 'N':
        line.meaning = "feedback divider N = " + std::to_string(number);
        break;
    case 'C':
        line.meaning =
            "control byte C = " + std::string(value) + ": " + describeControlByte(number);
        break;
    case 'U':
        line.meaning = "update";
        break;
    default:
        line.meaning = "store the settings in EEPROM";
        break;
    }
    return line;
}

std::vector<LineSplitter::Line> LineSplitter::feed(std::string_view bytes) {
    std::vector<Line> lines;
    for (const char c : bytes) {
        if (c != '\n') {
            pending_.push_back(c);
            continue;
        }
        Line line;
        line.crLf = !pending_.empty() && pending_.back() == '\r';
        if (line.crLf)
            pending_.pop_back();
        line.text = std::exchange(pending_, {});
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace owlet::sim
