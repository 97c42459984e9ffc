#pragma once

#include "panel/Control.h"

namespace owlet {

class ControlWidgets;
class SynthPanel;

// Shows the panel model's state on the widgets: one property of one control at a time,
// as the model reports its changes. A control not made yet takes its state when it is.
class ModelMirror {
public:
    ModelMirror(const SynthPanel& panel, const ControlWidgets& widgets)
        : panel_(panel)
        , widgets_(widgets) {}

    void mirror(Control control, Property property) const;
    void mirrorAll(Control control) const;

private:
    void mirrorCombo(Control control) const;

    const SynthPanel& panel_;
    const ControlWidgets& widgets_;
};

} // namespace owlet
