#include "loop/report/Drawing.h"

namespace owlet::loop {

Shape TextAt(double x, double y, std::string words, Shape::Anchor anchor, const char* colour,
             bool bold) {
    Shape s;
    s.kind = Shape::Kind::Text;
    s.points = {{x, y}};
    s.text = std::move(words);
    s.anchor = anchor;
    s.colour = colour;
    s.bold = bold;
    return s;
}

Shape PathThrough(std::vector<std::array<double, 2>> points, const char* colour, double width,
                  std::vector<double> dashes) {
    Shape s;
    s.points = std::move(points);
    s.colour = colour;
    s.width = width;
    s.dashes = std::move(dashes);
    return s;
}

} // namespace owlet::loop
