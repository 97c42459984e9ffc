#pragma once

#include <QAccessible>

namespace owlet {

// While it lives, the screen reader hears nothing of what widgets tell it: for changes that
// would only mislead it (see FocusFirst and ModelMirror::mirrorCombo).
class Unheard {
public:
    Unheard()
        : before_(QAccessible::installUpdateHandler(&Unheard::drop)) {}
    ~Unheard() { QAccessible::installUpdateHandler(before_); }
    Unheard(const Unheard&) = delete;
    Unheard& operator=(const Unheard&) = delete;

private:
    static void drop(QAccessibleEvent*) {}
    QAccessible::UpdateHandler before_;
};

} // namespace owlet
