#include "math/ExactSetting.h"

#include <QTest>

#include <cstdint>

using namespace owlet;

namespace {

// The chip's dividers and the Fcomp list, written out here rather than taken from the code
// under test.
bool rTaken(std::int64_t r) {
    return r == 1 || (r >= 5 && r <= 32767);
}
bool nTaken(std::int64_t n) {
    return n >= 40 && n <= 65535;
}
constexpr std::int64_t ListMilliHz[] = {200'000'000, 100'000'000, 50'000'000, 25'000'000,
                                        12'500'000,  10'000'000,  6'250'000};

// What the search should find, by trying every R the chip takes: the largest list entry
// that makes the output exact, else the largest comparison frequency up to 200 kHz; R,
// or 0 where no R does it.
std::int64_t bruteForceR(std::int64_t refMilliHz, std::int64_t outMilliHz) {
    for (const std::int64_t entry : ListMilliHz)
        if (refMilliHz % entry == 0 && outMilliHz % entry == 0 && rTaken(refMilliHz / entry) &&
            nTaken(outMilliHz / entry))
            return refMilliHz / entry;
    for (std::int64_t r = 1; r <= 32767; ++r)
        if (rTaken(r) && refMilliHz <= 200'000'000 * r && outMilliHz * r % refMilliHz == 0 &&
            nTaken(outMilliHz * r / refMilliHz))
            return r;
    return 0;
}

std::int64_t milliHz(const char* mhz) {
    return std::llround(std::strtod(mhz, nullptr) * 1e9);
}

} // namespace

// The exact-setting search against every R, on references and outputs as users type them.
class ExactSettingTest : public QObject {
    Q_OBJECT

private slots:
    void matchesBruteForce() {
        const char* references[] = {"10", "12.8", "13", "4.4", "0.5", "1", "100", "0.03", "19.2"};
        const char* outputs[] = {"145",   "145.01", "145.0125", "433.92", "50.001",
                                 "144.3", "1000",   "0.9",      "1296.2", "7.0001"};
        int exact = 0;
        for (const char* ref : references) {
            for (const char* out : outputs) {
                const std::int64_t r = bruteForceR(milliHz(ref), milliHz(out));
                const std::optional<ExactSetting> s = FindExactSetting(ref, out);
                const QByteArray row = QByteArray(ref) + " MHz to " + out + " MHz";
                QVERIFY2(s && s->exact() == (r != 0), row.constData());
                if (r == 0)
                    continue;
                ++exact;
                QVERIFY2(s->r == r, (row + ": R " + QByteArray::number(s->r) + ", not " +
                                     QByteArray::number(qint64(r)))
                                        .constData());
                QCOMPARE(s->errorHz, 0);
            }
        }
        QVERIFY(exact > 20 && exact < 90); // both answers are met
    }
};

QTEST_GUILESS_MAIN(ExactSettingTest)
#include "ExactSettingTest.moc"
