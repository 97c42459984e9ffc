#include "web/WebPanel.h"

namespace owlet::web {
namespace {

// UTF-8 as UTF-16; the response box holds Latin-1 characters only, so one unit each.
std::u16string utf16(std::string_view utf8) {
    std::u16string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0xC0 && c < 0xE0 && i + 1 < utf8.size())
            text += static_cast<char16_t>((c & 0x1F) << 6 | (utf8[++i] & 0x3F));
        else
            text += static_cast<char16_t>(c);
    }
    return text;
}

std::string utf8(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (const char16_t c : text) {
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else {
            bytes += static_cast<char>(0xC0 | c >> 6);
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return bytes;
}

} // namespace

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
    const std::u16string text = lines_.take(utf16(appended));
    if (text.empty())
        return;
    host_.responseAppended(paragraphs_.append(text), utf8(text));
}

void WebPanel::report(const RunTimeError& error) {
    host_.runTimeError(error.kind, error.message);
}

} // namespace owlet::web
