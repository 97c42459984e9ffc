#include "link/PortHolders.h"
#include "link/SerialModuleLink.h"
#include "tests/support/PseudoTerminal.h"
#include "ui/SynthWindow.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace owlet;
using namespace owlet::test;
using C = Control;

// The real window and the real serial link, with a pseudo-terminal as port 1.
class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void typicalUseOverThePort() {
        PseudoTerminal module;
        qputenv("OWLET_COM1", module.slavePath().toLocal8Bit());
        SerialModuleLink link;
        SynthWindow window(link);
        QStringList dialogs;
        window.errorDialog().setAnswerer(
            [&](const QString&, const QString& text) { dialogs << text; });
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const auto w = [&](C c) {
            return window.widget(c);
        };
        const auto click = [&](C c) {
            QVERIFY2(w(c)->isVisible(), controlName(c).data());
            QTest::mouseClick(w(c), Qt::LeftButton, {}, w(c)->rect().center());
        };

        click(C::SetCP);
        QCOMPARE(window.panel().portNumber(), 1);
        click(C::Fref);
        QTest::keyClicks(w(C::Fref), "10");
        click(C::SetR);
        click(C::Fout);
        QTest::keyClicks(w(C::Fout), "145.01");
        click(C::SetN);
        click(C::PD0);
        click(C::SetC);
        click(C::Update);
        click(C::StoreEE);
        QCOMPARE(module.read(25), QByteArray("R0190\r\nN16A8\r\nC23\r\nU\r\nW\r\n"));
        QVERIFY(dialogs.isEmpty());

        auto* responses = qobject_cast<QPlainTextEdit*>(w(C::Text1));
        module.write("stored\r\n\xB0K");
        QTRY_COMPARE(responses->toPlainText(), QString("stored\n") + QChar(0xB0) + "K");

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
        QCOMPARE(window.panel().text(C::Fref), "");
        qunsetenv("OWLET_COM1");
    }
};

QTEST_MAIN(EndToEndTest)
#include "EndToEndTest.moc"
