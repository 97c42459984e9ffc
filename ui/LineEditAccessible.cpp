#include "ui/LineEditAccessible.h"

#include <QFontMetrics>
#include <QLineEdit>

namespace owlet {

LineEditAccessible::LineEditAccessible(QLineEdit* edit)
    : QAccessibleWidget(edit, QAccessible::EditableText) {}

QLineEdit* LineEditAccessible::edit() const {
    return static_cast<QLineEdit*>(widget());
}

void* LineEditAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (t == QAccessible::EditableTextInterface && !edit()->isReadOnly())
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString LineEditAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Value:
        return edit()->text();
    case QAccessible::Description: {
        QString description = QAccessibleWidget::text(t); // or the tooltip
        if (!edit()->placeholderText().isEmpty() && edit()->text().isEmpty())
            description += (description.isEmpty() ? QString() : QStringLiteral(". ")) +
                           QStringLiteral("Hint: ") + edit()->placeholderText();
        return description;
    }
    default:
        return QAccessibleWidget::text(t);
    }
}

void LineEditAccessible::setText(QAccessible::Text t, const QString& text) {
    if (t == QAccessible::Value)
        replaceText(0, characterCount(), text);
    else
        QAccessibleWidget::setText(t, text);
}

QAccessible::State LineEditAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = !edit()->isReadOnly();
    s.readOnly = edit()->isReadOnly();
    s.selectableText = true;
    return s;
}

void LineEditAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !edit()->hasSelectedText())
        return;
    *startOffset = edit()->selectionStart();
    *endOffset = edit()->selectionEnd();
}

int LineEditAccessible::selectionCount() const {
    return edit()->hasSelectedText() ? 1 : 0;
}

void LineEditAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void LineEditAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0)
        edit()->deselect();
}

void LineEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0)
        edit()->setSelection(startOffset, endOffset - startOffset);
}

int LineEditAccessible::cursorPosition() const {
    return edit()->cursorPosition();
}

void LineEditAccessible::setCursorPosition(int position) {
    edit()->setCursorPosition(position);
}

QString LineEditAccessible::text(int startOffset, int endOffset) const {
    if (startOffset > endOffset)
        return {};
    return edit()->text().mid(startOffset, endOffset - startOffset);
}

int LineEditAccessible::characterCount() const {
    return static_cast<int>(edit()->text().size());
}

// The character's box on the screen, from the font's advances along the box's text.
QRect LineEditAccessible::characterRect(int offset) const {
    const QString shown = edit()->text();
    if (offset < 0 || offset >= shown.size())
        return {};
    const QFontMetrics metrics(edit()->font());
    const QRect cursor = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int origin =
        cursor.center().x() - metrics.horizontalAdvance(shown.left(edit()->cursorPosition()));
    const int left = origin + metrics.horizontalAdvance(shown.left(offset));
    const QRect local(left, cursor.top(), metrics.horizontalAdvance(shown.at(offset)),
                      cursor.height());
    return QRect(edit()->mapToGlobal(local.topLeft()), local.size());
}

int LineEditAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = edit()->mapFromGlobal(point);
    return edit()->rect().contains(local) ? edit()->cursorPositionAt(local) : -1;
}

void LineEditAccessible::scrollToSubstring(int startIndex, int endIndex) {
    edit()->setCursorPosition(endIndex);
    edit()->setCursorPosition(startIndex);
}

// One run of the box's one font over the whole text.
QString LineEditAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    const int count = characterCount();
    if (offset < 0 || offset > count) {
        *startOffset = *endOffset = -1;
        return {};
    }
    *startOffset = 0;
    *endOffset = count;
    return {};
}

void LineEditAccessible::deleteText(int startOffset, int endOffset) {
    replaceText(startOffset, endOffset, QString());
}

void LineEditAccessible::insertText(int offset, const QString& text) {
    replaceText(offset, offset, text);
}

void LineEditAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    if (edit()->isReadOnly() || startOffset < 0 || startOffset > endOffset ||
        endOffset > characterCount())
        return;
    // As typing over a selection, so the panel hears of the edit as of the keyboard's.
    edit()->setSelection(startOffset, endOffset - startOffset);
    edit()->insert(text);
}

} // namespace owlet
