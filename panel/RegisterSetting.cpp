// "Set R ", "Set N" and "Set C": compute one register, show it, and send it while a port
// is in use.
#include "panel/SynthPanel.h"

#include "link/CommandLine.h"
#include "math/RegisterMath.h"

#include <charconv>

namespace owlet {

void SynthPanel::SetR_Click() {
    const ReferencePlan r =
        *PlanRegisters(text(Control::Fref), text(Control::Fcomp2), std::nullopt).r;
    RequireComputed(r);
    // A later "Set N" works from the comparison frequency R really gives.
    setText(Control::Fcomp2, r.actualFcompText);
    showAndSendDivider(Control::Rreg, ModuleCommand::ReferenceDivider, r.hex);
}

void SynthPanel::SetN_Click() {
    setVisible(Control::Warn, false);
    const OutputPlan n = *PlanRegisters(std::nullopt, text(Control::Fcomp2), text(Control::Fout)).n;
    RequireComputed(n);
    if (n.inexact) {
        setVisible(Control::Warn, true);
        setText(Control::Warn, WarningText(n.errorHz));
        setNote(Control::Warn, exactSettingNote());
    }
    showAndSendDivider(Control::Nreg, ModuleCommand::FeedbackDivider, n.hex);
}

// The setting that makes the typed output exact, for the warning's tooltip. Advice only: a
// text that reads beyond the double range leaves it empty instead of stopping the press.
std::string SynthPanel::exactSettingNote() const {
    try {
        if (const auto setting = FindExactSetting(text(Control::Fref), text(Control::Fout)))
            return ExactSettingText(*setting);
        return "Enter a reference frequency above 0 to find the exact setting";
    } catch (const ArithmeticFault&) {
        return {};
    }
}

// A register box marks a divider the chip cannot count with; emptied, or holding one it
// takes, it is plain again. The value is the one the box shows.
void SynthPanel::markChipLimit(Control box) {
    const std::string& shown = text(box);
    const char* end = shown.data() + shown.size();
    std::uint32_t value = 0;
    const auto [at, error] = std::from_chars(shown.data(), end, value, 16);
    const bool divider = shown.size() == 4 && error == std::errc() && at == end;
    setNote(box, divider ? ChipLimitAdvice(box == Control::Rreg ? 'R' : 'N',
                                           static_cast<std::int32_t>(value))
                         : std::string());
}

// The last steps of "Set R " and "Set N": empty the response box, show the register text,
// send it while a port is in use, and offer "Update" and "Store to EE".
void SynthPanel::showAndSendDivider(Control box, ModuleCommand command, const std::string& hex) {
    setText(Control::Text1, "");
    setText(box, hex);
    if (portNumber_ > 0)
        sendLine(CommandLine(command, hex));
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
