#pragma once

#include "link/LinkFailure.h"
#include "link/ModuleLink.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace owlet::web {

// What the page does with the browser's serial ports (Web Serial). Opening and writing
// are asynchronous there: their outcome comes back through BrowserLink's opened() and
// failed().
class SerialHost {
public:
    virtual ~SerialHost() = default;
    virtual bool hasSerial() = 0;
    // How many adapters this page has been allowed to use, in the order they were allowed.
    virtual int allowedPorts() = 0;
    // The port to open: the allowed adapter at `index` (from 0), or the one the user picks
    // in the browser's chooser, which opens now, inside the click.
    virtual void useAllowedPort(int index) = 0;
    virtual void openChooser() = 0;
    virtual void openPort() = 0;
    virtual void writeLine(std::string_view line) = 0;
};

// Why the page lost or never had its port, as the browser told it.
enum class SerialTrouble {
    ChooserCancelled, // the user closed the chooser without a choice
    Busy,             // another program or tab holds the port
    Unplugged,        // the adapter went away (the disconnect event)
    WriteFailed,      // the port did not take a line
    OpenFailed,       // any other refusal to open
    ChooserRefused,   // the browser would not show its chooser (not allowed, not in a click)
    ReadEnded,        // the port's data stream ended without an error
};

// The module link in the browser. Like a port served over the network, it opens without
// blocking: lines written meanwhile wait and go out in order once the port stands. A port
// that cannot be opened, or that goes away, ends the link: the failure is handed to the
// reader once, with a communication event, and every later write fails; what arrived
// before is read first.
class BrowserLink final : public ModuleLink {
public:
    explicit BrowserLink(SerialHost& host)
        : host_(host) {}

    void setReceiveThreshold(std::int16_t characters) override { threshold_ = characters; }
    void setPortNumber(std::int16_t port) override;
    void open() override;
    void write(std::string_view line) override;
    std::string readAll() override;
    void setCommEventHandler(std::function<void()> handler) override {
        commEvent_ = std::move(handler);
    }

    // From the page: the port stands; bytes arrived; the port failed. `port` names the
    // adapter ("USB 0403:6001"), `words` are the browser's own.
    void opened();
    void received(std::string_view bytes);
    void failed(SerialTrouble trouble, const std::string& port, const std::string& words);

private:
    enum class Phase { Closed, Opening, Open, Failed };

    SerialHost& host_;
    Phase phase_ = Phase::Closed;
    std::int16_t port_ = 0;
    std::int16_t threshold_ = 0;
    std::string waiting_; // lines written before the port stood
    int waitingLines_ = 0;
    std::string received_;
    std::optional<LinkFailure> failure_;     // for the reader, once
    std::optional<LinkFailure> lastFailure_; // for every later write
    std::function<void()> commEvent_;
};

} // namespace owlet::web
