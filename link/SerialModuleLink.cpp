#include "link/SerialModuleLink.h"

#include "link/LineSettings.h"

#include "link/NetworkAddress.h"
#include "link/NetworkPort.h"
#include "link/PortHolders.h"
#include "link/PortMapping.h"

#include <QElapsedTimer>

#include <utility>

namespace owlet {

SerialModuleLink::SerialModuleLink(QObject* parent)
    : QObject(parent) {
    connect(&port_, &QSerialPort::readyRead, this, &SerialModuleLink::onReadyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialModuleLink::onError);
}

// The port is released when the panel closes, so another program may take it.
SerialModuleLink::~SerialModuleLink() = default;

void SerialModuleLink::setReceiveThreshold(std::int16_t characters) {
    threshold_ = characters;
}

void SerialModuleLink::setPortNumber(std::int16_t port) {
    at_.port = port;
    const std::optional<QString> device = deviceForPort(port);
    if (!device)
        throw noSuchPort(at_);
    at_.device = *device;
}

void SerialModuleLink::open() {
    if (at_.device.isEmpty())
        setPortNumber(at_.port);
    if (isNetworkAddress(at_.device)) {
        QString problem;
        const std::optional<NetworkAddress> address = parseNetworkAddress(at_.device, problem);
        if (!address)
            throw badNetworkAddress(at_, problem);
        network_ = std::make_unique<NetworkPort>(*address, at_, [this] { onNetworkChanged(); });
        network_->open();
        return;
    }
    port_.setPortName(at_.device);
    port_.setBaudRate(ModuleLine.baudRate);
    port_.setDataBits(static_cast<QSerialPort::DataBits>(ModuleLine.dataBits));
    static_assert(!ModuleLine.parity && ModuleLine.stopBits == 1 && !ModuleLine.flowControl);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    // The port is opened exclusively (a lock file and TIOCEXCL), so a port another
    // program holds is refused rather than shared; a program that opened it without a
    // lock is found by its open file. DTR and RTS stay as the driver raises them on open.
    if (const std::vector<PortHolder> holders = processesHolding(at_.device); !holders.empty())
        throw portHeld(at_, holders);
    if (!port_.open(QIODevice::ReadWrite))
        throw openFailure(at_, port_.error(), port_.errorString());
    gone_ = false;
}

void SerialModuleLink::write(std::string_view line) {
    if (network_)
        return network_->write(line);
    if (gone_)
        throw deviceGone(at_);
    if (!port_.isOpen())
        throw notOpen(at_);
    const qint64 size = static_cast<qint64>(line.size());
    if (port_.write(line.data(), size) != size)
        throw writeFailure(at_, port_.errorString());
}

void SerialModuleLink::drain(int timeoutMs) {
    if (network_) {
        if (network_->drain(timeoutMs))
            return;
        network_->throwIfFailed();
    } else {
        QElapsedTimer timer;
        timer.start();
        while (port_.isOpen() && port_.bytesToWrite() > 0 && timer.elapsed() < timeoutMs)
            if (!port_.waitForBytesWritten(static_cast<int>(timeoutMs - timer.elapsed())))
                break;
        if (gone_)
            throw deviceGone(at_);
        if (!port_.isOpen() || port_.bytesToWrite() == 0)
            return;
    }
    throw notWritten(at_, (timeoutMs + 999) / 1000);
}

std::string SerialModuleLink::readAll() {
    if (network_) {
        if (std::string data = network_->takeReceived(); !data.empty())
            return data;
        if (std::optional<LinkFailure> failure = network_->takeFailure())
            throw *failure;
        return {};
    }
    QByteArray bytes = std::exchange(keptAfterClose_, {});
    if (port_.isOpen())
        bytes += port_.readAll();
    if (bytes.isEmpty() && loss_)
        throw *std::exchange(loss_, std::nullopt);
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

void SerialModuleLink::setCommEventHandler(std::function<void()> handler) {
    commEvent_ = std::move(handler);
}

void SerialModuleLink::onReadyRead() {
    if (threshold_ > 0 && port_.bytesAvailable() >= threshold_)
        raiseCommEvent();
}

void SerialModuleLink::onError(QSerialPort::SerialPortError error) {
    // An unplugged adapter gives a resource error; a hung-up line reads end-of-file, which
    // the port reports as a read error and would report again on every wake-up: the
    // device is gone, close it rather than spin. A read that merely found nothing (another
    // reader was quicker) is no hang-up: the port stays open.
    if ((error != QSerialPort::ResourceError && error != QSerialPort::ReadError) || !port_.isOpen())
        return;
    if (!lineHungUp(static_cast<int>(port_.handle()), at_.device)) {
        port_.clearError();
        return;
    }
    // Keep what arrived before the hang-up; closing the port would discard it.
    keptAfterClose_ += port_.readAll();
    port_.close();
    gone_ = true;
    loss_ = deviceGone(at_);
    reportLoss();
}

void SerialModuleLink::onNetworkChanged() {
    if (lossWaiting())
        return reportLoss();
    if (threshold_ > 0 && network_->received() >= threshold_)
        raiseCommEvent();
}

void SerialModuleLink::reportLoss() {
    raiseCommEvent();
    if (lossWaiting())
        raiseCommEvent();
}

bool SerialModuleLink::lossWaiting() const {
    return loss_ || (network_ && network_->failureWaiting());
}

void SerialModuleLink::raiseCommEvent() {
    if (commEvent_)
        commEvent_();
}

} // namespace owlet
