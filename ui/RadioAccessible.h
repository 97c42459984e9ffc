#pragma once

#include <QAccessibleWidget>

class QAbstractButton;

namespace owlet {

// An option button in a frame. Qt's own interface has it labelled by its frame, and Orca
// then says the frame's name again after entering it and at every arrow key ("Phase
// Detector panel. Phase Detector."): the frame, a group named by its caption, is said once.
class RadioAccessible final : public QAccessibleWidget {
public:
    explicit RadioAccessible(QAbstractButton* button);
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match = QAccessible::AllRelations) const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;

private:
    QAbstractButton* button() const;
};

} // namespace owlet
