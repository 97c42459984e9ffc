#include "link/CommandLine.h"
#include "math/Registers.h"

#include <QTest>

using namespace owlet;
Q_DECLARE_METATYPE(ModuleCommand)

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void bytes_data() {
        QTest::addColumn<ModuleCommand>("command");
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("R 400") << ModuleCommand::ReferenceDivider << 400
                               << QByteArray::fromHex("52303139300D0A");
        QTest::newRow("N 5800") << ModuleCommand::FeedbackDivider << 5800
                                << QByteArray::fromHex("4E313641380D0A");
        QTest::newRow("C 11") << ModuleCommand::Control << 11 << QByteArray::fromHex("4330420D0A");
        QTest::newRow("C 0") << ModuleCommand::Control << 0 << QByteArray::fromHex("4330300D0A");
        QTest::newRow("update") << ModuleCommand::Update << -1 << QByteArray::fromHex("550D0A");
        QTest::newRow("store") << ModuleCommand::StoreToEeprom << -1
                               << QByteArray::fromHex("570D0A");
    }

    // The lines formed from the register texts as the register boxes show them.
    void bytes() {
        QFETCH(ModuleCommand, command);
        QFETCH(int, value);
        QFETCH(QByteArray, expected);
        const int digits = command == ModuleCommand::Control ? 2 : 4;
        const std::string field = value < 0 ? std::string() : FormatRegister(value, digits);
        const std::string line = CommandLine(command, field);
        QCOMPARE(QByteArray::fromStdString(line), expected);
        QVERIFY(line.size() >= 3 && line.size() <= 7);
    }
};

QTEST_APPLESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
