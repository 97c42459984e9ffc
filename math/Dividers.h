#pragma once

#include <cstdint>
#include <string>

namespace owlet {

// The MC145170's dividers from the frequencies the user typed. Reference and output
// frequencies are in MHz, comparison frequencies in kHz. Every step is one IEEE double
// operation in the order written; the order decides how exact halves round.

// R = round(fref / fcomp * 1000).
std::int32_t ComputeR(double frefMHz, double fcompKHz);

// The comparison frequency in kHz that the whole-number divider R really gives:
// fref / R * 1000.
double ActualFcompKHz(double frefMHz, std::int32_t r);

// N = round(fout / fcomp * 1000).
std::int32_t ComputeN(double foutMHz, double fcompKHz);

// N * fcomp * 1000 - fout * 1000000, in whole hertz: positive when the synthesised
// frequency lies above the requested one.
std::int32_t FrequencyErrorHz(std::int32_t n, double fcompKHz, double foutMHz);

// True when the error is not 0. Overflow for the most negative 32-bit error, which has
// no absolute value.
bool NeedsWarning(std::int32_t errorHz);

// "Non-integer ratio: " CR LF "Freq error " NumberText(error) "Hz".
std::string WarningText(std::int32_t errorHz);

} // namespace owlet
