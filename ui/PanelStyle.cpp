#include "ui/PanelStyle.h"

#include <QGroupBox>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace owlet {

PanelStyle::PanelStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void PanelStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    if (element != PE_FrameGroupBox)
        return QProxyStyle::drawPrimitive(element, option, painter, widget);
    // Where Fusion puts it: below the title, a rounded line in its outline colour.
    const auto* box = qobject_cast<const QGroupBox*>(widget);
    const int gap = 2;
    const int top =
        box && box->title().isEmpty()
            ? gap
            : std::max(pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height()) +
                  gap;
    const QRectF frame = QRectF(option->rect.adjusted(0, top, 0, 0)).adjusted(0.5, 0.5, -0.5, -0.5);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(option->palette.window().color().darker(140));
    painter->setBrush(Qt::NoBrush);
    painter->drawRoundedRect(frame, 2, 2);
    painter->restore();
}

} // namespace owlet
