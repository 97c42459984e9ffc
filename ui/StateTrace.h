#pragma once

#include "panel/Control.h"

#include <QFile>
#include <QObject>

#include <functional>
#include <optional>
#include <string_view>

namespace owlet {

struct ControlState;

// A line for every change the window shows and every move of the keyboard focus, written
// to the file that OWLET_TRACE names. Programs that drive the real panel through the X
// server read it to see what a user sees. Without the variable nothing is written.
class StateTrace final : public QObject {
    Q_OBJECT

public:
    // Maps a widget that took the focus to its control; none for any other widget.
    using ControlOf = std::function<std::optional<Control>(const QWidget*)>;

    StateTrace(const QString& path, ControlOf controlOf, QObject* parent = nullptr);

    void propertyChanged(Control control, Property property, const ControlState& state);
    void textAppended(Control control, std::string_view appended);
    void line(const QByteArray& text);

private:
    void focusChanged(QWidget* now);

    QFile file_;
    ControlOf controlOf_;
};

} // namespace owlet
