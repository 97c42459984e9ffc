#include "panel/ResponseParagraphs.h"

#include "panel/ResponseLimit.h"

namespace owlet {

std::size_t ResponseParagraphs::append(std::u16string_view text) {
    for (const char16_t c : text) {
        if (c == u'\n')
            lengths_.push_back(0);
        else
            ++lengths_.back();
        ++characters_;
    }
    if (characters_ <= ResponseLimit)
        return 0;
    std::size_t dropped = 0;
    while (lengths_.size() > 1 && characters_ > ResponseKept) {
        characters_ -= lengths_.front() + 1; // with its break
        lengths_.pop_front();
        ++dropped;
    }
    return dropped;
}

void ResponseParagraphs::clear() {
    lengths_.assign(1, 0);
    characters_ = 0;
}

} // namespace owlet
