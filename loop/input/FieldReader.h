#pragma once

#include "loop/input/LoopRequest.h"
#include "loop/noise/NoiseProfile.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace owlet::loop {

// Reads a request's fields one by one, each against its row of the table, collecting every
// problem so each field can be marked.
class FieldReader {
public:
    FieldReader(const LoopRequest& request, std::vector<InputProblem>& problems)
        : request_(request)
        , problems_(problems) {}

    void fail(LoopField field, std::string need) { problems_.push_back({field, std::move(need)}); }

    // The field's number within its row's bounds; `fallback` when the field is empty (none:
    // it must be given).
    std::optional<double> number(LoopField field, std::optional<double> fallback = std::nullopt);
    // The same within other bounds and their sentence, where they depend on another field.
    std::optional<double> number(LoopField field, std::optional<double> fallback,
                                 const Bounds& bounds, std::string_view need);
    // A part in ohms or farads; 0 for an optional one not fitted, and for one not read.
    double part(LoopField field);
    // Two plain numbers parted by `separator` ("141@2", "0:5"), within `first` and `second`;
    // `fallback` when the field is empty. The row's sentence for any fault.
    std::optional<std::pair<double, double>>
    pair(LoopField field, char separator, const Bounds& first, const Bounds& second,
         std::optional<std::pair<double, double>> fallback = std::nullopt);
    // Points of phase noise, "100:-130,1k:-150": offsets with prefixes, above 0 and rising,
    // levels -250 to 0 dBc/Hz. The field must not be blank.
    std::optional<NoiseProfile> profile(LoopField field);
    // Whether the field holds nothing but blanks.
    bool blank(LoopField field) const;

private:
    const LoopRequest& request_;
    std::vector<InputProblem>& problems_;
};

} // namespace owlet::loop
