#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace owlet {

// The serial link to the synthesizer module, as the panel uses it. Every operation that
// can fail throws LinkFailure.
class ModuleLink {
public:
    virtual ~ModuleLink() = default;

    // From now on every arrival of at least this many characters raises the
    // communication event; 0 raises none.
    virtual void setReceiveThreshold(std::int16_t characters) = 0;
    // Chooses the port to open; a number that denotes no port fails.
    virtual void setPortNumber(std::int16_t port) = 0;
    // Opens the chosen port at 1200 baud, 8 data bits, no parity, 1 stop bit.
    virtual void open() = 0;
    // Queues one whole command line and returns at once; fails when no port is open.
    virtual void write(std::string_view line) = 0;
    // Everything received and not yet read, one character per byte; possibly empty.
    virtual std::string readAll() = 0;
    // The communication event, raised on the user-interface thread between handlers, for
    // received data and for line events such as a hang-up alike.
    virtual void setCommEventHandler(std::function<void()> handler) = 0;
};

} // namespace owlet
