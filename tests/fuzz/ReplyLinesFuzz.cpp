// Fuzz target: received bytes become the response box's lines the same way however they
// are split into pieces; one character per byte, one break per CR LF, CR or LF, and no
// paragraph longer than the bound. The first byte chooses the split points.
#include "panel/ReplyLines.h"

#include <string>

namespace {

std::u16string latin1(const unsigned char* data, std::size_t size) {
    return std::u16string(data, data + size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size == 0)
        return 0;
    const unsigned step = data[0] % 16 + 1;
    const std::u16string received = latin1(data + 1, size - 1);

    owlet::ReplyLines whole;
    const std::u16string once = whole.take(received);
    owlet::ReplyLines pieces;
    std::u16string split;
    for (std::size_t at = 0; at < received.size(); at += step)
        split += pieces.take(std::u16string_view(received).substr(at, step));
    if (split != once)
        __builtin_trap();

    std::u16string expected; // the text with each line end as one '\n'
    for (std::size_t i = 0; i < received.size(); ++i) {
        if (received[i] == u'\n' && i > 0 && received[i - 1] == u'\r')
            continue;
        expected += received[i] == u'\r' ? u'\n' : received[i];
    }
    std::size_t paragraph = 0;
    std::u16string withoutCuts;
    for (std::size_t i = 0, j = 0; i < once.size(); ++i) {
        if (once[i] == u'\n' && (j >= expected.size() || expected[j] != u'\n')) {
            if (paragraph != owlet::ReplyLines::MaxParagraph) // a cut only where one is due
                __builtin_trap();
            paragraph = 0;
            continue;
        }
        paragraph = once[i] == u'\n' ? 0 : paragraph + 1;
        if (paragraph > owlet::ReplyLines::MaxParagraph)
            __builtin_trap();
        withoutCuts += once[i];
        ++j;
    }
    if (withoutCuts != expected)
        __builtin_trap();
    return 0;
}
