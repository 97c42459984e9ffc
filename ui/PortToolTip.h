#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace owlet {

// The ports each number denotes right now, one line each; handed in by the program, which
// knows the serial ports.
using PortListing = std::function<QString()>;

// The port box's tooltip: the ports of the moment, listed when the tooltip opens.
class PortToolTip final : public QObject {
    Q_OBJECT

public:
    PortToolTip(QWidget* portBox, PortListing listing);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* portBox_;
    PortListing listing_;
};

} // namespace owlet
