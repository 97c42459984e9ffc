#pragma once

#include "loop/input/LoopRequest.h"

#include <optional>
#include <string>
#include <string_view>
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

private:
    const LoopRequest& request_;
    std::vector<InputProblem>& problems_;
};

} // namespace owlet::loop
