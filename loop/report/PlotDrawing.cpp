#include "loop/report/PlotDrawing.h"
#include "loop/report/UnitText.h"

#include <algorithm>
#include <cmath>

namespace owlet::loop {
namespace {

constexpr double Width = 640, Height = 240, Left = 64, Right = 16, Top = 28, Bottom = 40;
constexpr const char* Colours[] = {"#1f5fa8", "#c0392b", "#2e8b57", "#7d3c98", "#a0522d", "#000"};
constexpr std::size_t ColourCount = std::size(Colours);
constexpr const char* GridColour = "#ddd";

// The lines of one chart told apart without colour too: the first solid, each next one with
// its own dashes, in grey print and in forced colours alike.
const std::vector<double> LineDashes[] = {{}, {7, 3}, {2, 2}, {9, 3, 2, 3}, {14, 4}, {4, 2, 1, 2}};

std::vector<double> dashesOf(const Plot& plot, std::size_t index) {
    const PlotSeries::Style style = plot.series[index].style;
    if (style == PlotSeries::Style::Dashed)
        return MarkDashes;
    if (style != PlotSeries::Style::Line)
        return {};
    std::size_t lines = 0;
    for (std::size_t i = 0; i < index; ++i)
        lines += plot.series[i].style == PlotSeries::Style::Line;
    return LineDashes[lines % std::size(LineDashes)];
}

Shape text(double x, double y, std::string words, Shape::Anchor anchor = Shape::Anchor::Start,
           bool bold = false) {
    return TextAt(x, y, std::move(words), anchor, "#000", bold);
}

Shape line(double x1, double y1, double x2, double y2, const char* colour,
           std::vector<double> dashes = {}) {
    return PathThrough({{x1, y1}, {x2, y2}}, colour, 1.0, std::move(dashes));
}

// Ticks at 1, 2 or 5 times a power of ten, about five of them.
std::vector<double> linearTicks(double lo, double hi) {
    const double raw = (hi - lo) / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double step = raw / power < 1.5 ? power : raw / power < 3.5 ? 2 * power : 5 * power;
    std::vector<double> ticks;
    for (double t = std::ceil(lo / step) * step; t <= hi + step * 1e-9 && ticks.size() < 20;
         t += step)
        ticks.push_back(std::abs(t) < step * 1e-9 ? 0.0 : t);
    return ticks;
}

struct Range {
    double lo = INFINITY, hi = -INFINITY;
    void take(double v) {
        if (std::isfinite(v)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    void widen(bool log) {
        if (!(lo <= hi))
            lo = 0.0, hi = 1.0;
        if (hi - lo <= (log ? 0.0 : 1e-12 * std::max(1.0, std::abs(hi)))) {
            lo -= log ? 0.5 : std::max(1.0, std::abs(lo) * 0.1);
            hi += log ? 0.5 : std::max(1.0, std::abs(hi) * 0.1);
        }
    }
};

DrawingGroup drawPlot(const Plot& plot, double y0) {
    DrawingGroup g{plot.summary, {}};
    std::vector<Shape>& out = g.shapes;
    const bool logX = plot.logX;
    Range xr, yr;
    for (const PlotSeries& s : plot.series)
        for (const auto& p : s.points) {
            if (logX && !(p[0] > 0.0))
                continue;
            xr.take(logX ? std::log10(p[0]) : p[0]);
            yr.take(p[1]);
        }
    xr.widen(logX);
    yr.widen(false);
    const double pad = (yr.hi - yr.lo) * 0.05;
    yr.lo -= pad;
    yr.hi += pad;
    const double w = Width - Left - Right, h = Height - Top - Bottom;
    const double top = y0 + Top, bottom = top + h;
    const auto px = [&](double x) {
        const double v = logX ? std::log10(std::max(x, 1e-300)) : x;
        return Left + (v - xr.lo) / (xr.hi - xr.lo) * w;
    };
    const auto py = [&](double y) {
        return top + (yr.hi - y) / (yr.hi - yr.lo) * h;
    };
    out.push_back(text(Left, y0 + 18, plot.title, Shape::Anchor::Start, true));
    for (const double t : linearTicks(yr.lo, yr.hi)) {
        out.push_back(line(Left, py(t), Left + w, py(t), GridColour));
        const bool whole = std::abs(t - std::round(t)) < 1e-9;
        out.push_back(text(Left - 4, py(t) + 4,
                           plot.prefixY ? EngineeringText(t, plot.yUnit)
                                        : FixedText(t, whole ? 0 : 1) + plot.yUnit,
                           Shape::Anchor::End));
    }
    std::vector<double> xticks;
    if (logX)
        for (double d = std::ceil(xr.lo); d <= xr.hi + 1e-9; ++d)
            xticks.push_back(std::pow(10.0, d));
    else
        xticks = linearTicks(xr.lo, xr.hi);
    for (const double t : xticks) {
        out.push_back(line(px(t), top, px(t), bottom, GridColour));
        out.push_back(
            text(px(t), bottom + 16, EngineeringText(t, plot.xUnit), Shape::Anchor::Middle));
    }
    Shape frame;
    frame.points = {{Left, top}, {Left + w, top}, {Left + w, bottom}, {Left, bottom}, {Left, top}};
    frame.colour = "#888";
    out.push_back(frame);
    for (std::size_t i = 0; i < plot.series.size(); ++i) {
        const PlotSeries& s = plot.series[i];
        if (s.style == PlotSeries::Style::Dots) {
            for (const auto& p : s.points)
                if (std::isfinite(p[1])) {
                    Shape dot;
                    dot.kind = Shape::Kind::Circle;
                    dot.points = {{px(p[0]), py(p[1])}};
                    dot.width = 1.5;
                    dot.colour = Colours[i % ColourCount];
                    out.push_back(dot);
                }
            continue;
        }
        Shape path;
        path.colour = Colours[i % ColourCount];
        path.width = s.style == PlotSeries::Style::Bold ? 3.0 : 1.5;
        path.dashes = dashesOf(plot, i);
        for (const auto& p : s.points)
            path.points.push_back(std::isfinite(p[1]) && (!logX || p[0] > 0.0)
                                      ? std::array<double, 2>{px(p[0]), py(p[1])}
                                      : std::array<double, 2>{NAN, NAN});
        out.push_back(path);
    }
    for (std::size_t i = 0; i < plot.marks.size(); ++i) {
        const PlotMark& m = plot.marks[i];
        Shape mark = line(px(m.x), top, px(m.x), bottom, "#444", MarkDashes);
        out.push_back(mark);
        // Right of its line, or left of it where the label would leave the chart.
        const bool left = px(m.x) + 4 + 6.5 * static_cast<double>(m.label.size()) > Left + w;
        out.push_back(text(left ? px(m.x) - 4 : px(m.x) + 4, top + 14 + 13 * static_cast<double>(i),
                           m.label, left ? Shape::Anchor::End : Shape::Anchor::Start));
    }
    // The legend right-aligned above the chart, one swatch a named series; below the
    // offsets' ticks where it would run into the title.
    double lx = Width - Right;
    for (const PlotSeries& series : plot.series)
        if (!series.name.empty())
            lx -= 32 + 6.5 * static_cast<double>(series.name.size());
    const bool below = lx < Left + 7.0 * static_cast<double>(plot.title.size()) + 12;
    const double ly = below ? bottom + 23 : y0 + 11;
    for (std::size_t i = 0; i < plot.series.size(); ++i) {
        const PlotSeries& series = plot.series[i];
        if (series.name.empty())
            continue;
        // The swatch drawn as its line is, long enough to show its dashes.
        Shape swatch = line(lx, ly, lx + 20, ly, Colours[i % ColourCount], dashesOf(plot, i));
        swatch.width = series.style == PlotSeries::Style::Bold ? 3.0 : 2.0;
        if (series.style == PlotSeries::Style::Dots)
            swatch.dashes = {2, 4};
        out.push_back(swatch);
        out.push_back(text(lx + 24, ly + 4, series.name));
        lx += 32 + 6.5 * static_cast<double>(series.name.size());
    }
    return g;
}

} // namespace

Drawing DrawPlots(const std::vector<Plot>& plots) {
    Drawing d;
    d.width = Width;
    d.height = Height * static_cast<double>(plots.size());
    for (std::size_t i = 0; i < plots.size(); ++i)
        d.groups.push_back(drawPlot(plots[i], Height * static_cast<double>(i)));
    return d;
}

} // namespace owlet::loop
