#pragma once

#include "link/SerialModuleLink.h"
#include "ui/SynthWindow.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace owlet::bench {

// CPU time of this process so far.
double cpuMilliseconds();
// Resident memory of this process now.
long residentKiB();
// Writes all of `bytes` to a blocking descriptor; false once it fails.
bool writeAll(int fd, const QByteArray& bytes);
// ser2net serving the pseudo-terminal `device` as RFC 2217 on a free port of 127.0.0.1,
// made the panel's port 1 (OWLET_COM1) once it accepts connections; false if it does not.
bool servePortOne(QProcess& server, const QTemporaryDir& dir, const char* device);
// A pseudo-terminal for the module: the panel opens its line side by `name`; `master` is the
// module's end (-1 if none could be had).
struct ModulePty {
    int master = -1;
    char name[256] = {};
    ModulePty();
};

// Sets the program's style; true. Before any window is made, as the program does it.
bool usePanelStyle();

// The panel's window on port 1, opened as a user opens it: shown, then "COM Port" pressed.
struct PanelOnPortOne {
    bool styled = usePanelStyle();
    SerialModuleLink link;
    SynthWindow window{link};
    PanelOnPortOne();
};

} // namespace owlet::bench
