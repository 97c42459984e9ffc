#include "link/PortHolders.h"
#include "link/SerialModuleLink.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/Ser2net.h"
#include "ui/SynthWindow.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace owlet;
using namespace owlet::test;
using C = Control;

// The real window and the real link, with port 1 a pseudo-terminal or a network port.
class EndToEndTest : public QObject {
    Q_OBJECT

    std::unique_ptr<SerialModuleLink> link_;
    std::unique_ptr<SynthWindow> window_;
    QStringList dialogs;

    QWidget* w(C c) const { return window_->widget(c); }
    void click(C c) {
        QVERIFY2(w(c)->isVisible(), controlName(c).data());
        QTest::mouseClick(w(c), Qt::LeftButton, {}, w(c)->rect().center());
    }
    // The window on port 1 at `device`, shown and active.
    bool open(const QString& device) {
        qputenv("OWLET_COM1", device.toLocal8Bit());
        link_ = std::make_unique<SerialModuleLink>();
        window_ = std::make_unique<SynthWindow>(*link_);
        window_->errorDialog().setAnswerer(
            [this](const QString&, const QString& text) { dialogs << text; });
        window_->show();
        window_->activateWindow();
        return QTest::qWaitForWindowActive(window_.get());
    }

private slots:
    void cleanup() {
        window_.reset();
        link_.reset();
        dialogs.clear();
        qunsetenv("OWLET_COM1");
    }

    // The typical use, step by step as a user takes it, from start-up to the store command.
    void typicalUseOverThePort() {
        PseudoTerminal module;
        QVERIFY(open(module.slavePath()));
        SynthPanel& panel = window_->panel();
        QCOMPARE(panel.text(C::Fref), "Enter value");
        click(C::SetCP); // port 1 opens, the port controls vanish
        QCOMPARE(panel.portNumber(), 1);
        QVERIFY(!w(C::SetCP)->isVisible() && !w(C::CPNo)->isVisible());
        for (C shown : {C::Update, C::StoreEE, C::Text1, C::Label8})
            QVERIFY(w(shown)->isVisible());
        click(C::Fref);
        QVERIFY(w(C::SetR)->isVisible());
        QTest::keyClicks(w(C::Fref), "10");
        click(C::SetR);
        QCOMPARE(panel.text(C::Rreg), "0190");
        QCOMPARE(panel.text(C::Fcomp2), " 25");
        click(C::Fout);
        QTest::keyClicks(w(C::Fout), "145.01");
        click(C::SetN);
        QCOMPARE(panel.text(C::Nreg), "16A8");
        QCOMPARE(panel.text(C::Warn), "Non-integer ratio: \r\nFreq error -10000Hz");
        QVERIFY(w(C::Warn)->isVisible() && w(C::Update)->isVisible());
        click(C::PD0);
        click(C::SetC);
        click(C::Update);
        QCOMPARE(module.read(22), QByteArray("R0190\r\nN16A8\r\nC23\r\nU\r\n"));
        module.write("OK U\r\n");
        QTRY_COMPARE(panel.text(C::Text1), "OK U\r\n");
        click(C::StoreEE); // the answer to U goes before W does
        QCOMPARE(module.read(3), QByteArray("W\r\n"));
        QCOMPARE(panel.text(C::Text1), "");
        auto* responses = qobject_cast<QPlainTextEdit*>(w(C::Text1));
        module.write("stored\r\n\xB0K");
        QTRY_COMPARE(responses->toPlainText(), QString("stored\n") + QChar(0xB0) + "K");
        QVERIFY(dialogs.isEmpty());

        // The loss is told once, as it happens; every later press says it again.
        module.hangUp();
        QTRY_COMPARE_WITH_TIMEOUT(dialogs.size(), 1, 10000);
        QVERIFY2(dialogs[0].startsWith("Device unavailable"), qPrintable(dialogs[0]));
        QVERIFY(dialogs[0].contains("went away"));
        QVERIFY(!QFile::exists(lockOf(module.slavePath()).path));
        click(C::Update);
        QCOMPARE(dialogs.size(), 2);
        QVERIFY2(dialogs[1].startsWith("Device unavailable"), qPrintable(dialogs[1]));
        // The panel is alive.
        click(C::Fref);
        QCOMPARE(panel.text(C::Fref), "");
    }

    // Connecting never freezes the window: it answers while a port that never answers is
    // tried, and reports it, with the line written meanwhile, once the 5 s are up.
    void networkPortThatNeverAnswers() {
        SilentPort silent;
        QVERIFY(open(QStringLiteral("rfc2217://127.0.0.1:%1").arg(silent.port())));
        QElapsedTimer timer;
        timer.start();
        click(C::SetCP);
        click(C::Fref);
        QTest::keyClicks(w(C::Fref), "10");
        click(C::SetR);
        QCOMPARE(window_->panel().text(C::Rreg), "0190");
        QVERIFY2(dialogs.isEmpty() && timer.elapsed() < 2000, "the window waited for the port");
        QTRY_COMPARE_WITH_TIMEOUT(dialogs.size(), 1, 10000);
        QVERIFY(timer.elapsed() < 7000);
        QVERIFY2(dialogs[0].startsWith("Port unreachable") &&
                     dialogs[0].contains("does not answer") && dialogs[0].contains("not sent"),
                 qPrintable(dialogs[0]));
    }
};

QTEST_MAIN(EndToEndTest)
#include "EndToEndTest.moc"
