#include "loop/report/Schematic.h"
#include "loop/report/UnitText.h"

#include <functional>

namespace owlet::loop {
namespace {

constexpr const char* Ink = "#000";
constexpr const char* Absent = "#767676";

// Draws the network with parts placed by their two ends.
class Sketch {
public:
    explicit Sketch(DrawingGroup& g)
        : g_(g) {}

    void wire(std::vector<std::array<double, 2>> points, const char* colour = Ink) {
        g_.shapes.push_back(PathThrough(std::move(points), colour, 1.5));
    }
    void label(double x, double y, std::string words, const char* colour = Ink,
               Shape::Anchor anchor = Shape::Anchor::Start) {
        g_.shapes.push_back(TextAt(x, y, std::move(words), anchor, colour));
    }
    void dot(double x, double y) {
        Shape s;
        s.kind = Shape::Kind::Circle;
        s.points = {{x, y}};
        s.width = 3;
        g_.shapes.push_back(std::move(s));
    }
    // A resistor between two points on one horizontal or vertical line: a box in the middle.
    void resistor(double x1, double y1, double x2, double y2, const std::string& name,
                  double value) {
        part(x1, y1, x2, y2, 18, 6, value, name, "\xCE\xA9", [&](Along at, const char* c) {
            wire({at(-18, -6), at(18, -6), at(18, 6), at(-18, 6), at(-18, -6)}, c);
        });
    }
    // A capacitor: two plates across the line between the points.
    void capacitor(double x1, double y1, double x2, double y2, const std::string& name,
                   double value) {
        part(x1, y1, x2, y2, 4, 10, value, name, "F", [&](Along at, const char* c) {
            wire({at(-4, -10), at(-4, 10)}, c);
            wire({at(4, -10), at(4, 10)}, c);
        });
    }
    void ground(double x, double y, const char* colour = Ink) {
        wire({{x - 8, y}, {x + 8, y}}, colour);
        wire({{x - 5, y + 3}, {x + 5, y + 3}}, colour);
        wire({{x - 2, y + 6}, {x + 2, y + 6}}, colour);
    }

private:
    // A place given along the part's line from its middle and across it.
    using Along = std::function<std::array<double, 2>(double along, double across)>;

    // Leads from both ends to `half` either side of the middle, the body drawn by `body`
    // (`width` either side of the line), and the part's name with its value when fitted
    // ("R1 18 kΩ"), or that it is not, above a horizontal part and right of a vertical one.
    template <typename Body>
    void part(double x1, double y1, double x2, double y2, double half, double width, double value,
              const std::string& name, const char* unit, Body body) {
        const char* c = value > 0.0 ? Ink : Absent;
        const bool across = y1 == y2;
        const double mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
        const Along at = [&](double a, double b) -> std::array<double, 2> {
            return across ? std::array{mx + a, my + b} : std::array{mx + b, my + a};
        };
        wire({{x1, y1}, at(-half, 0)}, c);
        wire({at(half, 0), {x2, y2}}, c);
        body(at, c);
        const std::array<double, 2> place = at(0, across ? -(width + 4) : width + 4);
        label(place[0], place[1],
              name + (value > 0.0 ? " " + EngineeringText(value, unit) : " (not fitted)"), c,
              across ? Shape::Anchor::Middle : Shape::Anchor::Start);
    }

    DrawingGroup& g_;
};

void pdOut(Sketch& s, const FilterParts& p) {
    s.label(16, 64, "PDout");
    s.resistor(56, 60, 200, 60, "R1", p.r1);
    s.dot(200, 60);
    s.resistor(200, 60, 200, 140, "R2", p.r2);
    s.capacitor(200, 140, 200, 190, "C2", p.c2);
    s.ground(200, 190);
    s.wire({{200, 60}, {320, 60}});
    s.dot(320, 60);
    s.capacitor(320, 60, 320, 190, "C1", p.c1);
    s.ground(320, 190, p.c1 > 0.0 ? Ink : Absent);
    s.resistor(320, 60, 460, 60, "R3", p.r3);
    s.dot(460, 60);
    s.capacitor(460, 60, 460, 190, "C3", p.c3);
    s.ground(460, 190, p.c3 > 0.0 ? Ink : Absent);
    s.wire({{460, 60}, {540, 60}});
    s.label(546, 64, "VCO tuning");
}

void phiRPhiV(Sketch& s, const FilterParts& p) {
    const double half = p.r1 / 2;
    // phiR into the inverting input, phiV into the other, each through R1 split by Cc.
    for (const auto& [name, y] : {std::pair<const char*, double>{"\xCF\x86R", 90},
                                  std::pair<const char*, double>{"\xCF\x86V", 170}}) {
        s.label(10, y + 4, name);
        s.resistor(36, y, 116, y, "R1/2", half);
        s.dot(116, y);
        s.capacitor(116, y, 116, y + 40, "Cc", p.cc);
        s.ground(116, y + 40, p.cc > 0.0 ? Ink : Absent);
        s.resistor(116, y, 196, y, "R1/2", half);
        s.wire({{196, y}, {300, y}});
    }
    // The op-amp: a triangle with its inputs at 90 and 170, its output at 130.
    s.wire({{300, 70}, {300, 190}, {380, 130}, {300, 70}});
    s.label(306, 94, "\xE2\x88\x92");
    s.label(306, 174, "+");
    // Feedback from the output back to the inverting input: R2 + C2, C1 across them.
    s.dot(240, 90);
    s.wire({{240, 90}, {240, 50}});
    s.resistor(240, 50, 320, 50, "R2", p.r2);
    s.capacitor(320, 50, 400, 50, "C2", p.c2);
    s.wire({{400, 50}, {400, 130}});
    s.wire({{240, 50}, {240, 24}, {290, 24}}, p.c1 > 0.0 ? Ink : Absent);
    s.capacitor(290, 24, 350, 24, "C1", p.c1);
    s.wire({{350, 24}, {400, 24}, {400, 50}}, p.c1 > 0.0 ? Ink : Absent);
    // The same from the other input to ground, mirrored below.
    s.dot(240, 170);
    s.wire({{240, 170}, {240, 212}});
    s.resistor(240, 212, 320, 212, "R2", p.r2);
    s.capacitor(320, 212, 400, 212, "C2", p.c2);
    s.wire({{400, 212}, {420, 212}, {420, 250}});
    s.ground(420, 250);
    s.wire({{240, 212}, {240, 244}, {290, 244}}, p.c1 > 0.0 ? Ink : Absent);
    s.capacitor(290, 244, 350, 244, "C1", p.c1);
    s.wire({{350, 244}, {420, 244}}, p.c1 > 0.0 ? Ink : Absent);
    s.wire({{380, 130}, {430, 130}});
    s.dot(400, 130);
    s.resistor(430, 130, 520, 130, "R3", p.r3);
    s.dot(520, 130);
    s.capacitor(520, 130, 520, 220, "C3", p.c3);
    s.ground(520, 220, p.c3 > 0.0 ? Ink : Absent);
    s.wire({{520, 130}, {560, 130}});
    s.label(566, 134, "VCO");
}

} // namespace

Drawing DrawSchematic(Detector detector, const FilterParts& parts) {
    Drawing d;
    d.width = 640;
    d.height = detector == Detector::PdOut ? 220 : 266;
    DrawingGroup g;
    g.summary = detector == Detector::PdOut
                    ? "The PDout filter: R1 from PDout to the node; R2 and C2, and C1, from the "
                      "node to ground; R3 to the VCO's input with C3 to ground."
                    : "The \xCF\x86R/\xCF\x86V filter: each output through R1 (halves around "
                      "Cc to ground) into the op-amp; R2 and C2, C1 across, in the feedback and "
                      "from the other input to ground; R3 and C3 after the output.";
    Sketch sketch(g);
    if (detector == Detector::PdOut)
        pdOut(sketch, parts);
    else
        phiRPhiV(sketch, parts);
    d.groups.push_back(std::move(g));
    return d;
}

} // namespace owlet::loop
