#include "panel/PressWords.h"

#include <string>

namespace owlet {
namespace {

// The registers the "Set" buttons compute: the button, its command letter, its box.
struct SetButton {
    Control button;
    char letter;
    Control box;
};
constexpr SetButton SetButtons[] = {
    {Control::SetR, 'R', Control::Rreg},
    {Control::SetN, 'N', Control::Nreg},
    {Control::SetC, 'C', Control::Creg},
};

const SetButton* setButton(Control button) {
    for (const SetButton& b : SetButtons)
        if (b.button == button)
            return &b;
    return nullptr;
}

// The warning's two lines as one sentence.
std::string OneLine(std::string_view text) {
    std::string line;
    for (const char c : text)
        if (c == '\r' || c == '\n') {
            if (!line.empty() && line.back() != ' ')
                line += ' ';
        } else {
            line += c;
        }
    return line;
}

// A command line as words: "R0190\r\n" is "R 0190", "U\r\n" is "U".
std::string SpokenCommand(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    if (line.size() <= 1)
        return std::string(line);
    return std::string(1, line.front()) + ' ' + std::string(line.substr(1));
}

} // namespace

std::optional<Control> RegisterBoxOf(Control button) {
    if (const SetButton* set = setButton(button))
        return set->box;
    return std::nullopt;
}

std::string PressWords(const PressOutcome& outcome) {
    std::string words;
    for (const std::string& line : outcome.sentLines)
        words += (words.empty() ? "" : ", ") + SpokenCommand(line) + " sent";
    if (const SetButton* set = setButton(outcome.button); set && words.empty())
        words = std::string(1, set->letter) + ' ' + outcome.shownRegister +
                " computed, not sent: port " + std::to_string(outcome.port);
    if (outcome.button == Control::SetCP)
        words = outcome.port == 0 ? "Port 0: the panel computes, nothing is sent"
                                  : "Port " + std::to_string(outcome.port) + " open";
    if (!outcome.warning.empty())
        words += ". " + OneLine(outcome.warning);
    return words;
}

} // namespace owlet
