#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace owlet {

// What the panel knows of one control. Texts are UTF-8.
struct ControlState {
    std::string text; // text or caption
    bool visible = true;
    std::optional<unsigned> backColor; // set only where the logic owns the colour
    std::vector<std::string> list;     // combo box entries
    std::int16_t listIndex = -1;
    std::int16_t value = 0; // check box
    bool selected = false;  // option button
    bool bold = false;      // command button caption
    // What the panel says about the value shown, for the eye and the screen reader alike;
    // in a register box it marks a divider the chip cannot count with. Empty: nothing.
    std::string note;
};

} // namespace owlet
