#pragma once

#include "panel/Control.h"

#include <QObject>

#include <functional>

namespace owlet {

class ControlWidgets;
class SynthPanel;

// Turns the user's input on the widgets into the panel model's input events. The toolkit
// decides what an event is: a list choice is a ChoiceComboBox's entryChosen, a click into
// a frequency field is the left button pressed and released inside it, typing is an edit
// of the field's text. Destroying the binding cuts every tie to the model.
class InputBinding final : public QObject {
    Q_OBJECT

public:
    // `chosen` runs after each list choice, once the model has taken it.
    InputBinding(SynthPanel& panel, const ControlWidgets& widgets,
                 std::function<void(Control)> chosen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bind(Control control, QWidget* w);

    SynthPanel& panel_;
    const ControlWidgets& widgets_;
    std::function<void(Control)> chosen_;
};

} // namespace owlet
