#include "ui/InputBinding.h"

#include "panel/SynthPanel.h"
#include "ui/ChoiceComboBox.h"
#include "ui/ControlWidgets.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

namespace owlet {

InputBinding::InputBinding(SynthPanel& panel, const ControlWidgets& widgets,
                           std::function<void(Control)> chosen)
    : panel_(panel)
    , widgets_(widgets)
    , chosen_(std::move(chosen)) {
    for (std::size_t i = 0; i < ControlCount; ++i) {
        const auto control = static_cast<Control>(i);
        if (QWidget* w = widgets_.widget(control))
            bind(control, w);
    }
}

void InputBinding::bind(Control control, QWidget* w) {
    const auto edited = [this, control](const QString& text) {
        panel_.userEditedText(control, text.toStdString());
    };
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        connect(edit, &QLineEdit::textEdited, this, edited);
        edit->installEventFilter(this); // clicks into the field
    } else if (auto* box = qobject_cast<ChoiceComboBox*>(w)) {
        connect(box, &ChoiceComboBox::entryChosen, this, [this, control](int index) {
            panel_.userChoseListEntry(control, index);
            chosen_(control);
        });
        connect(box->lineEdit(), &QLineEdit::textEdited, this, edited);
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        connect(check, &QCheckBox::clicked, this,
                [this, control](bool checked) { panel_.userSetCheck(control, checked ? 1 : 0); });
    } else if (auto* option = qobject_cast<QRadioButton*>(w)) {
        connect(option, &QRadioButton::clicked, this,
                [this, control] { panel_.userClickedOption(control); });
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
        connect(button, &QPushButton::clicked, this,
                [this, control] { panel_.userPressedButton(control); });
    }
}

bool InputBinding::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        // A click into a field: the left button pressed and released inside it.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* field = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            field->rect().contains(mouse->position().toPoint()))
            if (const auto control = widgets_.controlOf(watched))
                panel_.userClickedField(*control);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace owlet
