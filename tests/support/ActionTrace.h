#pragma once

#include "panel/SynthPanel.h"
#include "tests/support/FakeLink.h"
#include "tests/support/PanelActions.h"
#include "tests/support/RecordingReporter.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace owlet::test {

// Everything the panel shows and sends after each step of an action sequence, as text, so
// two builds of the core (native and WebAssembly) can be compared line for line. Long texts
// (a flooded response box) are written as their length and a hash; control characters, NUL
// among them, as \xNN, so the trace is plain text from end to end.
inline std::string traceActions(std::string_view data) {
    FakeLink link;
    link.highestPort = 4;
    RecordingReporter reports;
    SynthPanel panel(link, reports);
    panel.load();
    const auto shown = [](const std::string& text) {
        if (text.size() <= 80) {
            std::string quoted = "\"";
            for (const char c : text) {
                const auto byte = static_cast<unsigned char>(c);
                if (byte < 0x20 || c == '\\') {
                    constexpr char Hex[] = "0123456789ABCDEF";
                    quoted += {'\\', 'x', Hex[byte >> 4], Hex[byte & 15]};
                } else {
                    quoted += c;
                }
            }
            return quoted + "\"";
        }
        std::uint64_t hash = 14695981039346656037ull; // FNV-1a
        for (const char c : text)
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        return std::to_string(text.size()) + "#" + std::to_string(hash);
    };
    std::string trace;
    std::size_t sent = 0;
    int step = 0;
    playActions(data, panel, link, [&] {
        trace += "step " + std::to_string(++step) + "\n";
        for (std::size_t i = 0; i < ControlCount; ++i) {
            const ControlState& s = panel.state(static_cast<Control>(i));
            trace += std::string(controlName(static_cast<Control>(i))) + " " + shown(s.text) +
                     " v" + std::to_string(s.visible) + " b" +
                     (s.backColor ? std::to_string(*s.backColor) : "-") + " i" +
                     std::to_string(s.listIndex) + " n" + std::to_string(s.value) + " s" +
                     std::to_string(s.selected) + " B" + std::to_string(s.bold) + " " +
                     shown(s.note) + "\n";
        }
        for (; sent < link.written.size(); ++sent)
            trace += "sent " + shown(link.written[sent]) + "\n";
        for (const RunTimeError& e : reports.errors)
            trace += "error " + e.kind + ": " + e.message + "\n";
        reports.errors.clear();
    });
    return trace;
}

} // namespace owlet::test
