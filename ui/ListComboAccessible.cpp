#include "ui/ListComboAccessible.h"

#include "ui/AccessibleInterfaces.h"

#include <QAbstractItemView>
#include <QComboBox>

namespace owlet {

ListComboAccessible::ListComboAccessible(QComboBox* box)
    : QAccessibleWidget(box, QAccessible::ComboBox) {
    QObject::connect(box, &QComboBox::currentTextChanged, box,
                     [box, shown = box->currentText()](const QString& text) mutable {
                         QAccessibleTextUpdateEvent changed(box, 0, shown, text);
                         QAccessible::updateAccessibility(&changed);
                         shown = text;
                     });
}

QComboBox* ListComboAccessible::box() const {
    return static_cast<QComboBox*>(widget());
}

void* ListComboAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString ListComboAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && !box()->accessibleName().isEmpty())
        return box()->accessibleName();
    if (t == QAccessible::Name || t == QAccessible::Value)
        return box()->currentText();
    return QAccessibleWidget::text(t);
}

QAccessible::State ListComboAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.expanded = box()->view()->isVisible();
    return s;
}

int ListComboAccessible::childCount() const {
    return 1;
}

QAccessibleInterface* ListComboAccessible::child(int index) const {
    return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
}

int ListComboAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return child && child->object() == box()->view() ? 0 : -1;
}

QStringList ListComboAccessible::actionNames() const {
    return {showMenuAction(), pressAction()};
}

void ListComboAccessible::doAction(const QString& action) {
    openOrCloseList(box(), action);
}

void ListComboAccessible::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
}

QString ListComboAccessible::text(int startOffset, int endOffset) const {
    return box()->currentText().mid(startOffset, endOffset - startOffset);
}

int ListComboAccessible::characterCount() const {
    return static_cast<int>(box()->currentText().size());
}

QString ListComboAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    if (offset < 0 || offset > *endOffset)
        *startOffset = *endOffset = -1;
    return {};
}

} // namespace owlet
