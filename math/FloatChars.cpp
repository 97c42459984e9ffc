#include "math/FloatChars.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <version>

namespace owlet {
namespace fallback {

// The C library reads the C locale's form here: the stand-ins serve only where nothing
// sets a locale (the WebAssembly build), and the tests.
ParsedDouble ParseDouble(std::string_view text, bool hex) {
    const std::string number = (hex ? "0x" : "") + std::string(text);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(number.c_str(), &end);
    const auto taken = static_cast<std::size_t>(end - number.c_str());
    ParsedDouble parsed;
    if (taken <= (hex ? 2u : 0u))
        return parsed;
    parsed.length = taken - (hex ? 2 : 0);
    // ERANGE also marks a subnormal result, which from_chars takes as it is.
    parsed.outOfRange = errno == ERANGE && (value == 0.0 || std::isinf(value));
    parsed.value = parsed.outOfRange ? 0.0 : value;
    return parsed;
}

std::string ScientificText(double magnitude, int precision) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.*e", precision - 1, magnitude);
    return buffer;
}

} // namespace fallback

#if defined(__cpp_lib_to_chars)
ParsedDouble ParseDouble(std::string_view text, bool hex) {
    ParsedDouble parsed;
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), parsed.value,
                        hex ? std::chars_format::hex : std::chars_format::general);
    if (ec == std::errc::invalid_argument)
        return {};
    parsed.length = static_cast<std::size_t>(end - text.data());
    parsed.outOfRange = ec == std::errc::result_out_of_range;
    if (parsed.outOfRange)
        parsed.value = 0.0;
    return parsed;
}

std::string ScientificText(double magnitude, int precision) {
    char buffer[48];
    const char* const end = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                          std::chars_format::scientific, precision - 1)
                                .ptr;
    return std::string(static_cast<const char*>(buffer), end);
}
#else
ParsedDouble ParseDouble(std::string_view text, bool hex) {
    return fallback::ParseDouble(text, hex);
}

std::string ScientificText(double magnitude, int precision) {
    return fallback::ScientificText(magnitude, precision);
}
#endif

} // namespace owlet
