#pragma once

#include <QProxyStyle>

namespace owlet {

// Fusion, which draws the coloured button and port box the same on every desktop, with the
// frames of the option groups drawn as lines. Fusion draws them from a picture that it reads
// by name alone, which makes Qt load every image-format plugin at start-up to identify it.
class PanelStyle final : public QProxyStyle {
    Q_OBJECT

public:
    PanelStyle();
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
};

} // namespace owlet
