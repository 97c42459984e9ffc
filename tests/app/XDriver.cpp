#include "tests/app/XDriver.h"

#include <QElapsedTimer>
#include <QThread>

// Xlib last: its macros (Bool, Status, None) would break Qt's headers.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

Display* dpy(void* display) {
    return static_cast<Display*>(display);
}

bool hasTitle(Display* d, Window w, const QByteArray& title) {
    char* name = nullptr;
    if (!XFetchName(d, w, &name) || !name)
        return false;
    const bool same = title == name;
    XFree(name);
    return same;
}

} // namespace

XDriver::XDriver() {
    display_ = XOpenDisplay(nullptr);
    if (!display_) {
        problem_ =
            QStringLiteral("cannot open the X display '%1'").arg(qEnvironmentVariable("DISPLAY"));
        return;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(dpy(display_), &event, &error, &major, &minor))
        problem_ = QStringLiteral("the X server offers no XTEST extension");
}

XDriver::~XDriver() {
    if (display_)
        XCloseDisplay(dpy(display_));
}

QPoint XDriver::findWindow(const QByteArray& title) {
    Display* d = dpy(display_);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    const Window rootWindow = DefaultRootWindow(d);
    QPoint found(-1, -1);
    if (!XQueryTree(d, rootWindow, &root, &parent, &children, &count))
        return found;
    for (unsigned i = 0; i < count && found.x() < 0; ++i) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(d, children[i], &attributes) ||
            attributes.map_state != IsViewable || !hasTitle(d, children[i], title))
            continue;
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(d, children[i], rootWindow, 0, 0, &x, &y, &child);
        found = {x, y};
    }
    if (children)
        XFree(children);
    return found;
}

QPoint XDriver::waitForWindow(const QString& title, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    for (;; QThread::msleep(20)) {
        if (const QPoint at = findWindow(title.toLatin1()); at.x() >= 0)
            return at;
        if (timer.elapsed() >= timeoutMs)
            return {-1, -1};
    }
}

bool XDriver::waitForWindowGone(const QString& title, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (findWindow(title.toLatin1()).x() >= 0)
        if (timer.elapsed() >= timeoutMs)
            return false;
        else
            QThread::msleep(20);
    return true;
}

void XDriver::click(QPoint screen) {
    Display* d = dpy(display_);
    XTestFakeMotionEvent(d, -1, screen.x(), screen.y(), CurrentTime);
    sync();
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    sync();
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
    sync();
}

void XDriver::keyEvent(unsigned long keysym, bool press) {
    Display* d = dpy(display_);
    const KeyCode code = XKeysymToKeycode(d, keysym);
    XTestFakeKeyEvent(d, code, press ? True : False, CurrentTime);
    sync();
}

void XDriver::key(const char* keysym, std::initializer_list<const char*> modifiers) {
    for (const char* m : modifiers)
        keyEvent(XStringToKeysym(m), true);
    const KeySym sym = XStringToKeysym(keysym);
    keyEvent(sym, true);
    keyEvent(sym, false);
    for (const char* m : modifiers)
        keyEvent(XStringToKeysym(m), false);
}

void XDriver::type(std::string_view text) {
    for (const char c : text) {
        // Printable ASCII keysyms equal their characters; upper case needs Shift.
        const auto sym = static_cast<KeySym>(static_cast<unsigned char>(c));
        const KeyCode code = XKeysymToKeycode(dpy(display_), sym);
        KeySym unshifted = XkbKeycodeToKeysym(dpy(display_), code, 0, 0);
        const bool shift = unshifted != sym;
        if (shift)
            keyEvent(XK_Shift_L, true);
        keyEvent(sym, true);
        keyEvent(sym, false);
        if (shift)
            keyEvent(XK_Shift_L, false);
    }
}

void XDriver::sync() {
    XSync(dpy(display_), False);
}
