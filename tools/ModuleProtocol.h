#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace owlet::sim {

// One line the module received, decoded the way the module's firmware reads it.
struct DecodedLine {
    std::string command; // the line without its terminator, e.g. "R0190"
    std::string meaning; // in words: "reference divider R = 400"
    std::string problem; // empty when the line is well formed
    bool wellFormed() const { return problem.empty(); }
};

// Decodes one line; `terminatedByCrLf` says whether it ended in CR LF.
DecodedLine decodeLine(std::string_view command, bool terminatedByCrLf);

// The C register byte in words, bit by bit.
std::string describeControlByte(unsigned byte);

// Splits the received byte stream into lines at LF. A line whose LF has no CR before it
// is marked as such; a CR inside a line stays in it, so it is flagged as malformed.
class LineSplitter {
public:
    struct Line {
        std::string text;
        bool crLf = false;
    };

    std::vector<Line> feed(std::string_view bytes);
    // Whatever came without a line end yet.
    const std::string& pending() const { return pending_; }
    std::string takePending() { return std::exchange(pending_, {}); }

private:
    std::string pending_;
};

} // namespace owlet::sim
