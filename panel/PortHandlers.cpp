// Choosing and opening the port, the update and store commands, and the module's replies.
#include "panel/SynthPanel.h"

#include "link/CommandLine.h"
#include "link/ModuleLink.h"
#include "math/ReadNumber.h"
#include "math/Rounding.h"
#include "panel/Latin1.h"

namespace owlet {

void SynthPanel::CPNo_Change() {
    setText(Control::SetCP, "Set");
    setBold(Control::SetCP, true);
}

void SynthPanel::SetCP_Click() {
    portNumber_ = RoundToInt16(readNumber(Control::CPNo));
    setVisible(Control::SetCP, false);
    setVisible(Control::CPNo, false);
    if (readNumber(Control::Fref) > 0.0)
        setVisible(Control::SetR, true);
    if (readNumber(Control::Fout) > 0.0)
        setVisible(Control::SetN, true);
    // Port 0 leaves the panel a calculator: nothing is opened or sent.
    if (portNumber_ != 0) {
        link_.setPortNumber(portNumber_);
        link_.open();
        setVisible(Control::Update, true);
        setVisible(Control::StoreEE, true);
        setVisible(Control::Text1, true);
        setVisible(Control::Label8, true);
    }
}

void SynthPanel::Update_Click() {
    setText(Control::Text1, "");
    sendLine(CommandLine(ModuleCommand::Update));
}

void SynthPanel::StoreEE_Click() {
    setText(Control::Text1, "");
    sendLine(CommandLine(ModuleCommand::StoreToEeprom));
}

// Whatever the event, everything waiting is appended as it came, byte for character.
void SynthPanel::MSComm1_OnComm() {
    appendText(Control::Text1, Latin1ToUtf8(link_.readAll()));
}

} // namespace owlet
