#pragma once

#include "link/LinkFailure.h"
#include "web/BrowserLink.h"

#include <cstdint>
#include <string>
#include <vector>

namespace owlet::web {

// Every failure of the browser's serial port, in the desktop panel's manner: the port, what
// the browser said, and what the user can do.
LinkFailure noSuchPort(std::int16_t port);
LinkFailure noWebSerial(std::int16_t port);
LinkFailure troubleOf(SerialTrouble trouble, std::int16_t port, const std::string& name,
                      const std::string& words, int linesNotSent);
// A write after the port failed: the same kind, and nothing sent.
LinkFailure notConnected(const LinkFailure& cause, std::int16_t port);

std::string_view troubleName(SerialTrouble trouble); // "Busy", ...; empty past them

// The line the page shows in a browser without Web Serial.
std::string noWebSerialNote();
// An adapter as the page names it: "USB 0403:6001" by its USB ids, "serial port" without
// them (either below 0).
std::string adapterName(int usbVendorId, int usbProductId);
// The line the page shows where the loop designer's module does not load, with the
// browser's reason.
std::string loopUnavailable(const std::string& why);
// The port box's tooltip from the names of the adapters this page may use, in order.
std::string portsToolTip(const std::vector<std::string>& names);

} // namespace owlet::web
