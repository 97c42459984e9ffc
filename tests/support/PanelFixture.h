#pragma once

#include "panel/PanelView.h"
#include "panel/SynthPanel.h"
#include "tests/support/FakeLink.h"
#include "tests/support/RecordingReporter.h"

#include <QStringList>

#include <string>

namespace owlet::test {

// Records "Control.Property" for every change, and "Control+=text" for appends; keeps
// the last words announced.
class RecordingView final : public PanelView {
public:
    QStringList changes;
    std::string announced;
    int announcements = 0;
    void announce(std::string_view words) override {
        announced = words;
        ++announcements;
    }
    void propertyChanged(Control control, Property property) override {
        changes << QString::fromUtf8(controlName(control).data()) + "." +
                       QString::fromUtf8(propertyName(property).data());
    }
    void textAppended(Control control, std::string_view appended) override {
        changes << QString::fromUtf8(controlName(control).data()) +
                       "+=" + QString::fromStdString(std::string(appended));
    }
};

// A panel after start-up, with its fake link, reporter and view.
struct PanelFixture {
    FakeLink link;
    RecordingReporter reporter;
    RecordingView view;
    SynthPanel panel{link, reporter};

    PanelFixture() {
        panel.setView(&view);
        panel.load();
    }

    // Types a whole new text into a field, as a paste would.
    void type(Control control, const std::string& text) { panel.userEditedText(control, text); }
    void press(Control control) { panel.userPressedButton(control); }
    void clickInto(Control control) { panel.userClickedField(control); }
    const std::string& text(Control control) const { return panel.text(control); }
    bool shown(Control control) const { return panel.visible(control); }
    // Types `port` into the port box and presses the port button.
    void choosePort(const std::string& port) {
        type(Control::CPNo, port);
        press(Control::SetCP);
    }
    std::string lastErrorKind() const { return reporter.lastKind(); }
};

} // namespace owlet::test
