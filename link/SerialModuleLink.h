#pragma once

#include "link/ModuleLink.h"
#include "link/PortMessages.h"

#include <QObject>
#include <QSerialPort>

namespace owlet {

// The module link over a serial port: 1200 baud, 8 data bits, no parity, 1 stop bit, no
// flow control. Received bytes are kept until read, however many arrive. When the device
// goes away while open (adapter unplugged, line hung up, reads failing), the port is closed, one
// communication event is raised, and later writes fail saying so.
class SerialModuleLink final : public QObject, public ModuleLink {
    Q_OBJECT

public:
    explicit SerialModuleLink(QObject* parent = nullptr);
    ~SerialModuleLink() override;

    void setReceiveThreshold(std::int16_t characters) override;
    void setPortNumber(std::int16_t port) override;
    void open() override;
    void write(std::string_view line) override;
    std::string readAll() override;
    void setCommEventHandler(std::function<void()> handler) override;

    // Names the device itself instead of a port number (messages call it port 1).
    void setDevice(const QString& device) { at_.device = device; }
    // How the messages tell the user to try again: `again` once the port is fixed, `retry`
    // after a line that did not go out ("restart the panel", "press the button again").
    void setTryAgain(const QString& again, const QString& retry) {
        at_.again = again;
        at_.retry = retry;
    }
    // Waits until every queued byte has gone out, at most `timeoutMs`; false if not.
    bool drain(int timeoutMs);

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void raiseCommEvent();

    QSerialPort port_{this};
    std::int16_t threshold_ = 0;
    PortContext at_;            // the port number, its device, and the advice in messages
    QByteArray keptAfterClose_; // bytes read out of the port before it was closed
    bool gone_ = false;
    std::function<void()> commEvent_;
};

} // namespace owlet
