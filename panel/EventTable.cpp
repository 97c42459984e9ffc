// Which handler runs on which event: the one route from the user's input, the start-up
// and the serial control's event to the handlers. A control's new handler is one row here.
#include "panel/SynthPanel.h"

namespace owlet {

using C = Control;
using E = Event;
using P = SynthPanel;

// One row a line, aligned by hand.
// clang-format off
const P::Binding P::Bindings[] = {
    {std::nullopt, E::Load,       &P::Form_Load},
    {C::Fref,      E::TextChange, &P::Fref_Change},
    {C::Fref,      E::Click,      &P::Fref_Click},
    {C::Fout,      E::TextChange, &P::Fout_Change},
    {C::Fout,      E::Click,      &P::Fout_Click},
    {C::Fcomp2,    E::ListChoice, &P::Fcomp2_Click},
    {C::RefOut,    E::TextChange, &P::RevealSetC}, // RefOut_Change
    {C::PD0,       E::Click,      &P::RevealSetC}, // PD0_Click
    {C::PD1,       E::Click,      &P::RevealSetC}, // PD1_Click
    {C::InvertPD,  E::Click,      &P::RevealSetC}, // InvertPD_Click
    {C::LDE,       E::Click,      &P::RevealSetC}, // LDE_Click
    {C::FrE,       E::Click,      &P::RevealSetC}, // FrE_Click
    {C::FvE,       E::Click,      &P::RevealSetC}, // FvE_Click
    {C::SetR,      E::Click,      &P::SetR_Click},
    {C::SetN,      E::Click,      &P::SetN_Click},
    {C::SetC,      E::Click,      &P::SetC_Click},
    {C::CPNo,      E::TextChange, &P::CPNo_Change},
    {C::SetCP,     E::Click,      &P::SetCP_Click},
    {C::Update,    E::Click,      &P::Update_Click},
    {C::StoreEE,   E::Click,      &P::StoreEE_Click},
    {std::nullopt, E::Comm,       &P::MSComm1_OnComm},
};
// clang-format on

void SynthPanel::raise(std::optional<Control> control, Event event) {
    for (const Binding& binding : Bindings)
        if (binding.control == control && binding.event == event)
            return (this->*binding.handler)();
}

} // namespace owlet
