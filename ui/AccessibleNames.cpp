#include "ui/AccessibleNames.h"

#include "ui/ControlWidgets.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace owlet {
namespace {

// The caption label of each input.
struct Caption {
    Control input;
    Control label;
};
constexpr Caption Captions[] = {
    {Control::Fref, Control::Label1},  {Control::Fcomp2, Control::Label3},
    {Control::Fout, Control::Label2},  {Control::Rreg, Control::Label5},
    {Control::Nreg, Control::Label4},  {Control::Creg, Control::Label13},
    {Control::Text1, Control::Label8},
};

// Inputs without a caption label of their own.
QString nameOf(Control control) {
    switch (control) {
    case Control::RefOut:
        return QStringLiteral("REFout frequency");
    case Control::CPNo:
        return QStringLiteral("COM port number");
    default:
        return {};
    }
}

} // namespace

void applyAccessibleName(Control control, const ControlWidgets& widgets) {
    QWidget* w = widgets.widget(control);
    if (!w)
        return;
    QString name = nameOf(control);
    for (const Caption& c : Captions)
        if (c.input == control) {
            auto* label = qobject_cast<QLabel*>(widgets.widget(c.label));
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
    field->setAccessibleDescription(
        edited ? QStringLiteral("Edited")
               : QStringLiteral("Not edited yet: shows the prompt Enter value"));
}

WarningAlert::WarningAlert(QWidget* warning)
    : warning_(warning) {}

void WarningAlert::announce() {
    if (pending_)
        return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
        pending_ = false;
        if (warning_->isVisible()) {
            QAccessibleEvent alert(warning_, QAccessible::Alert);
            QAccessible::updateAccessibility(&alert);
        }
    });
}

} // namespace owlet
