#include "link/TelnetClient.h"

#include "link/LineSettings.h"

#include <initializer_list>
#include <utility>

namespace owlet {
namespace {

constexpr std::uint8_t IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240;
constexpr std::uint8_t Binary = 0, SuppressGoAhead = 3, ComPort = 44;

// COM-PORT-OPTION commands, client to server; the server answers each with the code + 100.
constexpr std::uint8_t SetBaudRate = 1, SetDataSize = 2, SetParity = 3, SetStopSize = 4,
                       SetControl = 5;
constexpr auto BaudRate = static_cast<std::uint32_t>(ModuleLine.baudRate);
constexpr auto DataBits = static_cast<std::uint8_t>(ModuleLine.dataBits);
// RFC 2217's codes for the rest of the module's line.
constexpr std::uint8_t NoParity = 1, OneStopBit = 1, NoFlowControl = 1;
static_assert(!ModuleLine.parity && ModuleLine.stopBits == 1 && !ModuleLine.flowControl);

bool wanted(std::uint8_t code) {
    return code == Binary || code == SuppressGoAhead;
}

std::string command(std::uint8_t verb, std::uint8_t code) {
    return {char(IAC), char(verb), char(code)};
}

// IAC SB COM-PORT-OPTION code value IAC SE, 0xFF in the value doubled.
std::string comPort(std::uint8_t code, const std::string& value) {
    std::string s{char(IAC), char(SB), char(ComPort), char(code)};
    for (const char c : value) {
        s += c;
        if (static_cast<std::uint8_t>(c) == IAC)
            s += c;
    }
    return s + char(IAC) + char(SE);
}

std::string lineSettings() {
    const std::string baud{char(BaudRate >> 24), char(BaudRate >> 16 & 0xFF),
                           char(BaudRate >> 8 & 0xFF), char(BaudRate & 0xFF)};
    return comPort(SetBaudRate, baud) + comPort(SetDataSize, std::string(1, char(DataBits))) +
           comPort(SetParity, std::string(1, char(NoParity))) +
           comPort(SetStopSize, std::string(1, char(OneStopBit))) +
           comPort(SetControl, std::string(1, char(NoFlowControl)));
}

} // namespace

std::string TelnetClient::opening() {
    std::string s;
    for (const std::uint8_t code : {Binary, SuppressGoAhead, ComPort}) {
        us_[code] = Side::Asked;
        s += command(WILL, code);
    }
    for (const std::uint8_t code : {Binary, SuppressGoAhead}) {
        him_[code] = Side::Asked;
        s += command(DO, code);
    }
    return s;
}

std::string TelnetClient::receive(std::string_view bytes, std::string& answer) {
    std::string data;
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        switch (state_) {
        case State::Data:
            if (byte == IAC) {
                state_ = State::Iac;
            } else if (!(afterCr_ && byte == 0 && him_[Binary] != Side::Yes)) {
                data += c; // a NUL after CR stands for the bare CR in NVT text
            }
            afterCr_ = byte == '\r';
            break;
        case State::Iac:
            state_ = State::Data;
            if (byte == IAC) {
                data += c;
                afterCr_ = false;
            } else if (byte >= WILL && byte <= DONT) {
                command_ = byte;
                state_ = State::Option;
            } else if (byte == SB) {
                sub_.clear();
                state_ = State::Sub;
            } // any other command (NOP, GA, ...) carries nothing for a serial port
            break;
        case State::Option:
            option(command_, byte, answer);
            state_ = State::Data;
            break;
        case State::Sub:
            if (byte == IAC)
                state_ = State::SubIac;
            else
                sub_ += c;
            break;
        case State::SubIac:
            if (byte == IAC) {
                sub_ += c;
                state_ = State::Sub;
            } else { // SE, or a broken subnegotiation that ends here all the same
                subnegotiation();
                state_ = State::Data;
            }
            break;
        }
    }
    return data;
}

std::string TelnetClient::encode(std::string_view data) const {
    std::string out;
    out.reserve(data.size() + 2);
    const bool binary = us_[Binary] == Side::Yes;
    for (std::size_t i = 0; i < data.size(); ++i) {
        out += data[i];
        if (static_cast<std::uint8_t>(data[i]) == IAC)
            out += data[i];
        else if (!binary && data[i] == '\r' && (i + 1 == data.size() || data[i + 1] != '\n'))
            out += '\0';
    }
    return out;
}

TelnetClient::Side& TelnetClient::side(std::uint8_t verb, std::uint8_t code) {
    return verb == DO || verb == DONT ? us_[code] : him_[code];
}

void TelnetClient::option(std::uint8_t verb, std::uint8_t code, std::string& answer) {
    Side& s = side(verb, code);
    const bool enable = verb == DO || verb == WILL;
    const bool ours = verb == DO || verb == DONT;
    const bool agreeable = wanted(code) || (ours && code == ComPort);
    if (enable && agreeable) {
        if (s != Side::Yes) {
            if (s == Side::No) // the server asks first: agree
                answer += command(ours ? WILL : DO, code);
            s = Side::Yes;
            if (ours && code == ComPort)
                answer += lineSettings();
        }
    } else if (enable) {
        answer += command(ours ? WONT : DONT, code); // refused: it stays off
    } else {
        if (s == Side::Yes) // switched off: acknowledge
            answer += command(ours ? WONT : DONT, code);
        s = Side::No;
        if (ours && code == ComPort)
            problem_ = "it refused the serial port option COM-PORT-OPTION";
    }
}

void TelnetClient::subnegotiation() {
    if (sub_.size() < 2 || static_cast<std::uint8_t>(sub_[0]) != ComPort)
        return;
    const auto code = static_cast<std::uint8_t>(sub_[1]);
    const std::string_view value = std::string_view(sub_).substr(2);
    std::uint32_t number = 0;
    for (const char c : value)
        number = number << 8 | static_cast<std::uint8_t>(c);
    // Answers to the settings; line and modem state notices and the rest carry nothing here.
    // A server that cannot apply a value answers with the one in force.
    const auto check = [&](std::uint8_t asked, std::uint32_t expected) {
        if (code != asked + 100)
            return;
        if (number == expected)
            confirmed_ |= 1u << (asked - 1);
        else if (setOtherwise_.empty())
            setOtherwise_ = describe(asked, number, expected);
    };
    check(SetBaudRate, BaudRate);
    check(SetDataSize, DataBits);
    check(SetParity, NoParity);
    check(SetStopSize, OneStopBit);
    check(SetControl, NoFlowControl);
}

// A line setting the server applied instead of the one asked, in words: "9600 baud, not
// 1200", "parity even, not none".
std::string TelnetClient::describe(std::uint8_t setting, std::uint32_t got, std::uint32_t asked) {
    const auto name = [setting](std::uint32_t value) {
        const auto named = [value](std::initializer_list<const char*> names) {
            return value >= 1 && value <= names.size() ? std::string(names.begin()[value - 1])
                                                       : "code " + std::to_string(value);
        };
        switch (setting) {
        case SetParity:
            return named({"none", "odd", "even", "mark", "space"});
        case SetStopSize:
            return named({"1", "2", "1.5"});
        case SetControl:
            return named({"none", "XON/XOFF", "hardware"});
        default:
            return std::to_string(value);
        }
    };
    // The words around the value the server set: "parity " before it, " baud" after it.
    const auto [before, after] = [setting]() -> std::pair<const char*, const char*> {
        switch (setting) {
        case SetBaudRate:
            return {"", " baud"};
        case SetDataSize:
            return {"", " data bits"};
        case SetParity:
            return {"parity ", ""};
        case SetStopSize:
            return {"", " stop bits"};
        default:
            return {"flow control ", ""};
        }
    }();
    return before + name(got) + after + ", not " + name(asked);
}

} // namespace owlet
