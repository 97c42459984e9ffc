#pragma once

#include <QFont>

namespace owlet {

class ControlWidgets;

// The window's own font, used by every control without a font of its own.
QFont defaultFont();
// The font of the frequency fields and the warning, and bold that of the banner.
QFont entryFont(bool bold);

// Gives every control the font, colours and alignment of its row in the layout.
void applyLook(const ControlWidgets& widgets);

} // namespace owlet
