#include "loop/input/FieldReader.h"

#include "loop/input/PartValue.h"

namespace owlet::loop {

std::optional<double> FieldReader::number(LoopField field, std::optional<double> fallback) {
    const LoopFieldRow& row = RowOf(field);
    return number(field, fallback, row.bounds, row.need);
}

std::optional<double> FieldReader::number(LoopField field, std::optional<double> fallback,
                                          const Bounds& bounds, std::string_view need) {
    const std::string& text = request_[field];
    if (text.find_first_not_of(" \t") == std::string::npos && fallback)
        return fallback;
    const std::optional<double> v = ReadPartValue(text, bounds.prefixes);
    if (!v) {
        fail(field, text.empty() ? std::string(need)
                                 : "'" + text + "' is not a number: " + std::string(need));
        return std::nullopt;
    }
    const bool notFitted = bounds.optional && *v == 0.0;
    if (!notFitted &&
        (!(bounds.lowIncluded ? *v >= bounds.low : *v > bounds.low) || !(*v <= bounds.high))) {
        fail(field, std::string(need));
        return std::nullopt;
    }
    return v;
}

double FieldReader::part(LoopField field) {
    const bool optional = RowOf(field).bounds.optional;
    return number(field, optional ? std::optional(0.0) : std::nullopt).value_or(0.0);
}

} // namespace owlet::loop
