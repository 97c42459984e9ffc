#pragma once

#include "panel/ResponseLimit.h"
#include "panel/SynthPanel.h"
#include "tests/support/FakeLink.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

namespace owlet::test {

// Bytes read as a sequence of user actions and module replies on the panel, the way the
// panel-actions fuzz target and the two-core comparison read them. `step` runs after each.
template <typename Step>
void playActions(std::string_view data, SynthPanel& panel, FakeLink& link, Step step) {
    // The register boxes take typing too; left out here so their texts are the panel's own.
    constexpr Control Inputs[] = {Control::Fref, Control::Fout, Control::Fcomp2, Control::RefOut,
                                  Control::CPNo};
    constexpr Control Buttons[] = {Control::SetR,  Control::SetN,   Control::SetC,
                                   Control::SetCP, Control::Update, Control::StoreEE};
    constexpr Control Checks[] = {Control::InvertPD, Control::LDE, Control::FrE, Control::FvE};
    constexpr const char* Texts[] = {"10",   "145.01",   "25",   "0",        "",     "-1",
                                     "1",    "1e400",    "6.25", "OscIn /2", "12,5", "&H10",
                                     "2000", "1638.375", "abc",  "0.0125"};
    std::size_t at = 0;
    const auto next = [&]() -> unsigned {
        return at < data.size() ? static_cast<unsigned char>(data[at++]) : 0;
    };
    while (at < data.size()) {
        const unsigned op = next() % 8;
        const unsigned arg = next();
        switch (op) {
        case 0: {
            // One of the texts above, or (from 128 on) a number typed character by character.
            const unsigned pick = next();
            std::string text = pick < 128 ? Texts[pick % std::size(Texts)] : "";
            for (unsigned i = 0; pick >= 128 && i <= pick % 14; ++i)
                text += "0123456789.e-+ "[next() % 15];
            panel.userEditedText(Inputs[arg % std::size(Inputs)], text);
            break;
        }
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
            const std::size_t length = std::min<std::size_t>(arg, data.size() - at);
            std::string bytes(data.substr(at, length));
            at += length;
            if (arg % 64 == 0) // now and then a flood past the box's limit
                bytes.append(ResponseLimit / 3, static_cast<char>('A' + arg % 26));
            link.reply(bytes);
            break;
        }
        }
        step();
    }
}

} // namespace owlet::test
