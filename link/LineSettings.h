#pragma once

namespace owlet {

// The line the module speaks: 1200 baud, 8 data bits, no parity, 1 stop bit, no flow
// control. The serial port, the telnet client of a port served over the network and the
// page's Web Serial all set it from here.
struct LineSettings {
    int baudRate = 1200;
    int dataBits = 8;
    bool parity = false;
    int stopBits = 1;
    bool flowControl = false;
};
inline constexpr LineSettings ModuleLine{};

} // namespace owlet
