#include "math/ReadNumber.h"

#include "math/ArithmeticFault.h"
#include "math/FloatChars.h"

#include <cstdint>
#include <string>

namespace owlet {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

std::string withoutBlanks(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            kept.push_back(c);
    return kept;
}

[[noreturn]] void beyondDoubleRange(std::string_view number) {
    throw ArithmeticFault(FaultKind::Overflow, "the number " + std::string(number.substr(0, 40)) +
                                                   (number.size() > 40 ? "..." : "") +
                                                   " is beyond the double range");
}

// Hexadecimal digits as a non-negative integer, correctly rounded to double.
double hexValue(std::string_view digits) {
    const ParsedDouble parsed = ParseDouble(digits, true);
    if (parsed.outOfRange)
        beyondDoubleRange("&H" + std::string(digits));
    return parsed.length == digits.size() ? parsed.value : 0.0;
}

// Octal digits are regrouped bit for bit into hexadecimal, so long ones round exactly
// as hexadecimal ones do.
double octalValue(std::string_view digits) {
    std::string bits;
    for (char c : digits) {
        const int d = c - '0';
        bits += {static_cast<char>('0' + ((d >> 2) & 1)), static_cast<char>('0' + ((d >> 1) & 1)),
                 static_cast<char>('0' + (d & 1))};
    }
    bits.insert(0, (4 - bits.size() % 4) % 4, '0');
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string hexDigits;
    for (std::size_t i = 0; i < bits.size(); i += 4)
        hexDigits += hex[(bits[i] - '0') * 8 + (bits[i + 1] - '0') * 4 + (bits[i + 2] - '0') * 2 +
                         (bits[i + 3] - '0')];
    try {
        return hexValue(hexDigits);
    } catch (const ArithmeticFault&) {
        beyondDoubleRange("&O" + std::string(digits));
    }
}

// "&H1F" and "&O17": an integer in that base, the longest run of its digits. The value is
// unsigned and not limited to 16 or 32 bits (&HFFFF is 65535, &H10000 is 65536): a typed
// frequency means its magnitude, never a two's complement pattern.
double basedInteger(std::string_view text) {
    const char base = text[1];
    const bool hex = base == 'H' || base == 'h';
    std::size_t end = 2;
    while (end < text.size() && (hex ? isHexDigit(text[end]) : isOctalDigit(text[end])))
        ++end;
    const std::string_view digits = text.substr(2, end - 2);
    if (digits.empty())
        return 0.0;
    return hex ? hexValue(digits) : octalValue(digits);
}

// Whether a number found out of range lies below 1 (it underflowed) or above
// (it overflowed). The decimal magnitude of the mantissa is bounded by its length, the
// exponent saturates far beyond any length a text can have, so the sign of their sum is
// exact for inputs of any length.
bool isTiny(std::string_view mantissa, std::string_view exponent) {
    constexpr std::int64_t saturation = std::int64_t{1} << 60;
    std::int64_t power = 0; // the value lies below 10^power
    bool seenPoint = false;
    bool seenNonZero = false;
    for (char c : mantissa) {
        if (c == '.') {
            seenPoint = true;
        } else if (isDigit(c)) {
            if (c != '0')
                seenNonZero = true;
            if (!seenNonZero && seenPoint)
                --power;
            else if (seenNonZero && !seenPoint)
                ++power;
        }
    }
    std::int64_t scale = 0;
    bool negative = false;
    for (char c : exponent) {
        if (c == '-')
            negative = true;
        else if (isDigit(c))
            scale = scale >= saturation / 10 ? saturation : scale * 10 + (c - '0');
    }
    return power + (negative ? -scale : scale) <= 0;
}

double decimalNumber(std::string_view text) {
    std::size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
        ++pos;
    const std::size_t mantissaStart = pos;
    std::size_t digitCount = 0;
    bool seenPoint = false;
    for (; pos < text.size(); ++pos) {
        if (isDigit(text[pos]))
            ++digitCount;
        else if (text[pos] == '.' && !seenPoint)
            seenPoint = true;
        else
            break;
    }
    if (digitCount == 0)
        return 0.0;
    const std::size_t mantissaEnd = pos;
    // An exponent counts only with at least one digit; otherwise "E" ends the number.
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        std::size_t e = pos + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-'))
            ++e;
        const std::size_t expDigits = e;
        while (e < text.size() && isDigit(text[e]))
            ++e;
        if (e > expDigits)
            pos = e;
    }
    // The magnitude alone is read; the sign is applied afterwards.
    const std::string_view number = text.substr(mantissaStart, pos - mantissaStart);
    const ParsedDouble parsed = ParseDouble(number);
    double magnitude = parsed.length == number.size() ? parsed.value : 0.0;
    if (parsed.outOfRange) {
        const std::string_view mantissa = text.substr(mantissaStart, mantissaEnd - mantissaStart);
        if (!isTiny(mantissa, text.substr(mantissaEnd, pos - mantissaEnd)))
            beyondDoubleRange(text.substr(0, pos));
        magnitude = 0.0;
    }
    return negative ? -magnitude : magnitude;
}

} // namespace

double ReadNumber(std::string_view text) {
    const std::string kept = withoutBlanks(text);
    if (kept.size() >= 2 && kept[0] == '&' &&
        (kept[1] == 'H' || kept[1] == 'h' || kept[1] == 'O' || kept[1] == 'o'))
        return basedInteger(kept);
    return decimalNumber(kept);
}

} // namespace owlet
