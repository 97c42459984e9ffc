#pragma once

#include "tests/support/Rows.h"

// Cases the panel and owlet-cli must agree on, each checked where the user meets it.

namespace owlet::test {

// Dividers at the MC145170's limits, from frequencies typed at a comparison frequency of
// 25 kHz: R from the reference, N from the output.
struct ChipLimitCase {
    const char* name;
    char divider; // 'R' or 'N'
    const char* frequency;
    const char* advice; // empty when the chip takes it
};
inline constexpr ChipLimitCase ChipLimitCases[] = {
    {"R 1", 'R', "0.025", ""},
    {"R 4", 'R', "0.1",
     "R = 4: the MC145170 divides its reference by 1 or by 5 to 32767; choose a smaller "
     "comparison frequency"},
    {"R 5", 'R', "0.125", ""},
    {"R 32767", 'R', "819.175", ""},
    {"R 32768", 'R', "819.2",
     "R = 32768: the MC145170 divides its reference by 1 or by 5 to 32767; choose a larger "
     "comparison frequency"},
    {"N 39", 'N', "0.975",
     "N = 39: the MC145170 divides its input by 40 to 65535; choose a smaller comparison "
     "frequency"},
    {"N 40", 'N', "1", ""},
    {"N 65535", 'N', "1638.375", ""},
};

// The setting that makes an output exact from a reference, or the nearest there is.
struct ExactCase {
    const char* name;
    const char* fref;
    const char* fout;
    const char* setting;
};
inline constexpr ExactCase ExactCases[] = {
    {"largest list entry", "10", "145.0125", "Exact with Fcomp 12.5 kHz: R 800, N 11601"},
    {"200 kHz from 800 kHz", "12.8", "144.8", "Exact with Fcomp 200 kHz: R 64, N 724"},
    {"R 1 stands alone", "0.123", "12.3", "Exact with Fcomp 123 kHz: R 1, N 100"},
    {"at most 200 kHz", "1.407", "140.7", "Exact with Fcomp 175.875 kHz: R 8, N 800"},
    {"below the list, N at its limit", "12.8", "0.1", "Exact with Fcomp 2.5 kHz: R 5120, N 40"},
    {"no setting within the limits", "14.31818", "145.5",
     "No setting within the MC145170's limits makes it exact; nearest: Fcomp 6.25 kHz "
     "(R 2291, N 23281), error 458 Hz"},
};

} // namespace owlet::test
