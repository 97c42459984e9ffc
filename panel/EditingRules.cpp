// The panel's reaction to edits of its inputs: empty stale register boxes, turn the edited
// frequency field white, show or hide the action buttons. Nothing is computed or sent.
#include "panel/SynthPanel.h"

namespace owlet {

void SynthPanel::Fref_Change() {
    // A register text reads as 0 when it starts with a letter or its leading decimal
    // digits are all zeros (00C8, A000); such an R is emptied, 0190 is kept.
    if (readNumber(Control::Rreg) == 0.0)
        setText(Control::Rreg, "");
    setText(Control::Creg, "");
    setBackColor(Control::Fref, White);
    setVisible(Control::SetR, true);
    setVisible(Control::Update, false);
    setVisible(Control::StoreEE, false);
}

// Empties the field whatever it holds; when it held text, Fref_Change runs inside.
void SynthPanel::Fref_Click() {
    setText(Control::Fref, "");
}

void SynthPanel::Fout_Change() {
    setText(Control::Nreg, "");
    setBackColor(Control::Fout, White);
    setVisible(Control::SetN, true);
    setVisible(Control::Update, false);
    setVisible(Control::StoreEE, false);
}

// Clears the prompt or a zero, but leaves a typed output frequency in place.
void SynthPanel::Fout_Click() {
    if (readNumber(Control::Fout) == 0.0)
        setText(Control::Fout, "");
}

void SynthPanel::Fcomp2_Click() {
    setVisible(Control::Update, false);
    setVisible(Control::StoreEE, false);
    setText(Control::Nreg, "");
    setText(Control::Rreg, "");
    setText(Control::Creg, "");
}

// A change of any option of the control byte offers "Set C" and changes nothing else: one
// behaviour for the option buttons, the check boxes and typing in RefOut's field.
void SynthPanel::RevealSetC() {
    setVisible(Control::SetC, true);
}

} // namespace owlet
