#include "panel/Latin1.h"

#include <type_traits>

namespace owlet {
namespace {

// Characters U+0000-U+00FF, one unit each (a byte, or a UTF-16 unit), in UTF-8.
template <typename Unit> std::string utf8Of(std::basic_string_view<Unit> units) {
    std::string text;
    text.reserve(units.size());
    for (const Unit unit : units) {
        const auto c = static_cast<unsigned>(static_cast<std::make_unsigned_t<Unit>>(unit));
        if (c < 0x80) {
            text.push_back(static_cast<char>(c));
        } else {
            text.push_back(static_cast<char>(0xC0 | (c >> 6)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return text;
}

} // namespace

std::string Latin1ToUtf8(std::string_view bytes) {
    return utf8Of(bytes);
}

std::u16string Latin1Utf8ToUtf16(std::string_view utf8) {
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

std::string Latin1Utf16ToUtf8(std::u16string_view text) {
    return utf8Of(text);
}

} // namespace owlet
