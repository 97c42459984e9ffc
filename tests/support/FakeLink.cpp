#include "tests/support/FakeLink.h"

#include "link/LinkFailure.h"

#include <utility>

namespace owlet::test {

void FakeLink::reply(const std::string& bytes) {
    waiting += bytes;
    if (commEvent_)
        commEvent_();
}

void FakeLink::setReceiveThreshold(std::int16_t characters) {
    calls.push_back("threshold " + std::to_string(characters));
}

void FakeLink::setPortNumber(std::int16_t port) {
    calls.push_back("port " + std::to_string(port));
    if (port < 1 || port > highestPort)
        throw LinkFailure(LinkFailureKind::BadPortNumber, "no such port");
}

void FakeLink::open() {
    calls.emplace_back("open");
    if (refuseOpen)
        throw LinkFailure(LinkFailureKind::PortBusy, "busy");
    open_ = true;
}

void FakeLink::write(std::string_view line) {
    calls.push_back("write " + std::string(line));
    if (onWrite)
        onWrite();
    if (refuseWrite || !open_)
        throw LinkFailure(LinkFailureKind::NotOpen, "not open");
    written.emplace_back(line);
}

std::string FakeLink::readAll() {
    return std::exchange(waiting, {});
}

void FakeLink::setCommEventHandler(std::function<void()> handler) {
    commEvent_ = std::move(handler);
}

} // namespace owlet::test
