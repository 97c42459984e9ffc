#include "ui/ControlWidgets.h"

#include "panel/Layout.h"
#include "panel/SynthPanel.h"
#include "ui/ChoiceComboBox.h"
#include "ui/QtText.h"
#include "ui/ResponseBox.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace owlet {

ControlWidgets::ControlWidgets(QWidget* window, const SynthPanel& panel)
    : window_(window) {
    // In the layout's order: frames first, beneath the controls inside them.
    for (const Placement& placement : Layout)
        if (placement.control != Control::Text1)
            place(placement.control, create(placement.control, panel));
    // The controls inside a frame are its children, so a screen reader hears them as the
    // frame's group, named by its caption; they stay where they stood.
    for (std::size_t i = 0; i < ControlCount; ++i)
        if (const std::optional<Control> frame = frameAround(static_cast<Control>(i));
            frame && widgets_[i]) {
            QWidget* group = widgets_[indexOf(*frame)];
            const QRect at = widgets_[i]->geometry();
            widgets_[i]->setParent(group);
            widgets_[i]->setGeometry(at.translated(-group->pos()));
        }
}

std::optional<Control> ControlWidgets::controlOf(const QObject* object) const {
    const auto found = std::find(widgets_.begin(), widgets_.end(), object);
    if (object == nullptr || found == widgets_.end())
        return std::nullopt;
    return static_cast<Control>(found - widgets_.begin());
}

ResponseBox* ControlWidgets::makeResponseBox() {
    responseBox_ = new ResponseBox(window_);
    place(Control::Text1, responseBox_);
    return responseBox_;
}

void ControlWidgets::applyTabOrder() const {
    QWidget* previous = nullptr;
    for (QWidget* w : widgets_) {
        if (!w || w->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QWidget* ControlWidgets::create(Control control, const SynthPanel& panel) {
    switch (controlKind(control)) {
    case ControlKind::TextBox:
        return new QLineEdit(window_);
    case ControlKind::MultiLineTextBox:
        break; // the response box: made when first shown
    case ControlKind::ComboBox: {
        auto* box = new ChoiceComboBox(window_);
        for (const std::string& entry : panel.state(control).list)
            box->addItem(qt(entry));
        return box;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(window_);
    case ControlKind::OptionButton:
        return new QRadioButton(window_);
    case ControlKind::CommandButton:
        return new QPushButton(window_);
    case ControlKind::Label: {
        auto* label = new QLabel(window_);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setFocusPolicy(Qt::NoFocus);
        return label;
    }
    case ControlKind::Frame: {
        auto* frame = new QGroupBox(window_);
        frame->setFocusPolicy(Qt::NoFocus);
        return frame;
    }
    }
    return nullptr;
}

void ControlWidgets::place(Control control, QWidget* w) {
    const Placement& p = placementOf(control);
    w->setObjectName(qt(controlName(control)));
    w->setGeometry(pixels(p.left), pixels(p.top), pixels(p.width), pixels(p.height));
    widgets_[indexOf(control)] = w;
}

} // namespace owlet
