#pragma once

#include <array>
#include <string>
#include <vector>

namespace owlet::loop {

// A picture as a list of shapes in pixels, laid out here once: the SVG writer and every
// view's painter only draw what it holds, so all of them show the same.
struct Shape {
    enum class Kind { Path, Text, Circle };
    enum class Anchor { Start, Middle, End };
    Kind kind = Kind::Path;
    std::vector<std::array<double, 2>> points; // a path's; a text's or circle's place
    std::string text;                          // a text's words
    std::string colour = "#000";
    double width = 1.0;         // stroke width; a circle's radius
    std::vector<double> dashes; // a path's dash and gap lengths in pixels; none: solid
    bool bold = false;          // texts
    Anchor anchor = Anchor::Start;
};

struct DrawingGroup {
    std::string summary; // one line saying what the group shows, for screen readers
    std::vector<Shape> shapes;
};

struct Drawing {
    double width = 0.0, height = 0.0;
    std::vector<DrawingGroup> groups;
};

// A text at a place, and a path through points: the shapes most drawings are made of.
Shape TextAt(double x, double y, std::string words, Shape::Anchor anchor = Shape::Anchor::Start,
             const char* colour = "#000", bool bold = false);
Shape PathThrough(std::vector<std::array<double, 2>> points, const char* colour = "#000",
                  double width = 1.0, std::vector<double> dashes = {});
// The dashes of a mark or a guide line.
inline const std::vector<double> MarkDashes{5.0, 4.0};

} // namespace owlet::loop
