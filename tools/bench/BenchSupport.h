#pragma once

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

} // namespace owlet::bench
