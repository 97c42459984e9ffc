#include "loop/input/ProfileRows.h"

#include "loop/input/PartValue.h"

namespace owlet::loop {
namespace {

bool holdsLine(std::string_view cell) {
    return cell.find_first_of(":,") != std::string_view::npos;
}

bool blank(const ProfileRow& row) {
    return TrimBlanks(row.offset).empty() && TrimBlanks(row.level).empty();
}

} // namespace

std::vector<ProfileRow> SplitProfile(std::string_view text) {
    std::vector<ProfileRow> rows;
    if (TrimBlanks(text).empty())
        return rows;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        const std::string_view point = text.substr(start, end - start);
        start = end + 1;
        const std::size_t colon = point.find(':');
        rows.push_back({std::string(TrimBlanks(point.substr(0, colon))),
                        colon == std::string_view::npos
                            ? std::string()
                            : std::string(TrimBlanks(point.substr(colon + 1)))});
    }
    return rows;
}

std::string JoinProfile(const std::vector<ProfileRow>& rows) {
    std::string text;
    for (const ProfileRow& row : rows)
        if (!blank(row))
            text += (text.empty() ? "" : ",") + std::string(TrimBlanks(row.offset)) + ':' +
                    std::string(TrimBlanks(row.level));
    return text;
}

std::vector<ProfileRow> ExpandProfileRows(const std::vector<ProfileRow>& rows) {
    std::vector<ProfileRow> expanded;
    for (const ProfileRow& row : rows) {
        if (!holdsLine(row.offset) && !holdsLine(row.level)) {
            expanded.push_back(row);
            continue;
        }
        // The line as it reads across the row: a cell of its own, or both cells joined
        // ("100" and "-130," as the next row is begun).
        const std::string line = TrimBlanks(row.level).empty()    ? row.offset
                                 : TrimBlanks(row.offset).empty() ? row.level
                                                                  : row.offset + ':' + row.level;
        for (ProfileRow& point : SplitProfile(line))
            expanded.push_back(std::move(point));
    }
    return expanded;
}

ProfilePointRead ReadProfilePoint(const ProfileRow& row, std::optional<double> previousOffset) {
    const std::optional<double> offset = ReadPartValue(row.offset); // blanks around are read past
    const std::optional<double> level = ReadPartValue(row.level, false);
    if (!offset || !level)
        return {std::nullopt, "is not a point as offset:dBc/Hz"};
    if (!(*offset > 0.0 && *offset <= 1e12) || !(*level >= -250.0 && *level <= 0.0))
        return {std::nullopt, "is out of range"};
    if (previousOffset && !(*offset > *previousOffset))
        return {std::nullopt, "comes after a higher offset"};
    return {NoisePoint{*offset, *level}, {}};
}

std::vector<std::string> ProfileRowProblems(const std::vector<ProfileRow>& rows) {
    std::vector<std::string> problems(rows.size());
    std::optional<double> previous;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ProfileRow& row = rows[i];
        if (blank(row))
            continue;
        const ProfilePointRead read = ReadProfilePoint(row, previous);
        if (read.point) {
            previous = read.point->offsetHz;
            continue;
        }
        problems[i] = "Row " + std::to_string(i + 1) + " (" + std::string(TrimBlanks(row.offset)) +
                      ", " + std::string(TrimBlanks(row.level)) + ") " + std::string(read.fault);
    }
    return problems;
}

} // namespace owlet::loop
