// "Set R ", "Set N" and "Set C": compute one register, show it, and send it while a port
// is in use.
#include "panel/SynthPanel.h"

#include "link/CommandLine.h"
#include "math/RegisterMath.h"

namespace owlet {
namespace {

// The arithmetic lets R and N leave their 16-bit registers, and the register text would
// silently keep the low 16 bits: 2000 MHz at 25 kHz would program R = 14464 (3880) while
// the user asked for 80000. Such a divider is refused before anything is shown or sent.
void requireRegisterRange(std::int32_t value, const char* name) {
    if (value < 0 || value > 65535)
        throw ArithmeticFault(FaultKind::Overflow, std::string(name) + " = " +
                                                       std::to_string(value) +
                                                       " does not fit the 16-bit " + name +
                                                       " register (0 to 65535); nothing was sent");
}

} // namespace

void SynthPanel::SetR_Click() {
    const double fcomp = readNumber(Control::Fcomp2);
    const double fref = readNumber(Control::Fref);
    const std::int32_t r = ComputeR(fref, fcomp);
    requireRegisterRange(r, "R");
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
    requireRegisterRange(n, "N");
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
