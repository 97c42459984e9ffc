#include "tests/support/LinkReader.h"

#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

namespace owlet::test {

LinkReader::LinkReader(ModuleLink& link) {
    link.setCommEventHandler([this, &link] {
        ++events;
        try {
            received += link.readAll();
        } catch (const LinkFailure& failure) {
            failures.push_back(failure);
        }
    });
}

double cpuSecondsWhileWaiting(int ms) {
    const auto cpu = [] {
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    const double before = cpu();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return cpu() - before;
}

} // namespace owlet::test
