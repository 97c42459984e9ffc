#include "loop/PanelSetting.h"

#include <algorithm>

namespace owlet::loop {
namespace {
constexpr char Separator = '\x1f';
}

std::string PanelSetting::line() const {
    return fref + Separator + fcomp + Separator + fout + Separator + (pdOut ? '1' : '0') +
           Separator + (invertPd ? '1' : '0');
}

PanelSetting PanelSetting::FromLine(std::string_view line) {
    std::string parts[5];
    for (std::string& part : parts) {
        const std::size_t end = std::min(line.find(Separator), line.size());
        part = line.substr(0, end);
        line.remove_prefix(std::min(end + 1, line.size()));
    }
    return {parts[0], parts[1], parts[2], parts[3] == "1", parts[4] == "1"};
}

} // namespace owlet::loop
