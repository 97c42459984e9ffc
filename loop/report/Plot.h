#pragma once

#include <array>
#include <string>
#include <vector>

namespace owlet::loop {

// One chart as data, drawn alike by every view: lines and dots over two axes, vertical
// marks at named places, and a one-line summary for screen readers.
struct PlotSeries {
    enum class Style { Line, Dashed, Dots, Bold };
    std::string name;
    Style style = Style::Line;
    std::vector<std::array<double, 2>> points;
};

struct PlotMark {
    double x = 0.0;
    std::string label;
};

struct Plot {
    std::string title;
    std::string xUnit, yUnit; // SI units the ticks are written in ("Hz", "s", "dB", "°")
    bool logX = false;
    bool prefixY = true; // ticks with SI prefixes; false for dB and degrees
    std::vector<PlotSeries> series;
    std::vector<PlotMark> marks;
    std::string summary;
};

} // namespace owlet::loop
