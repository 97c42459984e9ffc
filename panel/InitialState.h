#pragma once

#include "panel/Control.h"
#include "panel/ControlState.h"

#include <array>

namespace owlet {

using ControlStates = std::array<ControlState, ControlCount>;

// Every control as the window opens, before start-up runs.
ControlStates initialControlStates();

inline constexpr std::string_view WindowCaption = "Quartzel      OWLET";

} // namespace owlet
