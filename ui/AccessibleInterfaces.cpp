#include "ui/AccessibleInterfaces.h"

#include "ui/ChoiceComboBox.h"
#include "ui/LineEditAccessible.h"
#include "ui/ListComboAccessible.h"
#include "ui/RadioAccessible.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace owlet {
namespace {

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("owlet::ChoiceComboBox"))
        return new ComboAccessible(static_cast<ChoiceComboBox*>(object));
    if (className == QLatin1String("QComboBox"))
        return new ListComboAccessible(static_cast<QComboBox*>(object));
    if (className == QLatin1String("QRadioButton"))
        return new RadioAccessible(static_cast<QAbstractButton*>(object));
    // Qt's own boxes of every kind too: a table's cell editor is a QLineEdit of its own class.
    if (auto* edit = qobject_cast<QLineEdit*>(object))
        return new LineEditAccessible(edit);
    if (className == QLatin1String("owlet::Announcer"))
        return new AnnouncementAccessible(static_cast<QLabel*>(object));
    if (className == QLatin1String("QLabel") &&
        object->objectName() == QLatin1String(WarningObjectName))
        return new WarningAccessible(static_cast<QLabel*>(object));
    return nullptr;
}

} // namespace

ComboAccessible::ComboAccessible(ChoiceComboBox* box)
    : QAccessibleWidget(box, QAccessible::ComboBox) {}

ChoiceComboBox* ComboAccessible::box() const {
    return static_cast<ChoiceComboBox*>(widget());
}

QString ComboAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return box()->accessibleName();
    case QAccessible::Value:
        return box()->lineEdit()->text();
    default:
        return QAccessibleWidget::text(t);
    }
}

// Child 0 is the list of entries (it lives in a popup, so it is no child widget of the
// box), child 1 the text field.
int ComboAccessible::childCount() const {
    return 2;
}

QAccessibleInterface* ComboAccessible::child(int index) const {
    if (index == 0)
        return QAccessible::queryAccessibleInterface(box()->view());
    if (index == 1)
        return QAccessible::queryAccessibleInterface(box()->lineEdit());
    return nullptr;
}

int ComboAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (child && child->object() == box()->view())
        return 0;
    if (child && child->object() == box()->lineEdit())
        return 1;
    return -1;
}

QAccessibleInterface* ComboAccessible::childAt(int x, int y) const {
    const QPoint local = box()->lineEdit()->mapFromGlobal(QPoint(x, y));
    return box()->lineEdit()->rect().contains(local) ? child(1) : nullptr;
}

// The box is the focus proxy of its text field, so the field itself never has the focus.
QAccessibleInterface* ComboAccessible::focusChild() const {
    return child(1);
}

QStringList ComboAccessible::actionNames() const {
    return {showMenuAction(), pressAction()};
}

QString ComboAccessible::localizedActionDescription(const QString& action) const {
    if (action == showMenuAction() || action == pressAction())
        return QStringLiteral("Open the list of entries");
    return {};
}

void ComboAccessible::doAction(const QString& action) {
    openOrCloseList(box(), action);
}

QStringList ComboAccessible::keyBindingsForAction(const QString& action) const {
    if (action == showMenuAction())
        return {QStringLiteral("Alt+Down")};
    return {};
}

WarningAccessible::WarningAccessible(QLabel* label)
    : QAccessibleWidget(label, QAccessible::AlertMessage) {}

QString WarningAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name)
        return static_cast<const QLabel*>(widget())->text();
    return QAccessibleWidget::text(t);
}

AnnouncementAccessible::AnnouncementAccessible(QLabel* label)
    : QAccessibleWidget(label, QAccessible::Notification) {}

QString AnnouncementAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name)
        return static_cast<const QLabel*>(widget())->text();
    return QAccessibleWidget::text(t);
}

void openOrCloseList(QComboBox* box, const QString& action) {
    if (action != QAccessibleActionInterface::showMenuAction() &&
        action != QAccessibleActionInterface::pressAction())
        return;
    if (box->view()->isVisible())
        box->hidePopup();
    else
        box->showPopup();
}

void installAccessibleInterfaces() {
    QAccessible::removeFactory(factory); // one entry is enough
    QAccessible::installFactory(factory);
}

} // namespace owlet
