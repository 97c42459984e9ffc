#pragma once

#include "loop/noise/NoiseProfile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace owlet::loop {

// A phase-noise profile as a view's table shows it: a row a point, its two cells as typed.
struct ProfileRow {
    std::string offset, level;
    bool operator==(const ProfileRow&) const = default;
};

// "100:-130,1k:-150" as rows; blanks around each cell dropped, nothing for a blank text.
std::vector<ProfileRow> SplitProfile(std::string_view text);
// The rows as the field's text, the rows left wholly empty skipped.
std::string JoinProfile(const std::vector<ProfileRow>& rows);
// A line typed or pasted into a cell ("100:-130,1k:-150") becomes the rows it holds; so does
// a row whose level goes on with a comma ("100", "-130,": a new row begun).
std::vector<ProfileRow> ExpandProfileRows(const std::vector<ProfileRow>& rows);

// One point read after the offset of the point before it: the point, or what is wrong with it
// ("is out of range").
struct ProfilePointRead {
    std::optional<NoisePoint> point;
    std::string_view fault;
};
ProfilePointRead ReadProfilePoint(const ProfileRow& row, std::optional<double> previousOffset);
// What each row needs, empty where it is good or wholly empty: "Row 2 (1k, -150) comes after
// a higher offset".
std::vector<std::string> ProfileRowProblems(const std::vector<ProfileRow>& rows);

} // namespace owlet::loop
