#pragma once

#include "panel/Control.h"

#include <array>
#include <iterator>
#include <optional>
#include <string_view>

namespace owlet {

// Where each control stands and how it looks, in twips (1/1440 inch; 15 twips are one
// pixel at 96 dpi, one device-independent pixel in Qt and one CSS pixel in the browser).
// The window and the web page both read this one table.
enum class Align { Default, Left, Centre, Right };
enum class FontRole { Window, Entry, Banner }; // Entry: 9.75 pt normal; Banner: 9.75 pt bold

// Their names, for the page's check of its numbers; empty past the last.
constexpr std::string_view alignName(Align align) {
    constexpr std::string_view Names[] = {"Default", "Left", "Centre", "Right"};
    const auto i = static_cast<std::size_t>(align);
    return i < std::size(Names) ? Names[i] : std::string_view();
}
constexpr std::string_view fontRoleName(FontRole role) {
    constexpr std::string_view Names[] = {"Window", "Entry", "Banner"};
    const auto i = static_cast<std::size_t>(role);
    return i < std::size(Names) ? Names[i] : std::string_view();
}

inline constexpr unsigned NoColor = 0xFFFFFFFFu;

struct Placement {
    Control control;
    int left;
    int top;
    int width;
    int height;
    Align align = Align::Default;
    FontRole font = FontRole::Window;
    unsigned textColor = NoColor;
    unsigned backColor = NoColor;
};

inline constexpr int TwipsPerPixel = 15;
inline constexpr int ClientWidthTwips = 6090;
inline constexpr int ClientHeightTwips = 5790;

using C = Control;
// Frames first: they lie beneath the controls inside their rectangles.
inline constexpr std::array<Placement, ControlCount> Layout{{
    {C::Frame1, 360, 2160, 1335, 1335},
    {C::Frame2, 1800, 2040, 1695, 1575},
    {C::LDE, 1920, 2880, 1215, 255},
    {C::FrE, 1920, 2640, 1095, 255},
    {C::FvE, 1920, 2400, 1095, 255},
    {C::RefOut, 1920, 3120, 1455, 315},
    {C::InvertPD, 480, 3000, 1095, 255},
    {C::PD1, 480, 2760, 975, 255},
    {C::PD0, 480, 2520, 1095, 255},
    {C::Creg, 4560, 2280, 1095, 285},
    {C::SetC, 3600, 2280, 735, 255},
    {C::Fcomp2, 2280, 720, 975, 315},
    {C::CPNo, 1440, 3720, 495, 285, Align::Default, FontRole::Window, 0xFFFFC0, 0xFF0000},
    {C::SetCP, 480, 3720, 855, 255, Align::Default, FontRole::Window, NoColor, 0xFF0000},
    {C::StoreEE, 4800, 3000, 975, 375},
    {C::Update, 3720, 3000, 975, 375},
    {C::SetR, 3600, 1080, 735, 255},
    {C::Rreg, 4560, 1080, 1095, 285},
    {C::Nreg, 4560, 1680, 1095, 285},
    {C::SetN, 3600, 1680, 735, 255},
    {C::Fout, 2280, 1680, 1095, 270, Align::Default, FontRole::Entry},
    {C::Fref, 2280, 1080, 1095, 270, Align::Default, FontRole::Entry},
    {C::Text1, 3240, 3960, 2415, 1575},
    {C::Label13, 4680, 2040, 855, 255, Align::Left},
    {C::Label8, 3240, 3720, 2415, 255, Align::Centre},
    {C::Label7, 120, 120, 5895, 495, Align::Centre, FontRole::Banner, 0x800080, 0xC0C0C0},
    {C::Warn, 720, 4080, 2415, 975, Align::Centre, FontRole::Entry, 0xFF0000},
    {C::Label5, 4680, 840, 855, 255, Align::Left},
    {C::Label4, 4680, 1440, 855, 255, Align::Left},
    {C::Label3, 1200, 720, 975, 255, Align::Right},
    {C::Label2, 1320, 1680, 855, 255, Align::Right},
    {C::Label1, 960, 1080, 1215, 255, Align::Right},
}};

constexpr const Placement& placementOf(Control control) {
    for (const Placement& p : Layout)
        if (p.control == control)
            return p;
    return Layout.front(); // every control has a row
}

// The frame whose rectangle holds the control, if one does: the controls a screen reader
// hears as that frame's group.
inline std::optional<Control> frameAround(Control control) {
    const Placement& c = placementOf(control);
    for (const Placement& f : Layout)
        if (controlKind(f.control) == ControlKind::Frame && f.control != control &&
            c.left >= f.left && c.top >= f.top && c.left + c.width <= f.left + f.width &&
            c.top + c.height <= f.top + f.height)
            return f.control;
    return std::nullopt;
}

constexpr int pixels(int twips) {
    return twips / TwipsPerPixel;
}

} // namespace owlet
