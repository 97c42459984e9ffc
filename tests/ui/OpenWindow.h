#pragma once

#include "tests/ui/NullLink.h"
#include "ui/SynthWindow.h"

#include <QTest>

#include <memory>

// A fresh window over a fresh NullLink for one test function, shown and active: activated
// by hand, since no window manager runs on the tests' X server. False if it never became
// active.
inline bool openWindow(std::unique_ptr<NullLink>& link,
                       std::unique_ptr<owlet::SynthWindow>& window) {
    window.reset();
    link = std::make_unique<NullLink>();
    window = std::make_unique<owlet::SynthWindow>(*link);
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window.get());
}
