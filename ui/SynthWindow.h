#pragma once

#include "panel/PanelView.h"
#include "panel/SynthPanel.h"
#include "ui/AccessibleNames.h"
#include "ui/ControlWidgets.h"
#include "ui/ErrorDialog.h"
#include "ui/InputBinding.h"
#include "ui/ModelMirror.h"
#include "ui/PortToolTip.h"

#include <QWidget>

#include <memory>

namespace owlet {

class Announcer;
class LoopWindow;
class ModuleLink;
class StateTrace;

// The one window: the panel model, its controls as widgets, and what ties the two
// together. It shows every change the model reports and hands the model the user's input.
class SynthWindow final : public QWidget, public PanelView {
    Q_OBJECT

public:
    // `portListing` fills the port box's tooltip with the ports of the moment.
    explicit SynthWindow(ModuleLink& link, PortListing portListing = {}, QWidget* parent = nullptr);
    ~SynthWindow() override;

    SynthPanel& panel() { return panel_; }
    ErrorDialog& errorDialog() { return errorDialog_; }
    // The widget of a control; the response box Text1 exists only once it has been shown.
    QWidget* widget(Control control) const { return widgets_.widget(control); }

    // The "Loop filter" window beside the panel, made the first time it is asked for.
    LoopWindow& openLoopWindow();
    LoopWindow* loopWindow() const { return loopWindow_; }

    // Writes every shown change and focus move to `path` (see StateTrace).
    void startTrace(const QString& path);

    void propertyChanged(Control control, Property property) override;
    void textAppended(Control control, std::string_view appended) override;
    void announce(std::string_view words) override;

private:
    void showResponseBox();

    ErrorDialog errorDialog_{this};
    SynthPanel panel_;
    ControlWidgets widgets_;
    ModelMirror mirror_{panel_, widgets_};
    Announcer* announcer_; // a child of the window
    PortToolTip portToolTip_;
    LoopWindow* loopWindow_ = nullptr; // a child window, deleted with this one
    // Last, so that it goes first: nothing reaches the model while the window goes away.
    std::unique_ptr<InputBinding> binding_;
    std::unique_ptr<StateTrace> trace_;
};

} // namespace owlet
