// Fuzz target: any sequence of user actions and module events on the panel model. After
// each step: every line sent is a well-formed command line, nothing goes out while the
// port number is 0 or below, the register boxes hold well-formed texts, and Text1 is the
// most recent part of what arrived since it was last emptied, within its limit.
#include "panel/PanelView.h"
#include "panel/ResponseLimit.h"
#include "panel/SynthPanel.h"
#include "tests/fuzz/CommandText.h"
#include "tests/support/FakeLink.h"
#include "tests/support/PanelActions.h"
#include "tests/support/RecordingReporter.h"

#include <string>

using owlet::Control;

namespace {

// Everything that arrived in Text1 since the panel last set its text.
class ArrivalView final : public owlet::PanelView {
public:
    std::string arrived;
    void propertyChanged(Control control, owlet::Property property) override {
        if (control == Control::Text1 && property == owlet::Property::Text)
            arrived.clear(); // the panel only ever empties it
    }
    void textAppended(Control control, std::string_view appended) override {
        if (control == Control::Text1)
            arrived += appended;
    }
    void announce(std::string_view words) override {
        if (words.empty())
            std::abort(); // every press that ran to its end says what it did
    }
};

// A whole line as sent: a command and its CR LF.
bool isCommandLine(std::string_view line) {
    return line.ends_with("\r\n") && owlet::fuzz::isCommandText(line.substr(0, line.size() - 2));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    owlet::test::FakeLink link;
    link.highestPort = 4; // higher numbers are refused
    owlet::test::RecordingReporter reports;
    ArrivalView view;
    owlet::SynthPanel panel(link, reports);
    panel.setView(&view);
    panel.load();
    std::size_t sentBefore = 0;
    owlet::test::playActions(
        std::string_view(reinterpret_cast<const char*>(data), size), panel, link, [&] {
            for (std::size_t i = sentBefore; i < link.written.size(); ++i)
                if (!isCommandLine(link.written[i]) || panel.portNumber() <= 0)
                    __builtin_trap();
            for (Control box : {Control::Rreg, Control::Nreg})
                if (!panel.text(box).empty() && !owlet::fuzz::isHexText(panel.text(box), 4))
                    __builtin_trap();
            const std::string& c = panel.text(Control::Creg);
            if (!c.empty() && c != "00000" && !owlet::fuzz::isHexText(c, 2))
                __builtin_trap();
            const std::string& text1 = panel.text(Control::Text1);
            if (text1.size() > owlet::ResponseLimit || !view.arrived.ends_with(text1) ||
                (view.arrived.size() >= owlet::ResponseAtLeast &&
                 text1.size() < owlet::ResponseAtLeast))
                __builtin_trap();
            sentBefore = link.written.size();
            reports.errors.clear();
        });
    return 0;
}
