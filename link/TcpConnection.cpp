#include "link/TcpConnection.h"

#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>

#include <thread>

namespace owlet {

// One name lookup: the request and everything the resolver's thread reads from it.
struct TcpConnection::Lookup {
    gaicb request{};
    std::string host;
    std::string service;
    addrinfo hints{};
};

namespace {

addrinfo* info(void* p) {
    return static_cast<addrinfo*>(p);
}

// Takes a notifier out of service; it may be the one whose signal is running, so it is
// deleted once that has returned.
void retire(std::unique_ptr<QSocketNotifier>& notifier) {
    if (!notifier)
        return;
    notifier->setEnabled(false);
    notifier.release()->deleteLater();
}

} // namespace

TcpConnection::TcpConnection(Events events)
    : events_(std::move(events)) {
    lookupPoll_.setInterval(10); // only while a name is being looked up
    connect(&lookupPoll_, &QTimer::timeout, this, &TcpConnection::lookedUp);
}

TcpConnection::~TcpConnection() {
    close();
    if (addresses_)
        freeaddrinfo(info(addresses_));
}

void TcpConnection::connectTo(const std::string& host, std::uint16_t port) {
    abandonLookup();
    lookup_ = std::make_unique<Lookup>();
    lookup_->host = host;
    lookup_->service = std::to_string(port);
    lookup_->hints.ai_family = AF_UNSPEC;
    lookup_->hints.ai_socktype = SOCK_STREAM;
    lookup_->request.ar_name = lookup_->host.c_str();
    lookup_->request.ar_service = lookup_->service.c_str();
    lookup_->request.ar_request = &lookup_->hints;
    gaicb* requests[] = {&lookup_->request};
    if (const int error = getaddrinfo_a(GAI_NOWAIT, requests, 1, nullptr); error != 0) {
        lookup_.reset(); // never started
        return fail(error, true);
    }
    lookupPoll_.start();
}

void TcpConnection::lookedUp() {
    const int error = gai_error(&lookup_->request);
    if (error == EAI_INPROGRESS)
        return;
    lookupPoll_.stop();
    addresses_ = lookup_->request.ar_result;
    next_ = addresses_;
    lookup_.reset();
    if (error != 0)
        return fail(error, true);
    connectNext();
}

void TcpConnection::abandonLookup() {
    lookupPoll_.stop();
    if (!lookup_)
        return;
    if (gai_cancel(&lookup_->request) != EAI_NOTCANCELED) {
        // Cancelled, or done just now: nothing reads the request any more.
        if (gai_error(&lookup_->request) == 0 && lookup_->request.ar_result)
            freeaddrinfo(lookup_->request.ar_result);
        lookup_.reset();
        return;
    }
    // The resolver is inside the lookup and cannot be stopped (a slow DNS server): a
    // thread of its own waits for it and frees the request, its strings and its answer.
    std::thread([lookup = std::move(lookup_)] {
        const gaicb* requests[] = {&lookup->request};
        while (gai_error(&lookup->request) == EAI_INPROGRESS)
            gai_suspend(requests, 1, nullptr);
        if (lookup->request.ar_result)
            freeaddrinfo(lookup->request.ar_result);
    }).detach();
}

// Each address the name has, in the resolver's order, until one takes the connection.
void TcpConnection::connectNext() {
    while (next_) {
        const addrinfo* a = info(next_);
        next_ = a->ai_next;
        fd_ = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd_ < 0) {
            lastError_ = errno;
            continue;
        }
        const int on = 1;
        ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on); // short lines, at once
        if (::connect(fd_, a->ai_addr, a->ai_addrlen) == 0 || errno == EINPROGRESS) {
            writable_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Write);
            connect(writable_.get(), &QSocketNotifier::activated, this, &TcpConnection::onWritable);
            return;
        }
        lastError_ = errno;
        ::close(fd_);
        fd_ = -1;
    }
    fail(lastError_);
}

void TcpConnection::onWritable() {
    if (connected_)
        return send();
    int error = 0;
    socklen_t size = sizeof error;
    ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size);
    if (error != 0) {
        lastError_ = error;
        retire(writable_);
        ::close(fd_);
        fd_ = -1;
        return connectNext();
    }
    connected_ = true;
    writable_->setEnabled(false);
    readable_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    connect(readable_.get(), &QSocketNotifier::activated, this, &TcpConnection::onReadable);
    events_.connected();
    send();
}

// What the socket holds, up to MostReadAtOnce: whatever is left raises the notifier again
// once the event loop has served the window.
void TcpConnection::onReadable() {
    std::string bytes(MostReadAtOnce, '\0');
    std::size_t size = 0;
    int error = -1; // none: the socket is merely empty for now
    while (size < bytes.size()) {
        const ssize_t n = ::recv(fd_, bytes.data() + size, bytes.size() - size, 0);
        if (n > 0) {
            size += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            break;
        error = n == 0 ? 0 : errno; // closed by the server, or broken
        break;
    }
    bytes.resize(size);
    if (!bytes.empty())
        events_.received(std::move(bytes));
    if (error >= 0 && fd_ >= 0)
        fail(error);
}

void TcpConnection::write(std::string_view bytes) {
    output_ += bytes;
    if (connected_)
        send();
}

// Also called after a callback that may have ended the connection: then it does nothing.
void TcpConnection::send() {
    if (!connected_)
        return;
    while (!output_.empty()) {
        const ssize_t n = ::send(fd_, output_.data(), output_.size(), MSG_NOSIGNAL);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            break;
        if (n < 0)
            return fail(errno);
        output_.erase(0, static_cast<std::size_t>(n));
    }
    writable_->setEnabled(!output_.empty());
}

bool TcpConnection::flush(int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (connected_ && fd_ >= 0 && !output_.empty() && timer.elapsed() < timeoutMs) {
        pollfd p{fd_, POLLOUT, 0};
        ::poll(&p, 1, static_cast<int>(timeoutMs - timer.elapsed()));
        send();
    }
    return output_.empty();
}

void TcpConnection::fail(int error, bool lookup) {
    close();
    events_.failed(error, lookup);
}

void TcpConnection::close() {
    abandonLookup();
    retire(readable_);
    retire(writable_);
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    connected_ = false;
    output_.clear();
}

} // namespace owlet
