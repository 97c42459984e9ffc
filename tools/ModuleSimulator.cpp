// owlet-module-sim: plays a synthesizer module on a pseudo-terminal, so the panel can be
// tried without hardware. It prints each command line it receives in words, answers it,
// and flags malformed lines.
#include "owlet/Version.h"
#include "tools/ModuleProtocol.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

struct Options {
    std::string reply = "OK {line}";
    std::string malformedReply = "ERR {line}";
    bool silent = false;
};

void usage(const char* program) {
    std::printf("usage: %s [--reply TEXT] [--error-reply TEXT] [--silent] [--version]\n"
                "  --reply TEXT        answer to a well-formed line (default \"OK {line}\")\n"
                "  --error-reply TEXT  answer to a malformed line (default \"ERR {line}\")\n"
                "  --silent            answer nothing\n"
                "{line} stands for the line received, {letter} for its command letter;\n"
                "every answer ends in CR LF. Ctrl-C ends the simulator.\n",
                program);
}

std::string expand(std::string text, const std::string& line) {
    const auto replaceAll = [&text](const std::string& key, const std::string& value) {
        for (std::size_t at = text.find(key); at != std::string::npos;
             at = text.find(key, at + value.size()))
            text.replace(at, key.size(), value);
    };
    replaceAll("{line}", line);
    replaceAll("{letter}", line.substr(0, 1));
    return text + "\r\n";
}

void writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return;
        if (n > 0)
            done += static_cast<std::size_t>(n);
    }
}

void handle(const owlet::sim::DecodedLine& line, int master, const Options& options) {
    if (line.wellFormed())
        std::printf("<- %-8s %s\n", line.command.c_str(), line.meaning.c_str());
    else
        std::printf("<- %-8s MALFORMED: %s\n", line.command.c_str(), line.problem.c_str());
    if (!options.silent) {
        const std::string answer =
            expand(line.wellFormed() ? options.reply : options.malformedReply, line.command);
        writeAll(master, answer);
        std::printf("-> %s\n", answer.substr(0, answer.size() - 2).c_str());
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--reply" || arg == "--error-reply") && i + 1 < argc) {
            (arg == "--reply" ? options.reply : options.malformedReply) = argv[++i];
        } else if (arg == "--silent") {
            options.silent = true;
        } else if (arg == "--version") {
            std::fputs(owlet::VersionLine("owlet-module-sim").c_str(), stdout);
            return 0;
        } else {
            usage(argv[0]);
            return arg == "--help" || arg == "-h" ? 0 : 2;
        }
    }

    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::fprintf(stderr, "owlet-module-sim: cannot open a pseudo-terminal: %s\n",
                     std::strerror(errno));
        return 1;
    }
    // Only the panel holds the line open: the panel refuses a device that another process
    // has open. Between two runs of the panel the line is hung up, which is waited out below.
    ::close(slave);
    struct sigaction action {};
    action.sa_handler = requestStop;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);

    std::printf("Module simulator on %s\nStart the panel on it with:\nOWLET_COM1=%s owlet\n", name,
                name);
    std::fflush(stdout);

    owlet::sim::LineSplitter splitter;
    while (!stopRequested) {
        pollfd p{master, POLLIN, 0};
        // A line still unfinished a second after its last byte lacks its CR LF.
        const int ready = ::poll(&p, 1, splitter.pending().empty() ? -1 : 1000);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            const std::string unfinished = splitter.takePending();
            handle(owlet::sim::decodeLine(unfinished, false), master, options);
            continue;
        }
        if ((p.revents & POLLHUP) && !(p.revents & POLLIN)) {
            ::poll(nullptr, 0, 50); // no panel on the line yet: look again shortly
            continue;
        }
        char buffer[512];
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0)
            continue;
        for (const auto& line :
             splitter.feed(std::string_view(buffer, static_cast<std::size_t>(n))))
            handle(owlet::sim::decodeLine(line.text, line.crLf), master, options);
    }
    std::printf("Module simulator stopped.\n");
    ::close(master);
    return 0;
}
