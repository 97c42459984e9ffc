#pragma once

#include "panel/Control.h"
#include "web/BrowserLink.h"

#include <cstddef>
#include <string_view>

namespace owlet::web {

// The page as the panel's core sees it: the view to tell of changes, the place for
// run-time errors, and the browser's serial ports.
class PageHost : public SerialHost {
public:
    virtual void propertyChanged(Control control, Property property) = 0;
    // The response box: drop `dropped` paragraphs from its top, then append `text`, whose
    // '\n' start new paragraphs.
    virtual void responseAppended(std::size_t dropped, std::string_view text) = 0;
    virtual void responseCleared() = 0;
    virtual void runTimeError(std::string_view kind, std::string_view message) = 0;
    // The words a screen reader says after a press (a live region of the page).
    virtual void announced(std::string_view words) = 0;
};

} // namespace owlet::web
