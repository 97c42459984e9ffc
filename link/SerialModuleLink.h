#pragma once

#include "link/ModuleLink.h"
#include "link/PortMessages.h"

#include <QObject>
#include <QSerialPort>

#include <memory>
#include <optional>

namespace owlet {

class NetworkPort;

// The module link over a serial port: 1200 baud, 8 data bits, no parity, 1 stop bit, no
// flow control. The port is a local device, or one served over the network that its
// device names rfc2217://HOST:PORT or tcp://HOST:PORT (see NetworkPort). Received bytes
// are kept until read, however many arrive. When the port goes away while open (adapter
// unplugged, line hung up, connection dropped), it is closed and a communication event is
// raised: the next read hands out what arrived before, then fails once saying what
// happened; later writes fail too, and the link stays idle.
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
    // Waits until every queued byte has gone out, at most `timeoutMs`; throws the failure
    // when some has not: the one that ended a network port, or that the line stalled.
    void drain(int timeoutMs);

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void raiseCommEvent();

    void onNetworkChanged();
    // Raises the event for a port that went away: a second time when the first read took
    // the data that came before, so the failure is read too.
    void reportLoss();
    bool lossWaiting() const;

    QSerialPort port_{this};
    std::unique_ptr<NetworkPort> network_;
    std::int16_t threshold_ = 0;
    PortContext at_;            // the port number, its device, and the advice in messages
    QByteArray keptAfterClose_; // bytes read out of the port before it was closed
    bool gone_ = false;
    std::optional<LinkFailure> loss_; // for the reader, once
    std::function<void()> commEvent_;
};

} // namespace owlet
