#pragma once

#include <cstddef>
#include <deque>
#include <string_view>

namespace owlet {

// The paragraphs a response box shows, by length, and the box's scrollback rule on them:
// once it holds more than ResponseLimit characters (a break between paragraphs counts one),
// whole paragraphs go from the top until about ResponseKept remain; the last one stays.
// The window's box and the web page's box both follow it.
class ResponseParagraphs {
public:
    // Takes text as ReplyLines lays it out ('\n' between paragraphs) and returns how many
    // paragraphs the box drops from the top once it is appended.
    std::size_t append(std::u16string_view text);
    void clear();
    std::size_t characters() const { return characters_; }

private:
    std::deque<std::size_t> lengths_{0};
    std::size_t characters_ = 0;
};

} // namespace owlet
