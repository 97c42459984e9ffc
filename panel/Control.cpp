#include "panel/Control.h"

#include <array>

namespace owlet {
namespace {

struct ControlInfo {
    std::string_view name;
    ControlKind kind;
};

using K = ControlKind;
constexpr std::array<ControlInfo, ControlCount> controls{{
    {"Text1", K::MultiLineTextBox}, {"Fref", K::TextBox},          {"Fout", K::TextBox},
    {"Label1", K::Label},           {"Label2", K::Label},          {"Label3", K::Label},
    {"SetN", K::CommandButton},     {"Nreg", K::TextBox},          {"Rreg", K::TextBox},
    {"Label4", K::Label},           {"Label5", K::Label},          {"SetR", K::CommandButton},
    {"Update", K::CommandButton},   {"StoreEE", K::CommandButton}, {"Warn", K::Label},
    {"SetCP", K::CommandButton},    {"CPNo", K::TextBox},          {"Label7", K::Label},
    {"Label8", K::Label},           {"Fcomp2", K::ComboBox},       {"SetC", K::CommandButton},
    {"Label13", K::Label},          {"Creg", K::TextBox},          {"PD0", K::OptionButton},
    {"PD1", K::OptionButton},       {"InvertPD", K::CheckBox},     {"RefOut", K::ComboBox},
    {"FvE", K::CheckBox},           {"FrE", K::CheckBox},          {"LDE", K::CheckBox},
    {"Frame1", K::Frame},           {"Frame2", K::Frame},
}};

} // namespace

std::string_view controlName(Control control) {
    return controls[indexOf(control)].name;
}

ControlKind controlKind(Control control) {
    return controls[indexOf(control)].kind;
}

ControlRole controlRole(Control control) {
    switch (control) {
    case Control::Text1:
        return ControlRole::Response;
    case Control::Warn:
        return ControlRole::Alert;
    case Control::CPNo:
        return ControlRole::PortNumber;
    default:
        return ControlRole::Plain;
    }
}

std::string_view controlRoleName(ControlRole role) {
    switch (role) {
    case ControlRole::Plain:
        return "Plain";
    case ControlRole::Response:
        return "Response";
    case ControlRole::Alert:
        return "Alert";
    case ControlRole::PortNumber:
        return "PortNumber";
    }
    return {};
}

// Switches rather than tables, so each name stays with its value whatever the order.
std::string_view propertyName(Property property) {
    switch (property) {
    case Property::Text:
        return "Text";
    case Property::Visible:
        return "Visible";
    case Property::BackColor:
        return "BackColor";
    case Property::ListIndex:
        return "ListIndex";
    case Property::Value:
        return "Value";
    case Property::Selected:
        return "Selected";
    case Property::Bold:
        return "Bold";
    case Property::Note:
        return "Note";
    }
    return {};
}

std::string_view controlKindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::TextBox:
        return "TextBox";
    case ControlKind::MultiLineTextBox:
        return "MultiLineTextBox";
    case ControlKind::ComboBox:
        return "ComboBox";
    case ControlKind::CheckBox:
        return "CheckBox";
    case ControlKind::OptionButton:
        return "OptionButton";
    case ControlKind::CommandButton:
        return "CommandButton";
    case ControlKind::Label:
        return "Label";
    case ControlKind::Frame:
        return "Frame";
    }
    return {};
}

} // namespace owlet
