#pragma once

#include "panel/Control.h"

class QWidget;

namespace owlet {

class ControlWidgets;

// Names an input for a screen reader by its caption: through the caption label's buddy
// where it has one, and outright as well, since Qt names a focused text box by its buddy
// but not every screen reader asks for the relation. Inputs without a label of their own
// carry a name of ours. Controls that are not made yet are left out.
void applyAccessibleName(Control control, const ControlWidgets& widgets);

// The red or white background of a frequency field, in words.
void describeEdited(QWidget* field, bool edited);

} // namespace owlet
