#include "ui/ChoiceComboBox.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QWheelEvent>

namespace owlet {

ChoiceComboBox::ChoiceComboBox(QWidget* parent)
    : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    // The box's own reaction to a finished edit selects the entry the text equals and
    // reports it as activated; a finished edit is no choice, so that reaction goes. What
    // is left to raise `activated` is the open list and the arrow keys.
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    connect(this, &QComboBox::activated, this, &ChoiceComboBox::entryChosen);
}

void ChoiceComboBox::showPopup() {
    QComboBox::showPopup();
    const int shown = findText(currentText().trimmed(), Qt::MatchExactly);
    if (shown >= 0)
        view()->setCurrentIndex(model()->index(shown, modelColumn()));
}

void ChoiceComboBox::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

} // namespace owlet
