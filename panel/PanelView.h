#pragma once

#include "panel/Control.h"

#include <string_view>

namespace owlet {

// Whatever shows the panel: told of every property change as it happens, and of text
// appended to a box with only the appended part, so a long response box costs nothing;
// after each press that ran to its end, the words a screen reader should say of it.
class PanelView {
public:
    virtual ~PanelView() = default;
    virtual void propertyChanged(Control control, Property property) = 0;
    virtual void textAppended(Control control, std::string_view appended) = 0;
    virtual void announce(std::string_view words) = 0;
};

} // namespace owlet
