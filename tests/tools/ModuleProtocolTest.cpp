#include "tools/ModuleProtocol.h"
#include "tests/support/Rows.h"

#include <QTest>

using namespace owlet::sim;
using owlet::test::addRows;
using owlet::test::currentRow;

namespace {

struct Line {
    const char *name, *line;
    bool crLf;
    const char *meaning, *problem; // a meaning when well formed, else how the problem begins
};
constexpr Line Lines[] = {
    {"R", "R0190", true, "reference divider R = 400", ""},
    {"N", "N16A8", true, "feedback divider N = 5800", ""},
    {"C", "C23", true,
     "control byte C = 23: POL normal, PD double-ended PhV/PhR, LD on, REFout DC static, fV on, "
     "fR on",
     ""},
    {"C all", "CF7", true,
     "control byte C = F7: POL inverted, PD single-ended PDout, LD on, REFout OscIn/16, fV on, "
     "fR on",
     ""},
    {"U", "U", true, "update", ""},
    {"W", "W", true, "store the settings in EEPROM", ""},
    {"too long", "R01900", true, "", "wrong length"},
    {"too short", "C2", true, "", "wrong length"},
    {"lower case", "N16a8", true, "", "lower-case"},
    {"lower-case letter", "u", true, "", "lower-case command"},
    {"not hex", "R01G0", true, "", "not a hexadecimal"},
    {"no CR", "U", false, "update", "not ended by CR LF"},
    {"stray CR", "U\r", true, "", "wrong length"},
    {"unknown", "X12", true, "", "unknown command"},
    {"empty", "", true, "", "empty line"},
};

} // namespace

class ModuleProtocolTest : public QObject {
    Q_OBJECT

private slots:
    void decode_data() { addRows(Lines); }
    void decode() {
        const Line& c = currentRow(Lines);
        const DecodedLine decoded = decodeLine(c.line, c.crLf);
        if (*c.problem == 0) {
            QVERIFY2(decoded.wellFormed(), decoded.problem.c_str());
            QCOMPARE(decoded.meaning, c.meaning);
        } else {
            QVERIFY2(decoded.problem.starts_with(c.problem), decoded.problem.c_str());
        }
    }

    void splitsAtLineFeeds() {
        LineSplitter splitter;
        QVERIFY(splitter.feed("R01").empty());
        const auto lines = splitter.feed("90\r\nU\nC2");
        QCOMPARE(lines.size(), 2u);
        QCOMPARE(lines[0].text, "R0190");
        QVERIFY(lines[0].crLf);
        QCOMPARE(lines[1].text, "U");
        QVERIFY(!lines[1].crLf);
        QCOMPARE(splitter.takePending(), "C2");
    }
};

QTEST_APPLESS_MAIN(ModuleProtocolTest)
#include "ModuleProtocolTest.moc"
