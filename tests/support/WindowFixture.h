#pragma once

#include "tests/support/FakeLink.h"
#include "ui/PanelStyle.h"
#include "ui/SynthWindow.h"

#include <QApplication>
#include <QStyle>
#include <QTest>

namespace owlet::test {

// A fresh window over a fake link, in the style the program uses.
struct WindowFixture {
    FakeLink link;
    SynthWindow window;

    explicit WindowFixture(PortListing portListing = {})
        : window(link, inPanelStyle(std::move(portListing))) {}

    // Shows the window and activates it by hand, since no window manager runs on the
    // tests' X server; false if it never became active.
    bool open() {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
    QWidget* widget(Control control) const { return window.widget(control); }
    SynthPanel& panel() { return window.panel(); }
    // A left click at the middle of the control.
    void click(Control control) {
        QTest::mouseClick(widget(control), Qt::LeftButton, {}, widget(control)->rect().center());
    }

private:
    // Before the window exists, as the program sets it.
    static PortListing inPanelStyle(PortListing listing) {
        if (!qobject_cast<PanelStyle*>(QApplication::style()))
            QApplication::setStyle(new PanelStyle);
        return listing;
    }
};

} // namespace owlet::test
