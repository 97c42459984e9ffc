#pragma once

#include "link/LinkFailure.h"
#include "link/ModuleLink.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace owlet::test {

// A module link with no module behind it: it records every call, keeps what the module
// "sends" until it is read, and fails where told to. Like the serial link it refuses a
// port number that denotes no port, and writes while no port is open.
class FakeLink final : public ModuleLink {
public:
    std::vector<std::string> calls;   // "threshold 1", "port 2", "open", "write U\r\n"
    std::vector<std::string> written; // the lines that went out, in order
    std::string waiting;              // received and not read yet
    int highestPort = 32767;          // ports 1 to this one exist
    bool refuseOpen = false;
    bool refuseWrite = false;
    std::function<void()> onWrite; // runs at each write, before the line goes out

    // The module answers: the bytes wait to be read, and the communication event is raised.
    void reply(const std::string& bytes) {
        waiting += bytes;
        if (commEvent_)
            commEvent_();
    }

    void setReceiveThreshold(std::int16_t n) override {
        calls.push_back("threshold " + std::to_string(n));
    }
    void setPortNumber(std::int16_t port) override {
        calls.push_back("port " + std::to_string(port));
        if (port < 1 || port > highestPort)
            throw LinkFailure(LinkFailureKind::BadPortNumber, "no such port");
    }
    void open() override {
        calls.emplace_back("open");
        if (refuseOpen)
            throw LinkFailure(LinkFailureKind::PortBusy, "busy");
        open_ = true;
    }
    void write(std::string_view line) override {
        calls.push_back("write " + std::string(line));
        if (onWrite)
            onWrite();
        if (refuseWrite || !open_)
            throw LinkFailure(LinkFailureKind::NotOpen, "not open");
        written.emplace_back(line);
    }
    std::string readAll() override { return std::exchange(waiting, {}); }
    void setCommEventHandler(std::function<void()> handler) override {
        commEvent_ = std::move(handler);
    }

private:
    std::function<void()> commEvent_;
    bool open_ = false;
};

} // namespace owlet::test
