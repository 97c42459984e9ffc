#pragma once

#include "loop/LoopRequest.h"
#include "loop/LoopSetting.h"
#include "loop/PartValue.h"

#include <optional>
#include <string>
#include <vector>

namespace owlet::loop {

// Reads the fields one by one, collecting every problem so each field can be marked.
class FieldReader {
public:
    explicit FieldReader(std::vector<InputProblem>& problems)
        : problems_(problems) {}

    void fail(LoopField field, std::string need) { problems_.push_back({field, std::move(need)}); }

    // A number within [low, high] (open at a bound given as `open`); `fallback` when empty.
    std::optional<double> number(LoopField field, const std::string& text, bool prefixes,
                                 std::optional<double> fallback, double low, double high,
                                 const std::string& need, bool lowOpen = true) {
        if (text.find_first_not_of(" \t") == std::string::npos && fallback)
            return fallback;
        const std::optional<double> v = ReadPartValue(text, prefixes);
        if (!v) {
            fail(field, text.empty() ? need : "'" + text + "' is not a number: " + need);
            return std::nullopt;
        }
        if (!(lowOpen ? *v > low : *v >= low) || !(*v <= high)) {
            fail(field, need);
            return std::nullopt;
        }
        return v;
    }

    // A part in ohms or farads: required ones above 0, optional ones 0 (absent) or above.
    double part(LoopField field, const std::string& text, bool optional, bool resistor) {
        const double low = resistor ? 1e-3 : 1e-15, high = resistor ? 1e12 : 1.0;
        const std::string unit = resistor ? "\xCE\xA9" : "F";
        const std::string need =
            std::string(optional ? "needs to be empty or 0 (not fitted), or " : "needs ") +
            EngineeringText(low, unit) + " to " + EngineeringText(high, unit) +
            (resistor ? " (4k7, 2.2k, 1M)" : " (100p, 4n7, 1u)");
        const std::optional<double> v =
            number(field, text, true, optional ? std::optional(0.0) : std::nullopt, 0.0, high, need,
                   !optional);
        if (!v)
            return 0.0;
        if (*v != 0.0 && *v < low) {
            fail(field, need);
            return 0.0;
        }
        return *v;
    }

private:
    std::vector<InputProblem>& problems_;
};

// R, N and the comparison frequency of the panel's plan into `s`, or the problem. The
// panel's arithmetic throws its faults; they are caught here, so nothing of the loop's
// analysis needs exceptions.
void ReadPlan(const LoopRequest& q, FieldReader& in, LoopSetting& s);
// A panel field's number as the panel reads it; 0 where it cannot (a fault told by ReadPlan).
double PanelNumber(const std::string& text);

} // namespace owlet::loop
