#include "loop/input/FieldReader.h"

#include "loop/input/PartValue.h"
#include "loop/input/ProfileRows.h"

namespace owlet::loop {
namespace {

bool within(double v, const Bounds& b) {
    return (b.lowIncluded ? v >= b.low : v > b.low) && v <= b.high;
}

} // namespace

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
    if (!notFitted && !within(*v, bounds)) {
        fail(field, std::string(need));
        return std::nullopt;
    }
    return v;
}

bool FieldReader::blank(LoopField field) const {
    return request_[field].find_first_not_of(" \t") == std::string::npos;
}

std::optional<std::pair<double, double>>
FieldReader::pair(LoopField field, char separator, const Bounds& first, const Bounds& second,
                  std::optional<std::pair<double, double>> fallback) {
    if (blank(field) && fallback)
        return fallback;
    const std::string& text = request_[field];
    const std::size_t at = text.find(separator);
    const std::string need(RowOf(field).need);
    const std::optional<double> a =
        at == std::string::npos ? std::nullopt : ReadPartValue(text.substr(0, at), first.prefixes);
    const std::optional<double> b = at == std::string::npos
                                        ? std::nullopt
                                        : ReadPartValue(text.substr(at + 1), second.prefixes);
    if (!a || !b) {
        fail(field, text.empty() ? need
                                 : "'" + text + "' is not two numbers parted by '" +
                                       std::string(1, separator) + "': " + need);
        return std::nullopt;
    }
    if (!within(*a, first) || !within(*b, second)) {
        fail(field, need);
        return std::nullopt;
    }
    return std::pair{*a, *b};
}

std::optional<NoiseProfile> FieldReader::profile(LoopField field) {
    std::vector<NoisePoint> points;
    for (const ProfileRow& row : SplitProfile(request_[field])) {
        const ProfilePointRead read = ReadProfilePoint(
            row, points.empty() ? std::nullopt : std::optional(points.back().offsetHz));
        if (!read.point) {
            fail(field, "'" + row.offset + (row.level.empty() ? "" : ":" + row.level) + "' " +
                            std::string(read.fault) + ": " + std::string(RowOf(field).need));
            return std::nullopt;
        }
        points.push_back(*read.point);
    }
    return NoiseProfile(std::move(points));
}

double FieldReader::part(LoopField field) {
    const bool optional = RowOf(field).bounds.optional;
    return number(field, optional ? std::optional(0.0) : std::nullopt).value_or(0.0);
}

} // namespace owlet::loop
