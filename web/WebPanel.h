#pragma once

#include "panel/ErrorReporter.h"
#include "panel/PanelView.h"
#include "panel/ReplyLines.h"
#include "panel/ResponseParagraphs.h"
#include "panel/SynthPanel.h"
#include "web/BrowserLink.h"
#include "web/PageHost.h"

#include <string>

namespace owlet::web {

// The panel in a web page: the same model, handlers and rules as the desktop window, its
// module link on the browser's serial ports, and the page told of every change.
class WebPanel final : private PanelView, private ErrorReporter {
public:
    explicit WebPanel(PageHost& host);

    SynthPanel& panel() { return panel_; }
    BrowserLink& link() { return link_; }

private:
    void propertyChanged(Control control, Property property) override;
    void textAppended(Control control, std::string_view appended) override;
    void announce(std::string_view words) override { host_.announced(words); }
    void report(const RunTimeError& error) override;
    void showResponse(std::string_view utf8);

    PageHost& host_;
    BrowserLink link_;
    SynthPanel panel_;
    ReplyLines lines_;
    ResponseParagraphs paragraphs_;
};

} // namespace owlet::web
