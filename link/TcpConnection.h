#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace owlet {

// A TCP connection made without blocking: the system's resolver looks the name up in the
// background (getaddrinfo_a), and the connection completes through the event loop. It only
// connects, never listens. QTcpSocket would do as much, but would load QtNetwork with its
// Kerberos, proxy and resolver libraries into the panel at every start, for every user.
// Each readiness event reads at most MostReadAtOnce bytes and returns to the event loop,
// so a far end that streams without pause cannot starve the window or fill the memory.
class TcpConnection final : public QObject {
    Q_OBJECT

public:
    struct Events {
        std::function<void()> connected;
        std::function<void(std::string)> received;
        // Why the connection could not be made or ended: an errno, or with `lookup` an
        // EAI_ code of the name lookup; 0 when the server closed the connection.
        std::function<void(int error, bool lookup)> failed;
    };

    static constexpr std::size_t MostReadAtOnce = 64 * 1024;

    explicit TcpConnection(Events events);
    ~TcpConnection() override;
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    void connectTo(const std::string& host, std::uint16_t port);
    // Queues the bytes and sends what the system takes now.
    void write(std::string_view bytes);
    std::size_t bytesToWrite() const { return output_.size(); }
    // Sends what is queued, waiting at most `timeoutMs`; false if some is left.
    bool flush(int timeoutMs);
    void close();

private:
    struct Lookup;

    void lookedUp();
    // Ends a lookup under way: cancelled, or left to finish on its own with everything it
    // reads, which it frees when done.
    void abandonLookup();
    void connectNext();
    void onWritable();
    void onReadable();
    void fail(int error, bool lookup = false);
    void send();

    Events events_;
    std::unique_ptr<Lookup> lookup_;
    QTimer lookupPoll_{this};
    void* addresses_ = nullptr; // addrinfo*, the list the lookup gave
    void* next_ = nullptr;      // the address to try after the current one
    int fd_ = -1;
    int lastError_ = 0;
    bool connected_ = false;
    std::unique_ptr<QSocketNotifier> readable_;
    std::unique_ptr<QSocketNotifier> writable_;
    std::string output_;
};

} // namespace owlet
