#include "web/BrowserLink.h"

#include "web/BrowserMessages.h"

#include <utility>

namespace owlet::web {

// Port n is the n-th adapter this page may use; a number past them opens the browser's
// chooser, and the adapter chosen there becomes port n.
void BrowserLink::setPortNumber(std::int16_t port) {
    port_ = port;
    if (port < 1)
        throw noSuchPort(port);
    if (!host_.hasSerial())
        throw noWebSerial(port);
    if (port <= host_.allowedPorts())
        host_.useAllowedPort(port - 1);
    else
        host_.openChooser();
}

void BrowserLink::open() {
    phase_ = Phase::Opening;
    host_.openPort();
}

void BrowserLink::write(std::string_view line) {
    switch (phase_) {
    case Phase::Failed:
        throw *lastFailure_;
    case Phase::Closed:
        throw LinkFailure(LinkFailureKind::NotOpen,
                          "No port is open, so nothing was sent.\nPress COM Port first.");
    case Phase::Opening:
        waiting_ += line;
        ++waitingLines_;
        return;
    case Phase::Open:
        host_.writeLine(line);
        return;
    }
}

std::string BrowserLink::readAll() {
    if (!received_.empty())
        return std::exchange(received_, {});
    if (failure_)
        throw *std::exchange(failure_, std::nullopt);
    return {};
}

void BrowserLink::opened() {
    if (phase_ != Phase::Opening)
        return;
    phase_ = Phase::Open;
    waitingLines_ = 0;
    if (!waiting_.empty())
        host_.writeLine(std::exchange(waiting_, {}));
}

void BrowserLink::received(std::string_view bytes) {
    received_ += bytes;
    if (threshold_ > 0 && received_.size() >= static_cast<std::size_t>(threshold_) && commEvent_)
        commEvent_();
}

void BrowserLink::failed(SerialTrouble trouble, const std::string& port, const std::string& words) {
    if (phase_ == Phase::Failed)
        return;
    phase_ = Phase::Failed;
    LinkFailure failure = troubleOf(trouble, port_, port, words, waitingLines_);
    lastFailure_ = notConnected(failure, port_);
    failure_ = std::move(failure);
    waiting_.clear();
    waitingLines_ = 0;
    // Once for what arrived before, if anything did, and once for the failure itself.
    for (int i = 0; i < 2 && (failure_ || !received_.empty()); ++i)
        if (commEvent_)
            commEvent_();
}

} // namespace owlet::web
