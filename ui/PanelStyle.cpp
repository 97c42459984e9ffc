#include "ui/PanelStyle.h"

#include <QGroupBox>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace owlet {

PanelStyle::PanelStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

namespace {

// Solid in the button colour, a darker border and, pressed, the darker colour; with the
// focus a border in the highlight colour.
void drawSolidButton(const QStyleOption* option, QPainter* painter) {
    const QColor colour = option->palette.button().color();
    const bool pressed = option->state & (QStyle::State_Sunken | QStyle::State_On);
    const bool focused = option->state & QStyle::State_HasFocus;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const qreal pen = focused ? 2 : 1;
    painter->setPen(QPen(focused ? option->palette.highlight().color() : colour.darker(150), pen));
    painter->setBrush(pressed ? colour.darker(150) : colour);
    const qreal inset = pen / 2;
    painter->drawRoundedRect(QRectF(option->rect).adjusted(inset, inset, -inset, -inset), 2, 2);
    painter->restore();
}

} // namespace

void PanelStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    const bool solid = widget && widget->property(SolidButton).toBool();
    if (solid && element == PE_PanelButtonCommand)
        return drawSolidButton(option, painter);
    if (solid && element == PE_FrameFocusRect)
        return; // the border shows the focus
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
