#pragma once

#include <QAccessibleWidget>

class QComboBox;

namespace owlet {

// A combo box that takes no typing (the loop window's "Design for" and "Series"). Qt's
// own interface names it by its current entry and offers the entry nowhere else, so with
// a name of its own Orca said "Series combo box" and never E12 or E24: this one keeps the
// name and offers the entry as its text, which Orca reads as the box's value, and tells of
// a new entry as a change of that text.
class ListComboAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ListComboAccessible(QComboBox* box);
    void* interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;

    void selection(int, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    QComboBox* box() const;
};

} // namespace owlet
