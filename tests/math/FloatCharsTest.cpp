#include "math/FloatChars.h"

#include <QTest>

#include <bit>
#include <cstdint>
#include <random>

using namespace owlet;

// The stand-ins the WebAssembly build reads and writes doubles with give the same values
// and digits as from_chars and to_chars, where a difference would change R or N.
class FloatCharsTest : public QObject {
    Q_OBJECT

    static void sameParse(const char* text, bool hex) {
        const ParsedDouble a = ParseDouble(text, hex);
        const ParsedDouble b = fallback::ParseDouble(text, hex);
        QVERIFY2(a.length == b.length && a.outOfRange == b.outOfRange &&
                     std::bit_cast<std::uint64_t>(a.value) == std::bit_cast<std::uint64_t>(b.value),
                 text);
    }

private slots:
    void readsTheSame() {
        for (const char* text : {"10",
                                 "145.01",
                                 "145.0125",
                                 "6.25",
                                 "0.0125",
                                 "1.",
                                 ".5",
                                 "1e5",
                                 "1E+5",
                                 "2.5e-3",
                                 "1e308",
                                 "1.7976931348623157e308",
                                 "1.7976931348623159e308",
                                 "2e308",
                                 "1e-310",
                                 "4e-324",
                                 "2e-324",
                                 "1e-400",
                                 "2.2250738585072011e-308",
                                 "12,5",
                                 "1e",
                                 "",
                                 "x",
                                 "0.1000000000000000055511151231257827021181583404541015625",
                                 "123456789012345678901234567890",
                                 "9007199254740993",
                                 "1.00000000000000011102230246251565404236316680908203125"})
            sameParse(text, false);
        for (const char* text : {"10", "FFFF", "1fffffffffffff", "20000000000001", "g", ""})
            sameParse(text, true);
    }

    void writesTheSame() {
        std::mt19937_64 random(1);
        for (int i = 0; i < 200000; ++i) {
            double value = std::bit_cast<double>(random() & 0x7FFF'FFFF'FFFF'FFFFull);
            if (i % 2) // the values the panel meets: short decimals of MHz and kHz
                value = static_cast<double>(random() % 100'000'000) / 1e4;
            if (!std::isfinite(value))
                continue;
            for (int precision : {15, 17})
                QCOMPARE(ScientificText(value, precision),
                         fallback::ScientificText(value, precision));
        }
    }
};

QTEST_GUILESS_MAIN(FloatCharsTest)
#include "FloatCharsTest.moc"
