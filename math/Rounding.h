#pragma once

#include <cstdint>

namespace owlet {

// The integer nearest to x, an exact half going to the even neighbour (2.5 -> 2,
// 3.5 -> 4, -2.5 -> -2). Overflow when that integer lies outside the target range
// or x is not a number.
std::int32_t RoundToInt32(double x);
std::int16_t RoundToInt16(double x);

} // namespace owlet
