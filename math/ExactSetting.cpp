#include "math/ExactSetting.h"

#include "math/ChipLimits.h"
#include "math/NumberText.h"
#include "math/ReadNumber.h"
#include "math/RegisterPlan.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

namespace owlet {
namespace {

// Frequencies up to 9 THz in millihertz stay exact in a double's 53 bits.
constexpr double LargestMilliHz = 9e15;

// MHz to whole millihertz; nothing for a value not above 0 or too large.
std::optional<std::int64_t> milliHz(double mhz) {
    const double m = std::round(mhz * 1e9);
    if (!(m >= 1.0 && m <= LargestMilliHz))
        return std::nullopt;
    return static_cast<std::int64_t>(m);
}

// The panel's own arithmetic for a comparison frequency typed into the Fcomp box: R from
// it, then N and the error from what R gives. Nothing where the panel would refuse it or
// the chip cannot count with a divider.
std::optional<ExactSetting> asThePanelDoes(std::string_view fref, std::string_view fout,
                                           std::string fcompText, ExactSetting::Kind kind) {
    const RegisterPlan plan = PlanRegisters(fref, fcompText, fout);
    if (!plan.n || !plan.n->computed() || !plan.r->chipAdvice.empty() ||
        !plan.n->chipAdvice.empty())
        return std::nullopt;
    return ExactSetting{kind, std::move(fcompText), plan.r->value, plan.n->value, plan.n->errorHz};
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) {
    return (a + b - 1) / b;
}

// The largest g / k at or below 200 kHz whose R = k a and N = k b the chip takes.
std::optional<ExactSetting> belowLimit(std::string_view fref, std::string_view fout, std::int64_t g,
                                       std::int64_t a, std::int64_t b) {
    if (a > LargestR || b > LargestN)
        return std::nullopt;
    // The smallest k that every lower bound allows (R and N grow with it); R = 1 stands
    // alone below 5.
    std::int64_t k =
        std::max({ceilDiv(g, HighestFcompMilliHz), ceilDiv(SmallestN, b), std::int64_t{1}});
    if (a * k != 1)
        k = std::max(k, ceilDiv(5, a));
    if (k > LargestR / a || k > LargestN / b)
        return std::nullopt;
    const double khz = static_cast<double>(g) / static_cast<double>(k) / 1e6;
    const auto r = static_cast<std::int32_t>(a * k);
    // Written as the panel writes numbers, 15 significant digits: typed back, they give R
    // within 32767 x 5e-15 of the whole number, far from where it would round otherwise.
    auto found = asThePanelDoes(fref, fout, PlainNumberText(khz), ExactSetting::Kind::BelowLimit);
    if (found && (found->r != r || found->errorHz != 0))
        return std::nullopt; // the doubles could not follow: no claim of exactness
    return found;
}

// Among the list entries the chip takes, the one with the smallest error.
ExactSetting nearestListEntry(std::string_view fref, std::string_view fout) {
    ExactSetting best;
    for (auto entry = FcompListKHz.rbegin(); entry != FcompListKHz.rend(); ++entry) {
        const auto s = asThePanelDoes(fref, fout, std::string(*entry), ExactSetting::Kind::Nearest);
        if (s && (best.kind == ExactSetting::Kind::None ||
                  std::abs(static_cast<std::int64_t>(s->errorHz)) <
                      std::abs(static_cast<std::int64_t>(best.errorHz))))
            best = *s;
    }
    return best;
}

} // namespace

std::optional<ExactSetting> FindExactSetting(std::string_view frefText, std::string_view foutText) {
    const auto fref = milliHz(ReadNumber(frefText));
    const auto fout = milliHz(ReadNumber(foutText));
    if (!fref || !fout)
        return std::nullopt;
    const std::int64_t g = std::gcd(*fref, *fout);
    // Largest first: a list entry is exact when it divides the common divisor.
    for (auto entry = FcompListKHz.rbegin(); entry != FcompListKHz.rend(); ++entry) {
        const auto entryMilliHz = static_cast<std::int64_t>(std::round(ReadNumber(*entry) * 1e6));
        if (g % entryMilliHz != 0)
            continue;
        auto s =
            asThePanelDoes(frefText, foutText, std::string(*entry), ExactSetting::Kind::ListEntry);
        if (s && s->errorHz == 0)
            return s;
    }
    if (auto s = belowLimit(frefText, foutText, g, *fref / g, *fout / g))
        return s;
    return nearestListEntry(frefText, foutText);
}

std::string ExactSettingText(const ExactSetting& s) {
    const std::string fcomp = "Fcomp " + s.fcompText + " kHz";
    const std::string dividers = "R " + std::to_string(s.r) + ", N " + std::to_string(s.n);
    switch (s.kind) {
    case ExactSetting::Kind::ListEntry:
    case ExactSetting::Kind::BelowLimit:
        return "Exact with " + fcomp + ": " + dividers;
    case ExactSetting::Kind::Nearest:
        return "No setting within the MC145170's limits makes it exact; nearest: " + fcomp + " (" +
               dividers + "), error " + std::to_string(s.errorHz) + " Hz";
    case ExactSetting::Kind::None:
        break;
    }
    return "No setting within the MC145170's limits makes it exact";
}

} // namespace owlet
