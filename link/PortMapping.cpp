#include "link/PortMapping.h"

#include <QProcessEnvironment>
#include <QSerialPortInfo>

#include <algorithm>
#include <map>

namespace owlet {
namespace {

constexpr QLatin1StringView overridePrefix{"OWLET_COM"};

std::map<int, QString> environmentOverrides() {
    std::map<int, QString> overrides;
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& key : environment.keys()) {
        if (!key.startsWith(overridePrefix))
            continue;
        bool ok = false;
        const int number = key.mid(overridePrefix.size()).toInt(&ok);
        const QString device = environment.value(key);
        if (ok && number > 0 && !device.isEmpty())
            overrides[number] = device;
    }
    return overrides;
}

std::vector<QSerialPortInfo> systemPorts() {
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    std::sort(ports.begin(), ports.end(), [](const QSerialPortInfo& a, const QSerialPortInfo& b) {
        return naturalLess(a.portName(), b.portName());
    });
    return {ports.begin(), ports.end()};
}

} // namespace

bool naturalLess(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype iEnd = i;
            qsizetype jEnd = j;
            while (iEnd < a.size() && a[iEnd].isDigit())
                ++iEnd;
            while (jEnd < b.size() && b[jEnd].isDigit())
                ++jEnd;
            // Compare digit runs by value: strip leading zeros, then length, then digits.
            QStringView x = QStringView(a).mid(i, iEnd - i);
            QStringView y = QStringView(b).mid(j, jEnd - j);
            while (x.size() > 1 && x.front() == u'0')
                x = x.mid(1);
            while (y.size() > 1 && y.front() == u'0')
                y = y.mid(1);
            if (x.size() != y.size())
                return x.size() < y.size();
            if (const int order = x.compare(y); order != 0)
                return order < 0;
            i = iEnd;
            j = jEnd;
        } else {
            if (a[i] != b[j])
                return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

std::vector<PortAssignment> currentPortAssignments() {
    const std::vector<QSerialPortInfo> ports = systemPorts();
    const std::map<int, QString> overrides = environmentOverrides();
    int last = static_cast<int>(ports.size());
    if (!overrides.empty())
        last = std::max(last, overrides.rbegin()->first);

    std::vector<PortAssignment> assignments;
    for (int number = 1; number <= last; ++number) {
        PortAssignment assignment;
        assignment.number = number;
        if (const auto found = overrides.find(number); found != overrides.end()) {
            assignment.device = found->second;
            assignment.fromEnvironment = true;
        } else if (number <= static_cast<int>(ports.size())) {
            const QSerialPortInfo& info = ports[static_cast<std::size_t>(number - 1)];
            assignment.device = info.systemLocation();
            assignment.description = info.description();
        } else {
            continue;
        }
        assignments.push_back(assignment);
    }
    return assignments;
}

std::optional<QString> deviceForPort(std::int16_t port) {
    for (const PortAssignment& assignment : currentPortAssignments())
        if (assignment.number == port)
            return assignment.device;
    return std::nullopt;
}

QString portAssignmentsText() {
    const std::vector<PortAssignment> assignments = currentPortAssignments();
    if (assignments.empty())
        return QStringLiteral("No serial ports found. Plug in the adapter, or set OWLET_COM<n> "
                              "to a device path.");
    QStringList lines;
    for (const PortAssignment& a : assignments) {
        QString line = QStringLiteral("%1  %2").arg(a.number).arg(a.device);
        if (a.fromEnvironment)
            line += QStringLiteral("  (set by OWLET_COM%1)").arg(a.number);
        else if (!a.description.isEmpty())
            line += QStringLiteral("  %1").arg(a.description);
        lines << line;
    }
    return lines.join(u'\n');
}

QString portNamingHint() {
    return QStringLiteral("OWLET_COM<n>=/dev/... in the environment names the device of port n; "
                          "rfc2217://HOST:PORT or tcp://HOST:PORT names a port served over "
                          "the network (ser2net).");
}

} // namespace owlet
