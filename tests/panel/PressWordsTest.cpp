#include "tests/support/PanelFixture.h"

#include <QTest>

#include <stdexcept>

using namespace owlet;
using namespace owlet::test;

// What a screen reader says after each press: the model's one announcement, which both
// views speak. Steps, by blanks: "port=N" chooses a port, "Fref=10" types, "PD0!" clicks an
// option, a name presses that button; the words are the last press's ("" when it failed
// and its error dialog speaks instead).
class PressWordsTest : public QObject {
    Q_OBJECT

private slots:
    void eachPressSaysWhatItDid_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("words");
        QTest::newRow("R sent") << "port=1 Fref=10 SetR"
                                << "R 0190 sent";
        QTest::newRow("no port") << "port=0 Fref=10 SetR"
                                 << "R 0190 computed, not sent: port 0";
        QTest::newRow("N") << "port=1 Fref=10 SetR Fout=145 SetN"
                           << "N 16A8 sent";
        QTest::newRow("N warns") << "port=1 Fref=10 Fout=145.01 SetN"
                                 << "N 16A8 sent. Non-integer ratio: Freq error -10000Hz";
        QTest::newRow("warning gone") << "port=1 Fref=10 Fout=145.01 SetN Fout=145 SetN"
                                      << "N 16A8 sent";
        QTest::newRow("C") << "port=0 PD0! SetC"
                           << "C 23 computed, not sent: port 0";
        QTest::newRow("Store") << "port=2 Fref=10 SetR Fout=145 SetN StoreEE"
                               << "W sent";
        QTest::newRow("open") << "port=3"
                              << "Port 3 open";
        QTest::newRow("port 0") << "port=0"
                                << "Port 0: the panel computes, nothing is sent";
        QTest::newRow("R refused") << "port=0 Fref=1e300 SetR"
                                   << "";
        QTest::newRow("no such port") << "port=40"
                                      << "";
    }
    void eachPressSaysWhatItDid() {
        QFETCH(QString, steps);
        QFETCH(QString, words);
        PanelFixture f;
        f.link.highestPort = 4;
        const auto named = [](const QString& name) {
            for (std::size_t i = 0; i < ControlCount; ++i)
                if (QString::fromUtf8(controlName(static_cast<Control>(i)).data()) == name)
                    return static_cast<Control>(i);
            throw std::invalid_argument(name.toStdString());
        };
        int before = 0;
        for (const QString& step : steps.split(u' ')) {
            before = f.view.announcements;
            const QString value = step.section(u'=', 1);
            if (step.startsWith("port="))
                f.choosePort(value.toStdString());
            else if (step.contains(u'='))
                f.type(named(step.section(u'=', 0, 0)), value.toStdString());
            else if (step.endsWith(u'!'))
                f.panel.userClickedOption(named(step.chopped(1)));
            else
                f.press(named(step));
        }
        QCOMPARE(f.view.announcements, before + (words.isEmpty() ? 0 : 1)); // said once
        if (!words.isEmpty())
            QCOMPARE(QString::fromStdString(f.view.announced), words);
        else
            QVERIFY(!f.lastErrorKind().empty());
    }
};

QTEST_MAIN(PressWordsTest)
#include "PressWordsTest.moc"
