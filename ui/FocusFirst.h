#pragma once

#include <QObject>

namespace owlet {

// Tells a screen reader of a text box's focus before anything of its caret or selection.
// Qt gives a widget its focus-in event before it raises the accessible focus event, and a
// text box moves its caret and selects its text on focus-in (and drops the selection on
// focus-out): Orca took that caret event for the focus change and then said nothing for
// the box (an empty register box stayed silent), read the selection before the name, or
// said "Text unselected" on the way out. Installed on the application, for every window.
class FocusFirst final : public QObject {
    Q_OBJECT

public:
    explicit FocusFirst(QObject* parent);
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace owlet
