#include "ui/AccessibleNames.h"

#include "panel/Captions.h"
#include "ui/ControlWidgets.h"
#include "ui/QtText.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace owlet {

void applyAccessibleName(Control control, const ControlWidgets& widgets) {
    QWidget* w = widgets.widget(control);
    if (!w)
        return;
    QString name = qt(ownNameOf(control));
    if (const std::optional<Control> caption = captionLabelOf(control)) {
        auto* label = qobject_cast<QLabel*>(widgets.widget(*caption));
        label->setBuddy(w);
        name = label->text();
    }
    if (name.isEmpty())
        return;
    w->setAccessibleName(name);
    if (auto* box = qobject_cast<QComboBox*>(w))
        box->lineEdit()->setAccessibleName(name);
}

void describeEdited(QWidget* field, bool edited) {
    field->setAccessibleDescription(qt(editedDescription(edited)));
}

} // namespace owlet
