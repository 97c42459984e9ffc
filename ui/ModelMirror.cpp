#include "ui/ModelMirror.h"

#include "panel/Captions.h"
#include "panel/SynthPanel.h"
#include "ui/AccessibleNames.h"
#include "ui/ControlWidgets.h"
#include "ui/QtText.h"
#include "ui/ResponseBox.h"
#include "ui/Unheard.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <optional>

namespace owlet {
namespace {

// The panel's words on a value, in the tooltip and for a screen reader; a field's text
// turns red while it has any, so a divider the chip cannot count with stands out.
void showNote(QWidget* w, const std::string& note) {
    w->setToolTip(qt(noteToolTip(note)));
    w->setAccessibleDescription(qt(note));
    if (!qobject_cast<QLineEdit*>(w))
        return;
    QPalette palette = w->palette();
    const QPalette standard = QApplication::palette(w);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Text,
                         note.empty() ? standard.color(group, QPalette::Text) : rgb(Red));
    w->setPalette(palette);
}

} // namespace

// Every property but the note: no control starts with one, and the tooltips and
// descriptions a control has of its own stay.
void ModelMirror::mirrorAll(Control control) const {
    for (Property p : {Property::Text, Property::Visible, Property::BackColor, Property::ListIndex,
                       Property::Value, Property::Selected, Property::Bold})
        mirror(control, p);
}

void ModelMirror::mirror(Control control, Property property) const {
    const ControlState& s = panel_.state(control);
    QWidget* w = widgets_.widget(control);
    if (!w)
        return;
    switch (property) {
    case Property::Text:
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            if (edit->text() != qt(s.text)) // never disturb what the user is typing
                edit->setText(qt(s.text));
        } else if (qobject_cast<QComboBox*>(w)) {
            mirrorCombo(control);
        } else if (auto* box = qobject_cast<ResponseBox*>(w)) {
            box->clearText();
            box->append(qt(s.text));
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            label->setText(qt(captionText(s.text)));
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            button->setText(qt(s.text));
        } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
            frame->setTitle(qt(s.text));
        }
        break;
    case Property::Visible:
        w->setVisible(s.visible);
        break;
    case Property::BackColor:
        if (s.backColor) {
            QPalette palette = w->palette();
            palette.setColor(QPalette::Base, rgb(*s.backColor));
            w->setPalette(palette);
            describeEdited(w, isEdited(*s.backColor));
        }
        break;
    case Property::ListIndex:
        if (qobject_cast<QComboBox*>(w))
            mirrorCombo(control);
        break;
    case Property::Value:
        if (auto* check = qobject_cast<QCheckBox*>(w)) {
            check->setTristate(s.value == 2);
            check->setCheckState(s.value == 1   ? Qt::Checked
                                 : s.value == 2 ? Qt::PartiallyChecked
                                                : Qt::Unchecked);
        }
        break;
    case Property::Selected:
        if (auto* option = qobject_cast<QRadioButton*>(w); option && s.selected)
            option->setChecked(true);
        break;
    case Property::Bold:
        if (qobject_cast<QPushButton*>(w)) {
            QFont font = w->font();
            font.setBold(s.bold);
            w->setFont(font);
        }
        break;
    case Property::Note:
        showNote(w, s.note);
        break;
    }
}

// The box shows the model's text and choice, whatever the widget did on its own; the
// cursor stays where the user left it. A handler's rewrite of a box the focus is not in
// ("Set R " writes Fcomp) is not told to the screen reader: Qt tells of no focus change
// of a combo box's text field, and Orca took the field's caret move for the focus moving
// there.
void ModelMirror::mirrorCombo(Control control) const {
    auto* box = static_cast<QComboBox*>(widgets_.widget(control));
    std::optional<Unheard> unheard;
    if (!box->hasFocus())
        unheard.emplace();
    const ControlState& s = panel_.state(control);
    const QString text = qt(s.text);
    QLineEdit* edit = box->lineEdit();
    const int cursor = edit->cursorPosition();
    if (box->currentIndex() != s.listIndex)
        box->setCurrentIndex(s.listIndex); // also rewrites the field: put the text back below
    if (edit->text() != text) {
        edit->setText(text);
        edit->setCursorPosition(std::min<int>(cursor, static_cast<int>(text.size())));
    }
}

} // namespace owlet
