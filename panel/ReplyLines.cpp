#include "panel/ReplyLines.h"

namespace owlet {

std::u16string ReplyLines::take(std::u16string_view received) {
    std::u16string text;
    text.reserve(received.size() + received.size() / MaxParagraph + 1);
    for (const char16_t c : received) {
        if (c == u'\n' && lastWasCarriageReturn_) {
            lastWasCarriageReturn_ = false;
            continue;
        }
        lastWasCarriageReturn_ = c == u'\r';
        if (c == u'\r' || c == u'\n') {
            text += u'\n';
            paragraphLength_ = 0;
            continue;
        }
        if (paragraphLength_ == MaxParagraph) {
            text += u'\n';
            paragraphLength_ = 0;
        }
        text += c;
        ++paragraphLength_;
    }
    return text;
}

void ReplyLines::reset() {
    lastWasCarriageReturn_ = false;
    paragraphLength_ = 0;
}

} // namespace owlet
