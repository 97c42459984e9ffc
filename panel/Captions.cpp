#include "panel/Captions.h"

namespace owlet {
namespace {

struct Caption {
    Control input;
    Control label;
};
constexpr Caption Captions[] = {
    {Control::Fref, Control::Label1},  {Control::Fcomp2, Control::Label3},
    {Control::Fout, Control::Label2},  {Control::Rreg, Control::Label5},
    {Control::Nreg, Control::Label4},  {Control::Creg, Control::Label13},
    {Control::Text1, Control::Label8},
};

} // namespace

std::optional<Control> captionLabelOf(Control input) {
    for (const Caption& c : Captions)
        if (c.input == input)
            return c.label;
    return std::nullopt;
}

std::string_view ownNameOf(Control input) {
    switch (input) {
    case Control::RefOut:
        return "REFout frequency";
    case Control::CPNo:
        return "COM port number";
    default:
        return {};
    }
}

std::string_view editedDescription(bool edited) {
    return edited ? "Edited" : "Not edited yet: shows the prompt Enter value";
}

bool isEdited(unsigned backColor) {
    return backColor != Red;
}

namespace {
std::string replaced(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    for (std::size_t at = 0;;) {
        const std::size_t found = text.find(from, at);
        out += text.substr(at, found - at);
        if (found == std::string_view::npos)
            return out;
        out += to;
        at = found + from.size();
    }
}
} // namespace

std::string noteToolTip(std::string_view note) {
    return replaced(note, "; ", ";\n");
}

std::string captionText(std::string_view text) {
    return replaced(text, "\r\n", "\n");
}

} // namespace owlet
