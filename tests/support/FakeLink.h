#pragma once

#include "link/ModuleLink.h"

#include <functional>
#include <string>
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
    void reply(const std::string& bytes);

    void setReceiveThreshold(std::int16_t characters) override;
    void setPortNumber(std::int16_t port) override;
    void open() override;
    void write(std::string_view line) override;
    std::string readAll() override;
    void setCommEventHandler(std::function<void()> handler) override;

private:
    std::function<void()> commEvent_;
    bool open_ = false;
};

} // namespace owlet::test
