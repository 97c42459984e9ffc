#pragma once

#include <QPoint>
#include <QString>

#include <initializer_list>
#include <string_view>

// Real input through the X server: pointer and key events made with the XTEST extension,
// delivered to the program under test exactly as a user's would be.
class XDriver {
public:
    XDriver();
    ~XDriver();
    XDriver(const XDriver&) = delete;
    XDriver& operator=(const XDriver&) = delete;

    // Empty when the display opened and offers XTEST, else why not.
    QString problem() const { return problem_; }

    // Waits for a mapped top-level window with this title; its client area's top-left
    // corner on the screen, or a negative point after the time-out.
    QPoint waitForWindow(const QString& title, int timeoutMs);
    // Waits until no window with this title is mapped; false after the time-out.
    bool waitForWindowGone(const QString& title, int timeoutMs);

    void click(QPoint screen);
    // A key by its X keysym name ("Tab", "Return", "Down", "a"), with modifiers held.
    void key(const char* keysym, std::initializer_list<const char*> modifiers = {});
    // Types ASCII text key by key.
    void type(std::string_view text);

private:
    // Where the mapped top-level window with this title is, or a negative point.
    QPoint findWindow(const QByteArray& title);
    void keyEvent(unsigned long keysym, bool press);
    void sync();

    void* display_ = nullptr; // Display*, kept out of this header: Xlib's macros clash with Qt
    QString problem_;
};
