#pragma once

#include "panel/Control.h"

#include <array>
#include <optional>

class QObject;
class QWidget;

namespace owlet {

class ResponseBox;
class SynthPanel;

// The window's controls as widgets, made with the kind of their control and placed as the
// layout gives, and chained in tab order. The response box is the dearest widget to
// start and appears only once a port is open, so it is made when first shown.
class ControlWidgets {
public:
    // Makes every control but the response box, with the list entries the panel holds.
    ControlWidgets(QWidget* window, const SynthPanel& panel);

    // The widget of a control; none for a response box not made yet.
    QWidget* widget(Control control) const { return widgets_[indexOf(control)]; }
    ResponseBox* responseBox() const { return responseBox_; }
    // The control a widget stands for; none for any other widget.
    std::optional<Control> controlOf(const QObject* object) const;

    // Makes and places the response box.
    ResponseBox* makeResponseBox();
    // Focus moves in the order of the controls; labels and frames take none.
    void applyTabOrder() const;

private:
    QWidget* create(Control control, const SynthPanel& panel);
    void place(Control control, QWidget* w);

    QWidget* window_;
    std::array<QWidget*, ControlCount> widgets_{};
    ResponseBox* responseBox_ = nullptr;
};

} // namespace owlet
