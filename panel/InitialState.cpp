#include "panel/InitialState.h"

#include "math/RegisterPlan.h"

namespace owlet {

ControlStates initialControlStates() {
    ControlStates c;
    const auto set = [&c](Control control, std::string text, bool visible = true) -> ControlState& {
        ControlState& state = c[indexOf(control)];
        state.text = std::move(text);
        state.visible = visible;
        return state;
    };

    set(Control::Fref, "Enter value").backColor = Red;
    set(Control::Fcomp2, "25").list = {FcompListKHz.begin(), FcompListKHz.end()};
    set(Control::Fout, "Enter value").backColor = Red;
    set(Control::Rreg, "");
    set(Control::Nreg, "");
    set(Control::Creg, "00000");
    set(Control::SetR, "Set R ", false);
    set(Control::SetN, "Set N", false);
    set(Control::SetC, "Set C", false);
    set(Control::PD0, "PhV/PhR").selected = true;
    set(Control::PD1, "PDout").selected = false;
    set(Control::InvertPD, "Invert PD").value = 0;
    set(Control::FvE, "Fv Enable").value = 1;
    set(Control::FrE, "Fr Enable").value = 1;
    set(Control::LDE, "LD Enable").value = 1;
    set(Control::RefOut, "Ref Out").list = {RefOutNames.begin(), RefOutNames.end()};
    set(Control::CPNo, "1");
    set(Control::SetCP, "COM Port").bold = false;
    set(Control::Update, "Update", false);
    set(Control::StoreEE, "Store to EE", false);
    set(Control::Text1, "", false);
    set(Control::Label8, "Response from Synth Module", false);
    set(Control::Warn, "Warning", false);
    set(Control::Label7,
        "Remote programming for VHF synthsizer modules running ''LARKSPUR\" software.");
    set(Control::Label1, "Reference MHz");
    set(Control::Label3, "Fcomp kHz");
    set(Control::Label2, "Fout  MHz");
    set(Control::Label5, "R Register");
    set(Control::Label4, "N Register");
    set(Control::Label13, "C Register");
    set(Control::Frame1, "Phase Detector");
    set(Control::Frame2, "Options");
    return c;
}

} // namespace owlet
