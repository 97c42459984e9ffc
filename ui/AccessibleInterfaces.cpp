#include "ui/AccessibleInterfaces.h"

#include "ui/ChoiceComboBox.h"

#include <QLabel>
#include <QLineEdit>

namespace owlet {
namespace {

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("owlet::ChoiceComboBox"))
        return new ComboAccessible(static_cast<ChoiceComboBox*>(object));
    if (className == QLatin1String("QLabel") &&
        object->objectName() == QLatin1String(WarningObjectName))
        return new WarningAccessible(static_cast<QLabel*>(object));
    return nullptr;
}

} // namespace

ComboAccessible::ComboAccessible(ChoiceComboBox* box)
    : QAccessibleWidget(box, QAccessible::ComboBox) {}

QString ComboAccessible::text(QAccessible::Text t) const {
    const auto* box = static_cast<const ChoiceComboBox*>(widget());
    switch (t) {
    case QAccessible::Name:
        return box->accessibleName();
    case QAccessible::Value:
        return box->lineEdit()->text();
    default:
        return QAccessibleWidget::text(t);
    }
}

WarningAccessible::WarningAccessible(QLabel* label)
    : QAccessibleWidget(label, QAccessible::AlertMessage) {}

QString WarningAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name)
        return static_cast<const QLabel*>(widget())->text();
    return QAccessibleWidget::text(t);
}

void installAccessibleInterfaces() {
    QAccessible::removeFactory(factory); // one entry is enough
    QAccessible::installFactory(factory);
}

} // namespace owlet
