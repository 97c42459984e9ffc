#include "panel/ResponseLimit.h"

namespace owlet {

std::size_t trimResponse(std::string& text) {
    if (text.size() <= ResponseLimit)
        return 0;
    const std::size_t earliest = text.size() - ResponseKept;
    const std::size_t latest = text.size() - ResponseAtLeast;
    std::size_t cut = text.find_first_of("\r\n", earliest);
    if (cut != std::string::npos && cut < latest) {
        ++cut;
        if (text[cut - 1] == '\r' && cut < text.size() && text[cut] == '\n')
            ++cut;
    } else {
        cut = earliest; // one long line: keep whole characters
        while (cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            ++cut;
    }
    text.erase(0, cut);
    return cut;
}

} // namespace owlet
