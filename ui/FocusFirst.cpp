#include "ui/FocusFirst.h"

#include "ui/Unheard.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>

namespace owlet {

FocusFirst::FocusFirst(QObject* parent)
    : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

// The box handles its focus change with the screen reader's events held back: what it
// selects or moves there is read with the focus that Qt tells of right after.
bool FocusFirst::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) ||
        !QAccessible::isActive() ||
        !(qobject_cast<QLineEdit*>(watched) || qobject_cast<QComboBox*>(watched)))
        return false;
    const Unheard unheard;
    watched->event(event);
    return true;
}

} // namespace owlet
