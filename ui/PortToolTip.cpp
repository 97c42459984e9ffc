#include "ui/PortToolTip.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace owlet {

PortToolTip::PortToolTip(QWidget* portBox, PortListing listing)
    : portBox_(portBox)
    , listing_(std::move(listing)) {
    portBox_->setToolTip(QStringLiteral("Port numbers"));
    if (listing_)
        portBox_->installEventFilter(this);
}

bool PortToolTip::eventFilter(QObject* watched, QEvent* event) {
    if (watched != portBox_ || event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                       QStringLiteral("Port numbers now:\n") + listing_(), portBox_);
    return true;
}

} // namespace owlet
