#pragma once

#include <cstddef>
#include <string_view>

namespace owlet {

// The controls of the one window, numbered in tab order (Text1 is 0, Frame2 is 31).
enum class Control {
    Text1,
    Fref,
    Fout,
    Label1,
    Label2,
    Label3,
    SetN,
    Nreg,
    Rreg,
    Label4,
    Label5,
    SetR,
    Update,
    StoreEE,
    Warn,
    SetCP,
    CPNo,
    Label7,
    Label8,
    Fcomp2,
    SetC,
    Label13,
    Creg,
    PD0,
    PD1,
    InvertPD,
    RefOut,
    FvE,
    FrE,
    LDE,
    Frame1,
    Frame2,
};

inline constexpr std::size_t ControlCount = 32;

constexpr std::size_t indexOf(Control control) {
    return static_cast<std::size_t>(control);
}

enum class ControlKind {
    TextBox,
    MultiLineTextBox,
    ComboBox,
    CheckBox,
    OptionButton,
    CommandButton,
    Label,
    Frame
};

// The properties handlers read and write; a view is told which one changed.
enum class Property {
    Text, // text of a box or combo box, caption of a button, label or frame
    Visible,
    BackColor, // text boxes, RGB
    ListIndex, // combo boxes, -1 when no entry is selected
    Value,     // check boxes: 0, 1 ticked, 2 greyed
    Selected,  // option buttons
    Bold,      // caption font of a command button
    Note,      // words on a value: a divider the chip cannot count with, the exact setting
};

// What a control is to a view beyond its kind: the response box the module's replies go
// to, the warning that is announced, the port number box whose tooltip lists the ports.
enum class ControlRole { Plain, Response, Alert, PortNumber };

std::string_view controlName(Control control);
ControlKind controlKind(Control control);
ControlRole controlRole(Control control);
std::string_view controlRoleName(ControlRole role); // "Response", ...; empty past them
std::string_view propertyName(Property property);   // "Text", "ListIndex", ...; empty past them
std::string_view controlKindName(ControlKind kind); // "TextBox", ...; empty past them

inline constexpr unsigned Red = 0xFF0000;
inline constexpr unsigned White = 0xFFFFFF;

} // namespace owlet
