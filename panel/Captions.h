#pragma once

#include "panel/Control.h"

#include <optional>
#include <string>
#include <string_view>

namespace owlet {

// What a screen reader calls each input: the caption of its label where it has one, else
// a name of its own. The window and the web page both name their inputs so.

// The label whose caption names `input` ("Reference MHz" for Fref), if one does.
std::optional<Control> captionLabelOf(Control input);
// The name of an input without a caption label ("REFout frequency"); empty for others.
std::string_view ownNameOf(Control input);
// What the frequency fields Fref and Fout say of themselves: edited, or still showing the
// prompt. Ends in NUL.
std::string_view editedDescription(bool edited);
// A frequency field counts as edited once its background is no longer red.
bool isEdited(unsigned backColor);
// A note as its tooltip shows it: each "; " ends a line.
std::string noteToolTip(std::string_view note);
// A caption as a label shows it: CR LF, the caption's line break, as one LF.
std::string captionText(std::string_view text);

} // namespace owlet
