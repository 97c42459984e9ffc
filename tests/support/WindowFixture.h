#pragma once

#include "tests/support/FakeLink.h"
#include "ui/SynthWindow.h"

namespace owlet::test {

// A fresh window over a fake link, in the Fusion style the program uses.
struct WindowFixture {
    FakeLink link;
    SynthWindow window;

    explicit WindowFixture(PortListing portListing = {});

    // Shows the window and activates it by hand, since no window manager runs on the
    // tests' X server; false if it never became active.
    bool open();
    QWidget* widget(Control control) const { return window.widget(control); }
    SynthPanel& panel() { return window.panel(); }
    // A left click at the middle of the control.
    void click(Control control);
};

} // namespace owlet::test
