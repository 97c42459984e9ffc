#pragma once

#include <QByteArray>
#include <QString>

namespace owlet::test {

// A pseudo-terminal standing in for the module: the panel opens the slave side by its
// path, the test reads and writes the master side.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    QString slavePath() const { return slavePath_; }
    int masterFd() const { return master_; }

    // Reads from the master until `count` bytes came or `timeoutMs` passed, running the Qt
    // event loop meanwhile so the panel side can write.
    QByteArray read(int count, int timeoutMs = 10000);
    void write(const QByteArray& bytes);
    // Closing the master hangs up the line, as unplugging an adapter does.
    void hangUp();

private:
    int master_ = -1;
    QString slavePath_;
};

} // namespace owlet::test
