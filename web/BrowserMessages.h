#pragma once

#include "link/LinkFailure.h"
#include "web/BrowserLink.h"

#include <cstdint>
#include <string>

namespace owlet::web {

// Every failure of the browser's serial port, in the desktop panel's manner: the port, what
// the browser said, and what the user can do.
LinkFailure noSuchPort(std::int16_t port);
LinkFailure noWebSerial(std::int16_t port);
LinkFailure troubleOf(SerialTrouble trouble, std::int16_t port, const std::string& name,
                      const std::string& words, int linesNotSent);
// A write after the port failed: the same kind, and nothing sent.
LinkFailure notConnected(const LinkFailure& cause, std::int16_t port);

} // namespace owlet::web
