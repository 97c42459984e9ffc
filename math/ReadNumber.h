#pragma once

#include <string_view>

namespace owlet {

// Reads the number a user typed. Blanks, tabs and line feeds are ignored wherever they
// stand; the longest leading decimal number is taken (optional sign, digits with at most
// one period, optional exponent) and everything after it is ignored; "&H" and "&O" start
// hexadecimal and octal integers. A text that does not begin with a number reads as 0.
// Only a number beyond the double range fails (Overflow); one too small for a double
// reads as 0 or a subnormal. The period is the decimal point whatever the locale.
double ReadNumber(std::string_view text);

} // namespace owlet
