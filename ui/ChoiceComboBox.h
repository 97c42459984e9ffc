#pragma once

#include <QComboBox>

namespace owlet {

// An editable combo box that tells the user's choice of a list entry apart from typing.
// QComboBox also reports `activated` when its field finishes editing (the focus leaves it,
// Return) while the text equals an entry; this box reports `entryChosen` only for a choice
// from the open list, by pointer or keyboard, and for an arrow key on the closed box.
// Typing never selects an entry, completes one or adds one, and the mouse wheel chooses
// nothing: scrolling over the panel must not pick a frequency by accident.
class ChoiceComboBox final : public QComboBox {
    Q_OBJECT

public:
    explicit ChoiceComboBox(QWidget* parent = nullptr);

    // Opens the list on the entry the box shows, where one does, so Return keeps it.
    void showPopup() override;

signals:
    void entryChosen(int index);

protected:
    void wheelEvent(QWheelEvent* event) override;
};

} // namespace owlet
