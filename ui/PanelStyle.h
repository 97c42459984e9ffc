#pragma once

#include <QProxyStyle>

namespace owlet {

// Fusion, which draws the coloured button and port box the same on every desktop, with two
// things of its own: the frames of the option groups drawn as lines (Fusion draws them from
// a picture that it reads by name alone, which makes Qt load every image-format plugin at
// start-up to identify it), and buttons marked SolidButton painted in their palette's
// button colour, solid, where Fusion would pale it into a gradient (a style sheet would do
// it too, but starts the style-sheet engine for the whole window).
class PanelStyle final : public QProxyStyle {
    Q_OBJECT

public:
    static constexpr const char* SolidButton = "owletSolidButton";

    PanelStyle();
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
};

} // namespace owlet
