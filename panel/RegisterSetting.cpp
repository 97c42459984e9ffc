// "Set R ", "Set N" and "Set C": compute one register, show it, and send it while a port
// is in use.
#include "panel/SynthPanel.h"

#include "link/CommandLine.h"
#include "math/RegisterMath.h"

namespace owlet {

void SynthPanel::SetR_Click() {
    const double fcomp = readNumber(Control::Fcomp2);
    const double fref = readNumber(Control::Fref);
    const std::int32_t r = ComputeR(fref, fcomp);
    RequireRegisterRange(r, "R");
    const double actual = ActualFcompKHz(readNumber(Control::Fref), r);
    // A later "Set N" works from the comparison frequency R really gives.
    setText(Control::Fcomp2, NumberText(actual));
    showAndSendDivider(Control::Rreg, ModuleCommand::ReferenceDivider, r);
}

void SynthPanel::SetN_Click() {
    setVisible(Control::Warn, false);
    const double fcomp = readNumber(Control::Fcomp2);
    const double fout = readNumber(Control::Fout);
    const std::int32_t n = ComputeN(fout, fcomp);
    RequireRegisterRange(n, "N");
    const std::int32_t error =
        FrequencyErrorHz(n, readNumber(Control::Fcomp2), readNumber(Control::Fout));
    if (NeedsWarning(error)) {
        setVisible(Control::Warn, true);
        setText(Control::Warn, WarningText(error));
    }
    showAndSendDivider(Control::Nreg, ModuleCommand::FeedbackDivider, n);
}

// The last steps of "Set R " and "Set N": empty the response box, show the register text,
// send it while a port is in use, and offer "Update" and "Store to EE".
void SynthPanel::showAndSendDivider(Control box, ModuleCommand command, std::int32_t value) {
    setText(Control::Text1, "");
    const std::string s = FormatRegister(value, 4);
    setText(box, s);
    if (portNumber_ > 0)
        sendLine(CommandLine(command, s));
    RevealUpdateStore();
}

void SynthPanel::SetC_Click() {
    const std::int32_t c = AssembleC(state(Control::RefOut).listIndex, state(Control::PD0).selected,
                                     state(Control::InvertPD).value, state(Control::LDE).value,
                                     state(Control::FvE).value, state(Control::FrE).value);
    setText(Control::Creg, FormatRegister(c, 2));
    if (portNumber_ > 0)
        sendLine(CommandLine(ModuleCommand::Control, text(Control::Creg)));
}

// Offers "Update" and "Store to EE" once both dividers are set, a port is in use and the
// reference reads above 0. Never hides them.
void SynthPanel::RevealUpdateStore() {
    const bool rSet = !text(Control::Rreg).empty();
    const bool nSet = !text(Control::Nreg).empty();
    const double fref = readNumber(Control::Fref);
    if (rSet && nSet && portNumber_ > 0 && fref > 0.0) {
        setVisible(Control::Update, true);
        setVisible(Control::StoreEE, true);
    }
}

} // namespace owlet
