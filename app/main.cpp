#include "app/SignalQuit.h"
#include "link/PortMapping.h"
#include "link/SerialModuleLink.h"
#include "owlet/Version.h"
#include "ui/Look.h"
#include "ui/PanelStyle.h"
#include "ui/SynthWindow.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    // Answered before any display is needed, so a script or a package check can ask.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::fputs(owlet::VersionLine("owlet").c_str(), stdout);
        return 0;
    }
    // Without a display Qt would abort with a long message; say it in one line instead.
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
        std::getenv("QT_QPA_PLATFORM") == nullptr) {
        std::fprintf(stderr, "owlet: no display (DISPLAY is not set); on a machine without one, "
                             "run: xvfb-run -a owlet\n");
        return 1;
    }
    const sigset_t termination = SignalQuit::blockTerminationSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("owlet"));
    QApplication::setDesktopFileName(QStringLiteral("net.quartzel.Owlet"));
    QApplication::setStyle(new owlet::PanelStyle); // the application owns its style
    // The panel's own face from the start, so the desktop's default is never loaded.
    QApplication::setFont(owlet::defaultFont());

    owlet::SerialModuleLink link;
    owlet::SynthWindow window(
        link, [] { return owlet::portAssignmentsText() + u'\n' + owlet::portNamingHint(); });
    // A test aid: programs that drive the panel through the X server read what it shows.
    if (qEnvironmentVariableIsSet("OWLET_TRACE"))
        window.startTrace(qEnvironmentVariable("OWLET_TRACE"));
    window.show();
    if (QCoreApplication::arguments().contains(QStringLiteral("--loop")))
        window.openLoopWindow();
    // A signal ends the panel as closing its window does; the window and then the link
    // are destroyed on the way out of main, which closes the port and removes its lock.
    const SignalQuit quitOnSignal(termination, [](int) { QCoreApplication::quit(); });
    return QApplication::exec();
}
