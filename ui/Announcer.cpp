#include "ui/Announcer.h"

namespace owlet {

Announcer::Announcer(QWidget* parent)
    : QLabel(parent) {
    setGeometry(0, 0, 0, 0);
    hide();
}

void Announcer::announce(const QString& words) {
    hide(); // shown again, so the same words after the next press are said again
    setText(words);
    show();
}

} // namespace owlet
