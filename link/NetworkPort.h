#pragma once

#include "link/LinkFailure.h"
#include "link/NetworkAddress.h"
#include "link/PortMessages.h"
#include "link/TcpConnection.h"
#include "link/TelnetClient.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>

namespace owlet {

// A serial port served over TCP, by ser2net for instance: raw, or telnet with RFC 2217,
// which sets the far port to 1200 baud, 8N1, no flow control before any data goes out.
// Connecting, the name lookup included, never blocks: whole lines written meanwhile wait
// and go out in order once the port stands. A connection that cannot be made within 5 s
// (3 s more for an RFC 2217 server to confirm the line), or that drops, ends the port:
// the failure is kept for the reader once, every later write fails, and the port stays
// idle. The port only connects; it never listens.
class NetworkPort final : public QObject {
    Q_OBJECT

public:
    // `changed` runs when data arrives or the port fails.
    NetworkPort(const NetworkAddress& address, const PortContext& at,
                std::function<void()> changed);

    void open();
    // Sends a whole line, or keeps it while the connection is under way; throws the
    // failure once the port has failed.
    void write(std::string_view line);
    // The data received and not taken yet.
    std::string takeReceived();
    qint64 received() const { return static_cast<qint64>(received_.size()); }
    // The failure that ended the port, handed out once.
    std::optional<LinkFailure> takeFailure();
    bool failureWaiting() const { return failure_.has_value(); }
    // Waits until the port stands and every line has gone out, at most `timeoutMs`.
    bool drain(int timeoutMs);
    // Throws the failure that ended the port, if one did.
    void throwIfFailed() const {
        if (phase_ == Phase::Failed)
            throw *lastFailure_;
    }

private:
    enum class Phase { Connecting, SettingLine, Ready, Failed };

    void onConnected();
    void onReceived(const std::string& bytes);
    void onFailed(int error, bool lookup);
    void onDeadline();
    void send(const std::string& bytes);
    void ready();
    // Ends the port: `failure` for the reader, and `cause` for every later write.
    void fail(LinkFailure failure, const QString& cause);
    // The server does not set the line as RFC 2217 asks, for `why`.
    void failNotRfc2217(const QString& why);
    QString cause(int error, bool lookup) const;

    NetworkAddress address_;
    PortContext at_;
    std::function<void()> changed_;
    TcpConnection tcp_;
    QTimer deadline_{this};
    TelnetClient telnet_;
    Phase phase_ = Phase::Connecting;
    std::string waiting_; // whole lines written before the port stood
    int waitingLines_ = 0;
    std::string received_;
    std::optional<LinkFailure> failure_;     // for the reader, once
    std::optional<LinkFailure> lastFailure_; // for every later write
};

} // namespace owlet
