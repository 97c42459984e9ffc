#include "ui/Look.h"

#include "panel/Layout.h"
#include "ui/ControlWidgets.h"
#include "ui/PanelStyle.h"
#include "ui/QtText.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace owlet {
namespace {

Qt::Alignment alignment(Align align) {
    switch (align) {
    case Align::Left:
        return Qt::AlignLeft | Qt::AlignTop;
    case Align::Centre:
        return Qt::AlignHCenter | Qt::AlignTop;
    case Align::Right:
        return Qt::AlignRight | Qt::AlignTop;
    case Align::Default:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

QFont defaultFont() {
    // A narrow sans-serif face of 11 device-independent pixels, so every caption fits its
    // control. fontconfig's metric aliases stand in Arimo or Arial where Liberation is
    // missing, and the style hint any sans-serif face after them.
    QFont font;
    font.setFamily(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QFont entryFont(bool bold) {
    // 9.75 points are 13 pixels at 96 dpi.
    QFont font = defaultFont();
    font.setPixelSize(13);
    font.setBold(bold);
    return font;
}

void applyLook(const ControlWidgets& widgets) {
    for (const Placement& place : Layout) {
        QWidget* w = widgets.widget(place.control);
        if (!w)
            continue;
        if (place.font != FontRole::Window)
            w->setFont(entryFont(place.font == FontRole::Banner));
        auto* label = qobject_cast<QLabel*>(w);
        if (label && place.align != Align::Default)
            label->setAlignment(alignment(place.align));
        QPalette palette = w->palette();
        if (place.textColor != NoColor) {
            palette.setColor(QPalette::WindowText, rgb(place.textColor));
            palette.setColor(QPalette::Text, rgb(place.textColor));
        }
        if (place.backColor != NoColor) {
            palette.setColor(QPalette::Window, rgb(place.backColor));
            palette.setColor(QPalette::Base, rgb(place.backColor));
            palette.setColor(QPalette::Button, rgb(place.backColor));
            w->setAutoFillBackground(label != nullptr);
            if (qobject_cast<QPushButton*>(w))
                w->setProperty(PanelStyle::SolidButton, true);
        }
        w->setPalette(palette);
    }
}

} // namespace owlet
