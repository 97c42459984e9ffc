#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace owlet {

// How received text is laid out in lines: CR LF, a lone CR and a lone LF each end a line,
// also when CR and LF arrive in different pieces, and a line without line breaks is cut
// into paragraphs of at most MaxParagraph characters, so no paragraph grows without bound.
// One char16_t per received character; the result marks every break with '\n'.
class ReplyLines {
public:
    static constexpr std::size_t MaxParagraph = 512;

    std::u16string take(std::u16string_view received);
    void reset();

private:
    bool lastWasCarriageReturn_ = false;
    std::size_t paragraphLength_ = 0;
};

} // namespace owlet
