#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace owlet {

// The client side of a telnet connection to a serial port server (RFC 854, 855, 856, 858,
// 2217): it offers binary transmission both ways, suppress-go-ahead and COM-PORT-OPTION,
// answers the server's offers as RFC 854 asks (agreeing to what it wants, refusing the
// rest, never answering a state it is already in), sets the far port to 1200 baud, 8 data
// bits, no parity, 1 stop bit and no flow control once the server agrees, and separates
// the data from the negotiation in what the server sends. No toolkit, no sockets: bytes in,
// bytes out.
class TelnetClient {
public:
    // What the client says first.
    std::string opening();
    // The data carried by `bytes` from the server, one piece after another as they come;
    // what to answer the server is appended to `answer`.
    std::string receive(std::string_view bytes, std::string& answer);
    // Data for the server: 0xFF doubled, and a bare CR followed by NUL until binary
    // transmission is agreed.
    std::string encode(std::string_view data) const;

    // The server confirmed every line setting, flow control included, with the value
    // asked for.
    bool lineSet() const { return confirmed_ == AllConfirmed; }
    // Why the far port's line cannot be set: the server refused the option; empty while
    // nothing is wrong.
    const std::string& problem() const { return problem_; }
    // What the server set where it confirmed another value than asked ("9600 baud, not
    // 1200"); empty while nothing is wrong.
    const std::string& setOtherwise() const { return setOtherwise_; }

private:
    enum class State { Data, Iac, Option, Sub, SubIac };
    enum class Side { No, Asked, Yes }; // one side of an option, after RFC 1143

    void option(std::uint8_t command, std::uint8_t code, std::string& answer);
    void subnegotiation();
    Side& side(std::uint8_t command, std::uint8_t code);
    static std::string describe(std::uint8_t setting, std::uint32_t got, std::uint32_t asked);

    State state_ = State::Data;
    std::uint8_t command_ = 0;
    std::string sub_;
    bool afterCr_ = false;
    Side us_[256] = {};  // options this client performs (WILL/WONT)
    Side him_[256] = {}; // options the server performs (DO/DONT)
    unsigned confirmed_ = 0;
    // Baud rate, data size, parity, stop size and flow control.
    static constexpr unsigned AllConfirmed = 0b11111;
    std::string problem_;
    std::string setOtherwise_;
};

} // namespace owlet
