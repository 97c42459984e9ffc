#pragma once

#include <string>
#include <string_view>

namespace owlet {

// Bytes from the module as text, one character per byte: 0x00-0x7F as they are, 0x80-0xFF
// as the Latin-1 characters U+0080-U+00FF, encoded in UTF-8. NUL is kept.
std::string Latin1ToUtf8(std::string_view bytes);

// Such text as UTF-16, one unit a character, and back: what ReplyLines and a response box
// take. Only the characters U+0000-U+00FF occur.
std::u16string Latin1Utf8ToUtf16(std::string_view utf8);
std::string Latin1Utf16ToUtf8(std::u16string_view text);

} // namespace owlet
