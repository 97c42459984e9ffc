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

void SynthPanel::revealSetC() {
    setVisible(Control::SetC, true);
}
void SynthPanel::PD0_Click() {
    revealSetC();
}
void SynthPanel::PD1_Click() {
    revealSetC();
}
void SynthPanel::InvertPD_Click() {
    revealSetC();
}
void SynthPanel::LDE_Click() {
    revealSetC();
}
void SynthPanel::FrE_Click() {
    revealSetC();
}
void SynthPanel::FvE_Click() {
    revealSetC();
}
void SynthPanel::RefOut_Change() {
    revealSetC();
}

} // namespace owlet
