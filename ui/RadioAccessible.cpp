#include "ui/RadioAccessible.h"

#include <QAbstractButton>

namespace owlet {

RadioAccessible::RadioAccessible(QAbstractButton* button)
    : QAccessibleWidget(button, QAccessible::RadioButton) {}

QAbstractButton* RadioAccessible::button() const {
    return static_cast<QAbstractButton*>(widget());
}

QString RadioAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && button()->accessibleName().isEmpty())
        return button()->text().remove(u'&');
    return QAccessibleWidget::text(t);
}

QAccessible::State RadioAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.checked = button()->isChecked();
    return s;
}

QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
RadioAccessible::relations(QAccessible::Relation match) const {
    auto all = QAccessibleWidget::relations(match);
    const QObject* frame = button()->parent();
    all.removeIf([frame](const auto& relation) {
        return relation.second == QAccessible::Label && relation.first->object() == frame;
    });
    return all;
}

QStringList RadioAccessible::actionNames() const {
    return {pressAction()};
}

void RadioAccessible::doAction(const QString& action) {
    if (action == pressAction())
        button()->click();
}

} // namespace owlet
