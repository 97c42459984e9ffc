#include "web/BrowserMessages.h"

#include <cstdio>

namespace owlet::web {
namespace {

std::string portName(std::int16_t port, const std::string& name) {
    return "Port " + std::to_string(port) + (name.empty() ? "" : " (" + name + ")");
}

std::string notSent(int lines) {
    if (lines == 0)
        return "";
    return lines == 1 ? " The line written meanwhile was not sent."
                      : " The " + std::to_string(lines) + " lines written meanwhile were not sent.";
}

// Where the module can be reached from a page.
constexpr const char* SerialBrowsers = "a Chromium-based browser (Chrome, Edge, Opera, Brave)";

std::string said(const std::string& words) {
    return words.empty() ? "" : " (the browser says: " + words + ")";
}

} // namespace

LinkFailure noSuchPort(std::int16_t port) {
    return LinkFailure(LinkFailureKind::BadPortNumber,
                       "Port " + std::to_string(port) +
                           " does not exist: ports are numbered from 1, in the order this page "
                           "was allowed to use them, and a number past them opens the "
                           "browser's port chooser.\nEnter 1 or more, or 0 to work without a "
                           "port, and reload the page.");
}

LinkFailure noWebSerial(std::int16_t port) {
    return LinkFailure(LinkFailureKind::BadPortNumber,
                       "Port " + std::to_string(port) +
                           " cannot be opened: this browser has no Web Serial.\nOpen the page "
                           "in " +
                           SerialBrowsers + ", or enter 0 to work without a port.");
}

std::string noWebSerialNote() {
    return std::string("This browser has no Web Serial, so OWLET works here as a calculator, as "
                       "with port 0: open it in ") +
           SerialBrowsers + " to reach the module.";
}

std::string portsToolTip(const std::vector<std::string>& names) {
    std::string text =
        names.empty() ? "This page may use no port yet." : "Ports this page may use:";
    for (std::size_t i = 0; i < names.size(); ++i)
        text += "\n" + std::to_string(i + 1) + ": " + names[i];
    return text + "\nA number past them opens the browser's port chooser; 0 works without a port.";
}

std::string_view troubleName(SerialTrouble trouble) {
    switch (trouble) {
    case SerialTrouble::ChooserCancelled:
        return "ChooserCancelled";
    case SerialTrouble::Busy:
        return "Busy";
    case SerialTrouble::Unplugged:
        return "Unplugged";
    case SerialTrouble::WriteFailed:
        return "WriteFailed";
    case SerialTrouble::OpenFailed:
        return "OpenFailed";
    case SerialTrouble::ChooserRefused:
        return "ChooserRefused";
    case SerialTrouble::ReadEnded:
        return "ReadEnded";
    }
    return {};
}

LinkFailure troubleOf(SerialTrouble trouble, std::int16_t port, const std::string& name,
                      const std::string& words, int linesNotSent) {
    const std::string which = portName(port, name);
    switch (trouble) {
    case SerialTrouble::ChooserCancelled:
        return LinkFailure(LinkFailureKind::BadPortNumber,
                           "No adapter was chosen for port " + std::to_string(port) +
                               ": the browser's port chooser was closed." + notSent(linesNotSent) +
                               "\nPlug in the adapter, reload the page and press COM Port "
                               "again to choose it.");
    case SerialTrouble::Busy:
        return LinkFailure(LinkFailureKind::PortBusy,
                           which + " is busy: another program or browser tab has it open" +
                               said(words) + "." + notSent(linesNotSent) +
                               "\nClose it there, then reload the page.");
    case SerialTrouble::Unplugged:
        return LinkFailure(LinkFailureKind::DeviceGone,
                           which + " went away: the adapter was unplugged or stopped giving data" +
                               said(words) + "." + notSent(linesNotSent) +
                               "\nPlug the adapter in again and reload the page.");
    case SerialTrouble::ReadEnded:
        return LinkFailure(LinkFailureKind::DeviceGone,
                           which +
                               " went away: it stopped giving data, and the browser ended its "
                               "reading" +
                               said(words) + "." + notSent(linesNotSent) +
                               "\nPlug the adapter in again and reload the page.");
    case SerialTrouble::WriteFailed:
        return LinkFailure(LinkFailureKind::DeviceError,
                           which + " did not take the command" + said(words) +
                               ".\nCheck the adapter and its cable, then reload the page.");
    case SerialTrouble::ChooserRefused:
        return LinkFailure(LinkFailureKind::BadPortNumber,
                           "No adapter could be chosen for port " + std::to_string(port) +
                               ": the browser did not show its port chooser" + said(words) + "." +
                               notSent(linesNotSent) +
                               "\nReload the page and press COM Port again; where the browser "
                               "blocks serial ports for this page, allow them in its site "
                               "settings.");
    case SerialTrouble::OpenFailed:
        break;
    }
    return LinkFailure(LinkFailureKind::DeviceError,
                       which + " cannot be opened" + said(words) + "." + notSent(linesNotSent) +
                           "\nCheck the adapter (on Linux, that you are in the dialout group), "
                           "then reload the page.");
}

std::string adapterName(int usbVendorId, int usbProductId) {
    if (usbVendorId < 0 || usbProductId < 0)
        return "serial port";
    char name[16];
    std::snprintf(name, sizeof name, "USB %04X:%04X", usbVendorId & 0xFFFF, usbProductId & 0xFFFF);
    return name;
}

std::string loopUnavailable(const std::string& why) {
    return "The loop designer could not start (" + why + "). Reload the page.";
}

LinkFailure notConnected(const LinkFailure& cause, std::int16_t port) {
    return LinkFailure(cause.kind(), "Port " + std::to_string(port) +
                                         " is not open, so nothing was sent.\nReload the page "
                                         "to open it again.");
}

} // namespace owlet::web
