#pragma once

#include "panel/PanelView.h"
#include "panel/SynthPanel.h"
#include "ui/ErrorDialog.h"

#include <QWidget>

#include <array>
#include <optional>

class QComboBox;
class QLineEdit;

namespace owlet {

class ModuleLink;
class ResponseBox;
class StateTrace;
struct Placement;

// The one window: every control at its place, mirroring the panel model and turning the
// user's clicks and keystrokes into the model's input events. No logic of its own.
class SynthWindow final : public QWidget, public PanelView {
    Q_OBJECT

public:
    explicit SynthWindow(ModuleLink& link, QWidget* parent = nullptr);
    ~SynthWindow() override;

    SynthPanel& panel() { return panel_; }
    ErrorDialog& errorDialog() { return errorDialog_; }
    // The widget of a control; the response box Text1 exists only once it has been shown.
    QWidget* widget(Control control) const { return widgets_[indexOf(control)]; }

    // The window's own font, used by every control without a font of its own.
    static QFont defaultFont();
    static QFont entryFont(bool bold);

    // Writes every shown change and focus move to `path` (see StateTrace).
    void startTrace(const QString& path);

    void propertyChanged(Control control, Property property) override;
    void textAppended(Control control, std::string_view appended) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void place(QWidget* w, const Placement& placement);
    void ensureResponseBox();
    QWidget* createControl(Control control);
    void bind(Control control);
    void applyLook();
    void applyAccessibleName(Control control);
    void applyTabOrder();
    void announceWarning();
    void mirror(Control control, Property property);
    void mirrorCombo(QComboBox* box, Control control);
    // The control a widget stands for; none for any other widget.
    std::optional<Control> controlOf(const QObject* object) const;

    ErrorDialog errorDialog_{this};
    SynthPanel panel_;
    std::array<QWidget*, ControlCount> widgets_{};
    ResponseBox* responseBox_ = nullptr;
    StateTrace* trace_ = nullptr;
    bool warningPending_ = false;
};

} // namespace owlet
