#pragma once

#include "link/LinkFailure.h"
#include "link/ModuleLink.h"

#include <QEventLoop>
#include <QTimer>

#include <string>
#include <sys/resource.h>
#include <vector>

namespace owlet::test {

// Reads a module link as the panel does: at each communication event everything waiting,
// and a failure kept instead of thrown.
struct LinkReader {
    std::string received;
    std::vector<LinkFailure> failures;

    explicit LinkReader(ModuleLink& link) {
        link.setCommEventHandler([this, &link] {
            try {
                received += link.readAll();
            } catch (const LinkFailure& failure) {
                failures.push_back(failure);
            }
        });
    }
};

// Runs the event loop for `ms`, sleeping in it while nothing happens.
inline void waitInEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The CPU time this process spends while its event loop runs for `ms`: near 0 when idle.
inline double cpuSecondsWhileWaiting(int ms) {
    const auto cpu = [] {
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    const double before = cpu();
    waitInEventLoop(ms);
    return cpu() - before;
}

} // namespace owlet::test
