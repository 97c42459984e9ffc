#pragma once

#include <QLabel>

namespace owlet {

// Says a few words through the screen reader without moving the focus: a notification
// that appears with each announcement (Orca reads a notification when it shows), of no
// size, so the window looks as before.
class Announcer final : public QLabel {
    Q_OBJECT

public:
    explicit Announcer(QWidget* parent);
    void announce(const QString& words);
};

} // namespace owlet
