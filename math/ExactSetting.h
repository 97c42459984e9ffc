#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace owlet {

// The setting that makes an output exact from a reference, within the MC145170's limits:
// the largest comparison frequency of the Fcomp list that does it, else the largest at or
// below 200 kHz; where none does, the list entry that comes nearest.
struct ExactSetting {
    enum class Kind { ListEntry, BelowLimit, Nearest, None };
    Kind kind = Kind::None;
    // The comparison frequency in kHz, written so that typing it into the Fcomp box gives
    // this R ("12.5", "133.333333333333"); empty for None.
    std::string fcompText;
    std::int32_t r = 0;
    std::int32_t n = 0;
    std::int32_t errorHz = 0; // 0 but for Nearest

    bool exact() const { return kind == Kind::ListEntry || kind == Kind::BelowLimit; }
};

// The comparison frequencies above this are no candidates unless the list offers them.
inline constexpr std::int64_t HighestFcompMilliHz = 200'000'000; // 200 kHz

// Found with integer arithmetic on the frequencies in millihertz, through the greatest
// common divisor of reference and output: every exact comparison frequency is that
// divisor over a whole number. Nothing when the reference or output is not above 0 or
// beyond 9 THz. Texts are read as the panel reads them (ReadNumber: Overflow).
std::optional<ExactSetting> FindExactSetting(std::string_view frefText, std::string_view foutText);

// "Exact with Fcomp 12.5 kHz: R 800, N 11601"; "No setting within the MC145170's limits
// makes it exact; nearest: Fcomp 25 kHz (R 400, N 5800), error -12500 Hz".
std::string ExactSettingText(const ExactSetting& setting);

} // namespace owlet
