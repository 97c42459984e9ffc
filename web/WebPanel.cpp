#include "web/WebPanel.h"

#include "panel/Latin1.h"

namespace owlet::web {

WebPanel::WebPanel(PageHost& host)
    : host_(host)
    , link_(host)
    , panel_(link_, *this) {
    panel_.setView(this);
}

void WebPanel::propertyChanged(Control control, Property property) {
    if (control == Control::Text1 && property == Property::Text) {
        // The panel only ever empties the box: start it again from the model's text.
        lines_.reset();
        paragraphs_.clear();
        host_.responseCleared();
        showResponse(panel_.text(Control::Text1));
    }
    host_.propertyChanged(control, property);
}

void WebPanel::textAppended(Control control, std::string_view appended) {
    if (control == Control::Text1)
        showResponse(appended);
}

void WebPanel::showResponse(std::string_view appended) {
    const std::u16string text = lines_.take(Latin1Utf8ToUtf16(appended));
    if (text.empty())
        return;
    host_.responseAppended(paragraphs_.append(text), Latin1Utf16ToUtf8(text));
}

void WebPanel::report(const RunTimeError& error) {
    host_.runTimeError(error.kind, error.message);
}

} // namespace owlet::web
