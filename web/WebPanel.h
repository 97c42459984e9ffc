#pragma once

#include "loop/LoopDesigner.h"
#include "panel/ErrorReporter.h"
#include "panel/PanelView.h"
#include "panel/ReplyLines.h"
#include "panel/ResponseParagraphs.h"
#include "panel/SynthPanel.h"
#include "web/BrowserLink.h"
#include "web/PageHost.h"

#include <memory>
#include <string>

namespace owlet::web {

// The panel in a web page: the same model, handlers and rules as the desktop window, its
// module link on the browser's serial ports, and the page told of every change.
class WebPanel final : private PanelView, private ErrorReporter {
public:
    explicit WebPanel(PageHost& host);

    SynthPanel& panel() { return panel_; }
    // The loop designer, made and fed the panel's setting the first time it is asked for.
    loop::LoopDesigner& loop();
    BrowserLink& link() { return link_; }

private:
    void propertyChanged(Control control, Property property) override;
    void textAppended(Control control, std::string_view appended) override;
    void report(const RunTimeError& error) override;
    void showResponse(std::string_view utf8);

    PageHost& host_;
    BrowserLink link_;
    SynthPanel panel_;
    ReplyLines lines_;
    ResponseParagraphs paragraphs_;
    std::unique_ptr<loop::LoopDesigner> loop_;
};

} // namespace owlet::web
