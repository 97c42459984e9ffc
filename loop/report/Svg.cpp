#include "loop/report/Svg.h"

#include "loop/report/PlotDrawing.h"
#include "loop/report/UnitText.h"

#include <cmath>

namespace owlet::loop {
namespace {

std::string escaped(std::string_view text) {
    std::string r;
    for (const char c : text)
        r += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : std::string(1, c);
    return r;
}

std::string num(double v) {
    return FixedText(v, 1);
}

std::string shapeSvg(const Shape& s) {
    switch (s.kind) {
    case Shape::Kind::Text: {
        const char* anchor = s.anchor == Shape::Anchor::Middle ? "middle"
                             : s.anchor == Shape::Anchor::End  ? "end"
                                                               : "start";
        return "<text x=\"" + num(s.points[0][0]) + "\" y=\"" + num(s.points[0][1]) + "\" fill=\"" +
               s.colour + "\" text-anchor=\"" + anchor + "\"" +
               (s.bold ? " font-weight=\"bold\"" : "") + ">" + escaped(s.text) + "</text>\n";
    }
    case Shape::Kind::Circle:
        return "<circle cx=\"" + num(s.points[0][0]) + "\" cy=\"" + num(s.points[0][1]) +
               "\" r=\"" + num(s.width) + "\" fill=\"" + s.colour + "\"/>\n";
    case Shape::Kind::Path:
        break;
    }
    // A point that is not a number breaks the path.
    std::string d;
    char move = 'M';
    for (const auto& p : s.points) {
        if (!std::isfinite(p[0]) || !std::isfinite(p[1])) {
            move = 'M';
            continue;
        }
        d += move + num(p[0]) + "," + num(p[1]) + " ";
        move = 'L';
    }
    std::string dashes;
    for (const double length : s.dashes)
        dashes += (dashes.empty() ? "" : ",") + num(length);
    return "<path fill=\"none\" stroke=\"" + s.colour + "\" stroke-width=\"" + num(s.width) + "\"" +
           (dashes.empty() ? "" : " stroke-dasharray=\"" + dashes + "\"") + " d=\"" + d + "\"/>\n";
}

} // namespace

std::string SvgOf(const Drawing& drawing) {
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(drawing.width) +
                      "\" height=\"" + num(drawing.height) + "\" viewBox=\"0 0 " +
                      num(drawing.width) + " " + num(drawing.height) +
                      "\" font-family=\"sans-serif\" font-size=\"11\" role=\"img\">\n"
                      "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
    for (const DrawingGroup& g : drawing.groups) {
        svg += "<g><title>" + escaped(g.summary) + "</title>\n";
        for (const Shape& s : g.shapes)
            svg += shapeSvg(s);
        svg += "</g>\n";
    }
    return svg + "</svg>\n";
}

std::string SvgDocument(const std::vector<Plot>& plots) {
    return SvgOf(DrawPlots(plots));
}

} // namespace owlet::loop
