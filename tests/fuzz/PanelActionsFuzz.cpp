// Fuzz target: any sequence of user actions and module events on the panel model. After
// each step: every line sent is a well-formed command line, nothing goes out while the
// port number is 0 or below, the register boxes hold well-formed texts, and Text1 is the
// most recent part of what arrived since it was last emptied, within its limit.
#include "panel/PanelView.h"
#include "panel/ResponseLimit.h"
#include "panel/SynthPanel.h"
#include "tests/fuzz/CommandText.h"
#include "tests/support/FakeLink.h"
#include "tests/support/RecordingReporter.h"

#include <algorithm>
#include <iterator>
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
};

// A whole line as sent: a command and its CR LF.
bool isCommandLine(std::string_view line) {
    return line.ends_with("\r\n") && owlet::fuzz::isCommandText(line.substr(0, line.size() - 2));
}

// The register boxes take typing too; left out here so their texts are the panel's own.
constexpr Control Inputs[] = {Control::Fref, Control::Fout, Control::Fcomp2, Control::RefOut,
                              Control::CPNo};
constexpr Control Buttons[] = {Control::SetR,  Control::SetN,   Control::SetC,
                               Control::SetCP, Control::Update, Control::StoreEE};
constexpr Control Checks[] = {Control::InvertPD, Control::LDE, Control::FrE, Control::FvE};
const char* const Texts[] = {"10",   "145.01",   "25",   "0",        "",     "-1",
                             "1",    "1e400",    "6.25", "OscIn /2", "12,5", "&H10",
                             "2000", "1638.375", "abc",  "0.0125"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    owlet::test::FakeLink link;
    link.highestPort = 4; // higher numbers are refused
    owlet::test::RecordingReporter reports;
    ArrivalView view;
    owlet::SynthPanel panel(link, reports);
    panel.setView(&view);
    panel.load();
    std::size_t at = 0;
    const auto next = [&]() -> unsigned {
        return at < size ? data[at++] : 0;
    };
    while (at < size) {
        const unsigned op = next() % 8;
        const unsigned arg = next();
        const std::size_t sentBefore = link.written.size();
        reports.errors.clear();
        switch (op) {
        case 0:
            panel.userEditedText(Inputs[arg % std::size(Inputs)], Texts[next() % std::size(Texts)]);
            break;
        case 1:
            panel.userChoseListEntry(arg % 2 ? Control::Fcomp2 : Control::RefOut,
                                     static_cast<int>(next() % 9) - 1);
            break;
        case 2:
            panel.userClickedOption(arg % 2 ? Control::PD0 : Control::PD1);
            break;
        case 3:
            panel.userSetCheck(Checks[arg % std::size(Checks)],
                               static_cast<std::int16_t>(next() % 3));
            break;
        case 4:
        case 5:
            panel.userPressedButton(Buttons[arg % std::size(Buttons)]);
            break;
        case 6:
            panel.userClickedField(arg % 2 ? Control::Fref : Control::Fout);
            break;
        default: {
            const std::size_t length = std::min<std::size_t>(arg, size - at);
            std::string bytes(reinterpret_cast<const char*>(data + at), length);
            at += length;
            if (arg % 64 == 0) // now and then a flood past the box's limit
                bytes.append(owlet::ResponseLimit / 3, static_cast<char>('A' + arg % 26));
            link.reply(bytes);
            break;
        }
        }
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
    }
    return 0;
}
