// Fuzz target: the simulator's line decoder takes any bytes, splits them into the same
// lines however they arrive, and calls a line well formed exactly when it is one of the
// panel's command lines.
#include "tests/fuzz/CommandText.h"
#include "tools/ModuleProtocol.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size == 0)
        return 0;
    const unsigned step = data[0] % 8 + 1;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    owlet::sim::LineSplitter whole;
    const auto once = whole.feed(bytes);
    owlet::sim::LineSplitter pieces;
    std::vector<owlet::sim::LineSplitter::Line> split;
    for (std::size_t at = 0; at < bytes.size(); at += step)
        for (auto& line : pieces.feed(std::string_view(bytes).substr(at, step)))
            split.push_back(std::move(line));
    if (split.size() != once.size() || whole.pending() != pieces.pending())
        __builtin_trap();
    for (std::size_t i = 0; i < once.size(); ++i) {
        if (split[i].text != once[i].text || split[i].crLf != once[i].crLf)
            __builtin_trap();
        const auto decoded = owlet::sim::decodeLine(once[i].text, once[i].crLf);
        if (decoded.wellFormed() != (once[i].crLf && owlet::fuzz::isCommandText(once[i].text)))
            __builtin_trap();
    }
    return 0;
}
