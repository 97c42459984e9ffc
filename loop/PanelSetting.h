#pragma once

#include <string>
#include <string_view>

namespace owlet::loop {

// What the designer follows of the panel: Fref, Fcomp2 and Fout as typed, the phase
// detector and Invert PD. The page's two modules hand it over as one line.
struct PanelSetting {
    std::string fref, fcomp, fout;
    bool pdOut = false;
    bool invertPd = false;

    bool operator==(const PanelSetting&) const = default;

    // The fields parted by the unit separator (0x1F), which no field holds as typed; the
    // two choices as 0 or 1.
    std::string line() const;
    static PanelSetting FromLine(std::string_view line);
};

} // namespace owlet::loop
