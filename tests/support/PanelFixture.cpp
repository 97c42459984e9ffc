#include "tests/support/PanelFixture.h"

namespace owlet::test {

void RecordingView::propertyChanged(Control control, Property property) {
    changes << QString::fromUtf8(controlName(control).data()) + "." +
                   QString::fromUtf8(propertyName(property).data());
}

void RecordingView::textAppended(Control control, std::string_view appended) {
    changes << QString::fromUtf8(controlName(control).data()) +
                   "+=" + QString::fromStdString(std::string(appended));
}

PanelFixture::PanelFixture() {
    panel.setView(&view);
    panel.load();
}

void PanelFixture::choosePort(const std::string& port) {
    type(Control::CPNo, port);
    press(Control::SetCP);
}

} // namespace owlet::test
