#include "loop/PartValue.h"
#include "loop/Plot.h"

#include <algorithm>
#include <cmath>

namespace owlet::loop {
namespace {

constexpr double Width = 640, Height = 240, Left = 64, Right = 16, Top = 28, Bottom = 40;
constexpr const char* Colours[] = {"#1f5fa8", "#c0392b", "#2e8b57", "#7d3c98"};

std::string escaped(std::string_view text) {
    std::string r;
    for (const char c : text)
        r += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : std::string(1, c);
    return r;
}

std::string num(double v) {
    return FixedText(v, 1);
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

void drawPlot(std::string& svg, const Plot& plot, double y0) {
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
    const auto px = [&](double x) {
        const double v = logX ? std::log10(std::max(x, 1e-300)) : x;
        return Left + (v - xr.lo) / (xr.hi - xr.lo) * w;
    };
    const auto py = [&](double y) {
        return y0 + Top + (yr.hi - y) / (yr.hi - yr.lo) * h;
    };
    svg += "<g><title>" + escaped(plot.summary) + "</title>\n";
    svg += "<text x=\"" + num(Left) + "\" y=\"" + num(y0 + 18) + "\" font-weight=\"bold\">" +
           escaped(plot.title) + "</text>\n";
    svg += "<rect x=\"" + num(Left) + "\" y=\"" + num(y0 + Top) + "\" width=\"" + num(w) +
           "\" height=\"" + num(h) + "\" fill=\"none\" stroke=\"#888\"/>\n";
    for (const double t : linearTicks(yr.lo, yr.hi)) {
        const std::string y = num(py(t));
        svg += "<line x1=\"" + num(Left) + "\" x2=\"" + num(Left + w) + "\" y1=\"" + y +
               "\" y2=\"" + y + "\" stroke=\"#ddd\"/><text x=\"" + num(Left - 4) + "\" y=\"" +
               num(py(t) + 4) + "\" text-anchor=\"end\">" +
               escaped(plot.prefixY ? EngineeringText(t, plot.yUnit)
                                    : FixedText(t, std::abs(t - std::round(t)) < 1e-9 ? 0 : 1) +
                                          plot.yUnit) +
               "</text>\n";
    }
    std::vector<double> xticks;
    if (logX)
        for (double d = std::ceil(xr.lo); d <= xr.hi + 1e-9; ++d)
            xticks.push_back(std::pow(10.0, d));
    else
        xticks = linearTicks(xr.lo, xr.hi);
    for (const double t : xticks) {
        const std::string x = num(px(t));
        svg += "<line x1=\"" + x + "\" x2=\"" + x + "\" y1=\"" + num(y0 + Top) + "\" y2=\"" +
               num(y0 + Top + h) + "\" stroke=\"#ddd\"/><text x=\"" + x + "\" y=\"" +
               num(y0 + Top + h + 16) + "\" text-anchor=\"middle\">" +
               escaped(EngineeringText(t, plot.xUnit)) + "</text>\n";
    }
    svg += "<clipPath id=\"c" + num(y0) + "\"><rect x=\"" + num(Left) + "\" y=\"" + num(y0 + Top) +
           "\" width=\"" + num(w) + "\" height=\"" + num(h) +
           "\"/></clipPath>\n<g clip-path=\"url(#c" + num(y0) + ")\">\n";
    for (std::size_t i = 0; i < plot.series.size(); ++i) {
        const PlotSeries& s = plot.series[i];
        const std::string colour = Colours[i % 4];
        if (s.style == PlotSeries::Style::Dots) {
            svg += "<g fill=\"" + colour + "\">";
            for (const auto& p : s.points)
                if (std::isfinite(p[1]))
                    svg += "<circle cx=\"" + num(px(p[0])) + "\" cy=\"" + num(py(p[1])) +
                           "\" r=\"1.5\"/>";
            svg += "</g>\n";
            continue;
        }
        // A point that is not a number breaks the line.
        svg += "<path fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1.5\"" +
               (s.style == PlotSeries::Style::Dashed ? " stroke-dasharray=\"5,4\"" : "") + " d=\"";
        char move = 'M';
        for (const auto& p : s.points) {
            if (!std::isfinite(p[1]) || (logX && !(p[0] > 0.0))) {
                move = 'M';
                continue;
            }
            svg += move + num(px(p[0])) + "," + num(py(p[1])) + " ";
            move = 'L';
        }
        svg += "\"/>\n";
    }
    for (const PlotMark& m : plot.marks) {
        const std::string x = num(px(m.x));
        svg += "<line x1=\"" + x + "\" x2=\"" + x + "\" y1=\"" + num(y0 + Top) + "\" y2=\"" +
               num(y0 + Top + h) + "\" stroke=\"#444\" stroke-dasharray=\"2,3\"/><text x=\"" +
               num(px(m.x) + 4) + "\" y=\"" + num(y0 + Top + 14) + "\">" + escaped(m.label) +
               "</text>\n";
    }
    svg += "</g>\n";
    // The legend right-aligned above the chart, one swatch a named series.
    double lx = Width - Right;
    for (const PlotSeries& series : plot.series)
        if (!series.name.empty())
            lx -= 24 + 6.5 * static_cast<double>(series.name.size());
    for (std::size_t i = 0; i < plot.series.size(); ++i) {
        if (plot.series[i].name.empty())
            continue;
        svg += "<rect x=\"" + num(lx) + "\" y=\"" + num(y0 + 10) +
               "\" width=\"12\" height=\"3\" fill=\"" + Colours[i % 4] + "\"/><text x=\"" +
               num(lx + 16) + "\" y=\"" + num(y0 + 15) + "\">" + escaped(plot.series[i].name) +
               "</text>\n";
        lx += 24 + 6.5 * static_cast<double>(plot.series[i].name.size());
    }
    svg += "</g>\n";
}

} // namespace

std::string SvgDocument(const std::vector<Plot>& plots) {
    const double height = Height * static_cast<double>(plots.size());
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(Width) +
                      "\" height=\"" + num(height) + "\" viewBox=\"0 0 " + num(Width) + " " +
                      num(height) +
                      "\" font-family=\"sans-serif\" font-size=\"11\" role=\"img\">\n"
                      "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
    for (std::size_t i = 0; i < plots.size(); ++i)
        drawPlot(svg, plots[i], Height * static_cast<double>(i));
    return svg + "</svg>\n";
}

} // namespace owlet::loop
