#include "loop/LoopAnalysis.h"
#include "loop/LoopDesigner.h"
#include "loop/input/PartValue.h"
#include "loop/input/ProfileRows.h"
#include "loop/noise/NoiseFigures.h"
#include "loop/numerics/LinearStep.h"
#include "loop/numerics/ModalSection.h"
#include "loop/numerics/OpenLoop.h"
#include "loop/report/LoopReport.h"
#include "loop/report/PlotDrawing.h"
#include "loop/report/UnitText.h"
#include "tests/support/Rows.h"

#include <QTest>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <set>
#include <tuple>
#include <vector>

using namespace owlet::loop;
using namespace owlet::test;
using cd = std::complex<double>;
constexpr double Pi = std::numbers::pi;

namespace {

// One loop of each form and each optional part, as typed; 10 MHz / 25 kHz / 145 MHz.
struct Case {
    const char* name;
    Detector detector;
    const char *r1, *r2, *c2, *c1, *cc, *r3, *c3;
};
constexpr Case Cases[] = {
    {"PDout core", Detector::PdOut, "18k", "3k3", "1u", "", "", "", ""},
    {"PDout C1", Detector::PdOut, "9k1", "3k3", "1u", "100n", "", "", ""},
    {"PDout C1 R3 C3", Detector::PdOut, "9k1", "3k3", "1u", "100n", "", "10k", "10n"},
    {"PDout C3 without R3", Detector::PdOut, "9k1", "3k3", "1u", "", "", "", "47n"},
    {"phi core", Detector::PhiRPhiV, "18k", "3k3", "1u", "", "", "", ""},
    {"phi Cc", Detector::PhiRPhiV, "18k", "3k3", "1u", "", "22n", "", ""},
    {"phi C1 Cc R3 C3", Detector::PhiRPhiV, "18k", "3k3", "1u", "100n", "22n", "4k7", "22n"},
    // R1 Cc / 4 = R3 C3: two sections with one time constant
    {"phi equal poles", Detector::PhiRPhiV, "20k", "3k3", "1u", "", "2n", "10k", "1n"},
};

LoopRequest request(const Case& c) {
    using F = LoopField;
    LoopRequest q;
    q[F::Fref] = "10";
    q[F::Fcomp] = "25";
    q[F::Fout] = "145";
    q[F::Kvco] = "8";
    q.detector = c.detector;
    q[F::R1] = c.r1, q[F::R2] = c.r2, q[F::C2] = c.c2, q[F::C1] = c.c1, q[F::Cc] = c.cc;
    q[F::R3] = c.r3, q[F::C3] = c.c3;
    q[F::StepFrom] = "144.999";
    return q;
}

cd parallel(cd a, cd b) {
    return a * b / (a + b);
}

// The filter's transfer written out from the drawing, apart from the core's nodal solver.
cd drawnTransfer(const FilterParts& p, Detector d, double w) {
    const cd s(0.0, w);
    const auto cap = [&](double c) {
        return c > 0.0 ? 1.0 / (s * c) : cd(INFINITY);
    };
    cd z = p.r2 + 1.0 / (s * p.c2);
    if (p.c1 > 0.0)
        z = parallel(z, cap(p.c1));
    const cd section3 = p.r3 > 0.0 && p.c3 > 0.0 ? 1.0 / (1.0 + s * p.r3 * p.c3) : 1.0;
    if (d == Detector::PdOut) {
        if (p.r3 > 0.0 && p.c3 > 0.0)
            z = parallel(z, p.r3 + cap(p.c3));
        else if (p.c3 > 0.0)
            z = parallel(z, cap(p.c3));
        return z * section3 / p.r1;
    }
    return z / (p.r1 * (1.0 + s * p.r1 * p.cc / 4.0)) * section3;
}

// The last moment a second-order type-2 loop is farther than `tol` of `step` away:
// e(t) = exp(-zeta wn t) (cos wd t - zeta wn / wd sin wd t), cosh and sinh when
// overdamped, sampled finely.
double secondOrderLockTime(double wn, double zeta, double step, double tol) {
    const double wd = wn * std::sqrt(std::abs(1.0 - zeta * zeta));
    double last = 0.0;
    for (double t = 0.0; t < 40.0 / (zeta * wn); t += 1e-4 / wn) {
        const double decay = std::exp(-zeta * wn * t);
        const double e = zeta < 1.0
                             ? decay * (std::cos(wd * t) - zeta * wn / wd * std::sin(wd * t))
                             : decay * (std::cosh(wd * t) - zeta * wn / wd * std::sinh(wd * t));
        if (std::abs(e * step) > tol)
            last = t;
    }
    return last;
}

void verifyFinite(const LoopAnalysis& a) {
    const LoopFigures& f = a.figures;
    for (const double v : {f.kphi, f.naturalFrequencyHz, f.damping, f.crossoverHz, f.phaseMarginDeg,
                           f.bandwidthHz, f.spurAttenuationDb})
        QVERIFY(std::isfinite(v));
    for (const FigureRow& row : FigureRows(a))
        QVERIFY2(row.value.find("nan") == std::string::npos, row.value.c_str());
}

// A request from the 10 MHz / 25 kHz / 145 MHz plan and the fields given.
LoopRequest requestOf(Detector d, std::initializer_list<std::pair<LoopField, const char*>> fields,
                      bool invert = false) {
    LoopRequest q;
    q[LoopField::Fref] = "10", q[LoopField::Fcomp] = "25", q[LoopField::Fout] = "145";
    q.detector = d;
    q.invertPd = invert;
    for (const auto& [f, text] : fields)
        q[f] = text;
    return q;
}

// The state and the voltage's integral after t by the Taylor series of the appended system,
// in long double: a model of its own, against the section's two ways of solving it.
std::pair<std::vector<long double>, long double>
seriesSolution(const Network::StateSpace& ss, double u, std::vector<double> x, double t) {
    const int n = ss.n;
    std::vector<long double> w(static_cast<std::size_t>(n + 2)), term(w.size());
    for (int i = 0; i < n; ++i)
        w[i] = x[static_cast<std::size_t>(i)];
    w[n] = 1.0L;
    term = w;
    std::vector<long double> sum = w;
    for (int k = 1; k < 80; ++k) {
        std::vector<long double> next(w.size());
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j)
                next[i] += static_cast<long double>(ss.a(i, j)) * term[j];
            next[i] += static_cast<long double>(ss.b[i]) * u * term[n];
            next[n + 1] += static_cast<long double>(ss.c[i]) * term[i];
        }
        next[n + 1] += static_cast<long double>(ss.d) * u * term[n];
        for (auto& e : next)
            e *= static_cast<long double>(t) / k;
        term = next;
        for (std::size_t i = 0; i < sum.size(); ++i)
            sum[i] += term[i];
    }
    return {std::vector<long double>(sum.begin(), sum.begin() + n), sum[n + 1]};
}

// A loop that earns a warning: its fields beyond the plan and PDout or phiR/phiV.
struct WarningCase {
    const char* said;
    bool locks;
    Detector detector;
    std::initializer_list<std::pair<LoopField, const char*>> fields;
    bool invert = false;
    LoopRequest request() const { return requestOf(detector, fields, invert); }
};
using F = LoopField;
constexpr auto Pd = Detector::PdOut, Phi = Detector::PhiRPhiV;
const WarningCase WarningCases[] = {
    {"tick Invert PD",
     false,
     Phi,
     {{F::Kvco, "-8"}, {F::R1, "18k"}, {F::R2, "3k3"}, {F::C2, "1u"}}},
    {"clear Invert PD",
     false,
     Phi,
     {{F::Kvco, "8"}, {F::R1, "18k"}, {F::R2, "3k3"}, {F::C2, "1u"}},
     true},
    {"The Cc pole at 31.8 Hz, below the 79.1 Hz crossover",
     false,
     Phi,
     {{F::Kvco, "8"}, {F::R1, "20k"}, {F::R2, "3k3"}, {F::C2, "1u"}, {F::Cc, "1u"}}},
    {"R2's zero gives only 10",
     true,
     Phi,
     {{F::Kvco, "8"}, {F::R1, "20k"}, {F::R2, "300"}, {F::C2, "1u"}}},
    {"leaving 20.8",
     false,
     Phi,
     {{F::Fcomp, "12.5"},
      {F::Fout, "145.0125"},
      {F::Kvco, "8"},
      {F::R1, "220"},
      {F::R2, "1k1"},
      {F::C2, "100n"}}},
    {"drives up to 22.7 mA",
     false,
     Phi,
     {{F::Fcomp, "12.5"},
      {F::Fout, "145.0125"},
      {F::Kvco, "8"},
      {F::R1, "220"},
      {F::R2, "1k1"},
      {F::C2, "100n"}}},
    {"needed 27.5 V, and the op-amp's output reaches 0 to 5 V (each detector pulse",
     false,
     Phi,
     {{F::Fcomp, "12.5"},
      {F::Fout, "145.0125"},
      {F::Kvco, "8"},
      {F::R1, "220"},
      {F::R2, "1k1"},
      {F::C2, "100n"}}},
    {"Without C1", true, Pd, {{F::Kvco, "8"}, {F::R1, "18k"}, {F::R2, "3k3"}, {F::C2, "1u"}}},
    {"far from VDD / 2",
     true,
     Pd,
     {{F::Kvco, "8"},
      {F::R1, "18k"},
      {F::R2, "3k3"},
      {F::C2, "1u"},
      {F::C1, "100n"},
      {F::TuningVoltage, "4.5"},
      {F::StepFrom, "145.025"}}},
    {"R3 without C3",
     true,
     Pd,
     {{F::Kvco, "8"},
      {F::R1, "18k"},
      {F::R2, "3k3"},
      {F::C2, "1u"},
      {F::C1, "100n"},
      {F::R3, "1k"}}},
    {"C3 without R3 sits straight across C1's node",
     true,
     Pd,
     {{F::Kvco, "8"},
      {F::R1, "18k"},
      {F::R2, "3k3"},
      {F::C2, "1u"},
      {F::C1, "100n"},
      {F::C3, "1n"}}},
    {"C3 without R3 sits on the op-amp's output",
     true,
     Phi,
     {{F::Kvco, "8"}, {F::R1, "18k"}, {F::R2, "3k3"}, {F::C2, "1u"}, {F::C3, "1n"}}},
    {"The VCO needs 9 V for 145 MHz; PDout reaches 0 to 5 V",
     false,
     Pd,
     {{F::VcoPoint1, "100@0"},
      {F::VcoPoint2, "105@1"},
      {F::R1, "18k"},
      {F::R2, "3k3"},
      {F::C2, "1u"},
      {F::C1, "100n"}}},
    {"The VCO needs -3.13 V for 100 MHz, where the step starts",
     false,
     Pd,
     {{F::Kvco, "8"},
      {F::R1, "18k"},
      {F::R2, "3k3"},
      {F::C2, "1u"},
      {F::C1, "100n"},
      {F::StepFrom, "100"}}},
    {"R1 is 18 m\xCE\xA9 as typed ('18m')",
     false,
     Phi,
     {{F::Kvco, "8"}, {F::R1, "18m"}, {F::R2, "3k3"}, {F::C2, "1u"}}},
    {"frequency fell to 0",
     false,
     Phi,
     {{F::Kvco, "100"}, {F::Rails, "-100:100"}, {F::R1, "18k"}, {F::R2, "3k3"}, {F::C2, "1u"}},
     true},
    {"did not lock within",
     true,
     Pd,
     {{F::Kvco, "8"},
      {F::R1, "18k"},
      {F::R2, "3k3"},
      {F::C2, "1u"},
      {F::C1, "100n"},
      {F::Tolerance, "0.001"}}},
    {"its most, before the loop settled",
     true,
     Phi,
     {{F::Kvco, "8"}, {F::R1, "18k"}, {F::R2, "3"}, {F::C2, "1u"}}},
};

} // namespace

class LoopTest : public QObject {
    Q_OBJECT

private slots:
    void partValues_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value"); // NAN: refused
        const std::pair<const char*, double> rows[] = {{"4k7", 4700.0},
                                                       {"2.2k", 2200.0},
                                                       {"1M8", 1.8e6},
                                                       {"4n7", 4.7e-9},
                                                       {"100p", 1e-10},
                                                       {"1u", 1e-6},
                                                       {"1\xC2\xB5", 1e-6},
                                                       {"1e-6", 1e-6},
                                                       {"4R7", 4.7},
                                                       {"10 k\xCE\xA9", 1e4},
                                                       {"4.7nF", 4.7e-9},
                                                       {"-1k", -1000.0},
                                                       {"", NAN},
                                                       {"4k7x", NAN},
                                                       {"4.7k7", NAN},
                                                       {"k", NAN},
                                                       {"1e999", NAN},
                                                       {"1T", 1e12},
                                                       {"1fF", 1e-15},
                                                       {"4f7", 4.7e-15},
                                                       {"1 m\xCE\xA9", 1e-3},
                                                       {"2G2", 2.2e9}};
        for (const auto& [text, value] : rows)
            QTest::newRow(text) << QString::fromUtf8(text) << value;
    }
    void partValues() {
        QFETCH(QString, text);
        QFETCH(double, value);
        const auto read = ReadPartValue(text.toStdString());
        QCOMPARE(read.has_value(), !std::isnan(value));
        if (read)
            QCOMPARE(*read, value);
    }

    // The core's transfer, figures and lock time against the network written out by hand
    // and, for the core alone, against the second-order closed forms.
    void figures_data() { addRows(Cases); }
    void figures() {
        const LoopAnalysis a = AnalyseLoop(request(currentRow(Cases)));
        QVERIFY(a.ok());
        verifyFinite(a);
        const LoopSetting& s = a.setting;
        const double k = (s.detector == Detector::PdOut ? 5.0 / (4 * Pi) : 5.0 / (2 * Pi)) * 2 *
                         Pi * 8e6 / 5800.0;
        const OpenLoop g(s);
        for (const double hz : {3.0, 100.0, 1e3, 25e3}) {
            const double w = 2 * Pi * hz;
            const cd expected = k * drawnTransfer(s.parts, s.detector, w) / cd(0.0, w);
            QVERIFY2(std::abs(g.gain(w) / expected - 1.0) < 1e-9, qPrintable(QString::number(hz)));
        }
        const double wc = 2 * Pi * a.figures.crossoverHz;
        QVERIFY(std::abs(std::abs(g.gain(wc)) - 1.0) < 1e-9);
        QCOMPARE(a.figures.phaseMarginDeg, 180.0 + std::arg(g.gain(wc)) * 180.0 / Pi);
        // What the optional parts take off at Fcomp, positive: from the drawn network.
        const double wf = 2 * Pi * 25e3;
        const double spur =
            20 * std::log10(std::abs(drawnTransfer(s.parts.core(), s.detector, wf)) /
                            std::abs(drawnTransfer(s.parts, s.detector, wf)));
        QVERIFY(std::abs(a.figures.spurAttenuationDb - spur) < 1e-9);
        QCOMPARE(a.figures.spurAttenuationDb > 0.0, s.parts.hasOptionalParts());
        // The phase plotted is continuous, down to -360 degrees with four lags.
        const std::vector<Plot> plots = LoopPlots(a); // kept: the points are read below
        const auto& phase = plots[1].series[0].points;
        for (std::size_t i = 1; i < phase.size(); ++i)
            QVERIFY(std::abs(phase[i][1] - phase[i - 1][1]) < 10.0 && phase[i][1] > -360.0);
        if (s.parts.hasOptionalParts())
            return;
        const double wn = std::sqrt(k / (s.parts.r1 * s.parts.c2)),
                     zeta = wn * s.parts.r2 * s.parts.c2 / 2;
        QCOMPARE(a.figures.naturalFrequencyHz, wn / (2 * Pi));
        const double x = wn * wn * (2 * zeta * zeta + std::sqrt(4 * std::pow(zeta, 4) + 1));
        QVERIFY(std::abs(wc / std::sqrt(x) - 1.0) < 1e-9);
        QVERIFY(std::abs(a.figures.phaseMarginDeg -
                         std::atan(std::sqrt(x) * 2 * zeta / wn) * 180.0 / Pi) < 1e-6);
        const double b = 2 * zeta * zeta + 1;
        QVERIFY(
            std::abs(a.figures.bandwidthHz * 2 * Pi / (wn * std::sqrt(b + std::sqrt(b * b + 1))) -
                     1.0) < 1e-9);
        const double lock = secondOrderLockTime(wn, zeta, 1000.0, 10.0);
        QVERIFY2(std::abs(*a.figures.lockTimeS / lock - 1.0) < 1e-3,
                 qPrintable(QStringLiteral("%1 against %2").arg(*a.figures.lockTimeS).arg(lock)));
    }

    // Designed values give back the natural frequency and damping asked for; the standard
    // values are the nearest on a logarithmic scale.
    void designRoundTrip() {
        for (const Detector d : {Detector::PdOut, Detector::PhiRPhiV}) {
            LoopRequest q = request(Cases[0]);
            q.detector = d;
            q.design = LoopRequest::Design::NaturalFrequency;
            q[LoopField::NaturalFrequency] = "137";
            q[LoopField::Damping] = "0.83";
            const LoopAnalysis a = AnalyseLoop(q);
            QVERIFY(a.ok());
            LoopSetting exact = a.setting;
            exact.parts.r1 = a.design->r1Exact;
            exact.parts.r2 = a.design->r2Exact;
            const LoopFigures f = ComputeFigures(exact);
            QVERIFY(std::abs(f.naturalFrequencyHz / 137.0 - 1.0) < 1e-12);
            QVERIFY(std::abs(f.damping / 0.83 - 1.0) < 1e-12);
            QCOMPARE(a.setting.parts.r1, NearestStandard(a.design->r1Exact, ESeries::E24));
        }
        // For a crossover and margin, with every optional part of each form fitted.
        for (const Case& c : {Cases[2], Cases[7]}) {
            LoopRequest q = request(c);
            q.design = LoopRequest::Design::Crossover;
            q[LoopField::Crossover] = "150";
            q[LoopField::PhaseMargin] = "45";
            const LoopAnalysis a = AnalyseLoop(q);
            QVERIFY2(a.ok(), c.name);
            LoopSetting exact = a.setting;
            exact.parts.r1 = a.design->r1Exact;
            exact.parts.r2 = a.design->r2Exact;
            const LoopFigures f = ComputeFigures(exact);
            QVERIFY2(std::abs(f.crossoverHz / 150.0 - 1.0) < 1e-9, c.name);
            QVERIFY2(std::abs(f.phaseMarginDeg - 45.0) < 1e-7, c.name);
        }
        const std::tuple<double, ESeries, double> nearest[] = {
            {4600, ESeries::E12, 4700},  {4400, ESeries::E24, 4300},
            {9.6, ESeries::E12, 10},     {9.0e-9, ESeries::E12, 8.2e-9},
            {1.04e6, ESeries::E24, 1e6}, {1.05e6, ESeries::E24, 1.1e6},
            {1.16, ESeries::E24, 1.2}};
        for (const auto& [value, series, expected] : nearest)
            QCOMPARE(NearestStandard(value, series), expected);
    }

    // A small step: the real detector settles as the linear loop does, within 2 %; a step
    // of 19 MHz (from near the drive's low end) slips cycles and pulls in slower.
    void simulationAgainstLinear_data() {
        QTest::addColumn<int>("detector");
        QTest::newRow("PDout") << int(Detector::PdOut);
        QTest::newRow("phiR/phiV") << int(Detector::PhiRPhiV);
    }
    void simulationAgainstLinear() {
        QFETCH(int, detector);
        LoopRequest q = request(Cases[0]);
        q.detector = Detector(detector);
        q[LoopField::C1] = q.detector == Detector::PdOut ? "100n" : "";
        q.design = LoopRequest::Design::NaturalFrequency;
        q[LoopField::NaturalFrequency] = "100";
        q[LoopField::Damping] = "1";
        const LoopAnalysis small = AnalyseLoop(q);
        QVERIFY(small.simulation.lockTimeS && small.figures.lockTimeS);
        const double ratio = *small.simulation.lockTimeS / *small.figures.lockTimeS;
        QVERIFY2(std::abs(ratio - 1.0) < 0.02, qPrintable(QString::number(ratio)));
        q[LoopField::StepFrom] = "126";
        const LoopAnalysis large = AnalyseLoop(q);
        QVERIFY(large.simulation.lockTimeS);
        QVERIFY(*large.simulation.lockTimeS > 1.5 * *large.figures.lockTimeS);
    }

    // The first cycle worked by hand: C2 so large the loop barely moves, R2 small. The VCO
    // runs at the old channel until fR's edge at 1/Fcomp; the up pulse then adds
    // Kvco VDD (R2/R1 + t/(R1 C2)) until the N-th cycle, a quadratic in t.
    void firstCycleByHand() {
        LoopRequest q = request(Cases[4]);
        q[LoopField::R1] = "10k";
        q[LoopField::R2] = "10";
        q[LoopField::C2] = "1";
        const LoopAnalysis a = AnalyseLoop(q);
        QVERIFY(a.ok() && !a.simulation.cycles.empty());
        const double fOld = 145e6 - 1000, n = 5800, fc = 25e3, k = 8e6 * 5.0;
        const double left = n - fOld / fc; // cycles still to go at fR's edge
        // k/(2 R1 C2) t^2 + (fOld + k R2/R1) t - left = 0, its root in the stable form
        const double qa = k / (2 * 1e4 * 1.0), qb = fOld + k * 10 / 1e4;
        const double t = 2 * left / (qb + std::sqrt(qb * qb + 4 * qa * left));
        QVERIFY(std::abs(a.simulation.cycles[0].timeS - (1 / fc + t)) < 1e-15);
        QVERIFY(std::abs(a.simulation.cycles[0].offsetHz - (n / (1 / fc + t) - 145e6)) < 1e-6);
    }

    // Kvco's sign against Invert PD: the wrong one is told and the simulated VCO runs away.
    void polarity() {
        for (const int form : {0, 4})
            for (const bool negative : {false, true})
                for (const bool invert : {false, true}) {
                    LoopRequest q = request(Cases[form]);
                    q[LoopField::Kvco] = negative ? "-8" : "8";
                    q.invertPd = invert;
                    const LoopAnalysis a = AnalyseLoop(q);
                    const bool right = negative == invert;
                    QCOMPARE(a.figures.locks(), right);
                    QCOMPARE(a.simulation.lockTimeS.has_value(), right);
                    QCOMPARE(a.warnings.empty() ||
                                 a.warnings.front().find("Invert PD") == std::string::npos,
                             right);
                    if (!right) // away from the channel, not toward it
                        QVERIFY(std::abs(a.simulation.cycles.back().offsetHz) > 1000.0);
                }
    }

    // No input makes a NaN, a crash or a hang: random parts over twelve decades.
    void anyPartsGiveFiniteFigures() {
        std::mt19937 random(7);
        std::uniform_real_distribution<double> decade(-1.0, 1.0);
        for (int i = 0; i < 200; ++i) {
            LoopRequest q = request(Cases[i % std::size(Cases)]);
            const auto value = [&](double typical) {
                return std::to_string(typical * std::pow(10.0, 6 * decade(random)));
            };
            q[LoopField::R1] = value(1e4), q[LoopField::R2] = value(1e3),
            q[LoopField::C2] = value(1e-7), q[LoopField::Kvco] = value(10);
            if (i % 3 == 0)
                q[LoopField::C1] = value(1e-8), q[LoopField::R3] = value(1e4),
                q[LoopField::C3] = value(1e-9);
            const LoopAnalysis a = AnalyseLoop(q);
            if (a.ok())
                verifyFinite(a);
            else
                QVERIFY(!a.problems.front().need.empty());
        }
    }

    // A stretch between edges, where two sections' time constants meet, lie a millionth
    // apart, a thousandth, and far apart: the section's answer against the series.
    void sectionsAgainstTheSeries() {
        for (const char* cc : {"2n", "2.000002n", "2.002n", "2.2n", "20n"}) {
            FilterParts p{20e3, 3300, 1e-6, 0.0, *ReadPartValue(cc), 10e3, 1e-9};
            const Network::StateSpace ss = Network(Detector::PhiRPhiV, p, Drive::Source).reduce();
            const ModalSection m(ss, 5.0);
            std::vector<double> x0{0.3, 2.0, 2.6, 2.4};
            Vector x(ss.n);
            for (int i = 0; i < ss.n; ++i)
                x[i] = x0[static_cast<std::size_t>(i)];
            for (const double t : {1e-6, 7e-6, 40e-6}) {
                const auto [state, integral] = seriesSolution(ss, 5.0, x0, t);
                const Vector y = m.toState(m.advance(m.toModal(x), t));
                for (int i = 0; i < ss.n; ++i)
                    QVERIFY2(std::abs(y[i] - static_cast<double>(
                                                 state[static_cast<std::size_t>(i)])) < 1e-9,
                             cc);
                QVERIFY2(std::abs(m.voltageIntegral(m.toModal(x), t) -
                                  static_cast<double>(integral)) < 1e-9 * t,
                         cc);
            }
        }
    }

    // Each source against what it must come to where the loop leaves it alone, one resistor
    // against its hand-worked transfer, the integrals of a flat density against their closed
    // forms, and a small leakage's spurs against the linear estimate.
    void noiseAgainstClosedForms() {
        LoopSetting s = AnalyseLoop(request(Cases[1])).setting; // PDout with C1
        NoiseSetting n;
        n.reference = NoiseProfile({{1.0, -150.0}});
        n.vco = NoiseProfile({{1e3, -70.0}, {1e4, -95.0}, {1e5, -118.0}});
        const PhaseNoise noise(s, n);
        const double gain = 20 * std::log10(145.0 / 10.0); // N / R
        QVERIFY(std::abs(DbcHz(noise.at(0.1).reference) - (-150.0 + gain)) < 0.05);
        QVERIFY(std::abs(DbcHz(noise.at(1e6).vco) - (-141.0)) < 0.05);
        // R2's noise voltage drives the loop R2, C2, C1: C1's share at the tuning node.
        const FilterParts& p = s.parts;
        const double k = 5.0 / (4 * Pi) * 2 * Pi * 8e6 / 5800.0;
        for (const double f : {100.0, 1e3, 1e4}) {
            const cd jw(0.0, 2 * Pi * f);
            const cd t = (1.0 / (jw * p.c1)) / (p.r2 + 1.0 / (jw * p.c1) + 1.0 / (jw * p.c2));
            const cd g = k * drawnTransfer(p, s.detector, 2 * Pi * f) / jw;
            const double expected = std::pow(8e6 / f, 2) * std::norm(1.0 / (1.0 + g)) *
                                    std::norm(t) * 4 * 1.380649e-23 * 300 * p.r2;
            QVERIFY2(std::abs(noise.at(f).parts[0] / expected - 1.0) < 1e-9,
                     qPrintable(QString::number(f)));
        }
        // Deep inside the loop the reference alone, flat: sigma^2 = S (f2 - f1), and the FM's
        // integral S (f2^3 - f1^3) / 3.
        NoiseSetting flat;
        flat.reference = NoiseProfile({{1.0, -150.0}});
        flat.temperatureK = 1e-12;
        const PhaseNoise inBand(s, flat);
        const double sPhi = 2e-15 * std::pow(145.0 / 10.0, 2);
        QVERIFY(std::abs(inBand.integral(0.1, 1.0, 0) / (sPhi * 0.9) - 1.0) < 1e-3);
        QVERIFY(std::abs(inBand.integral(0.1, 1.0, 2) / (sPhi * (1.0 - 1e-3) / 3) - 1.0) < 1e-3);
        // 1 nA from the tuning node: each period a pulse returns I T; its harmonics, 2 I each,
        // through the node's impedance: beta_k = Kvco 2 I |Z| / (k Fcomp).
        s.leakageA = 1e-9;
        const std::optional<Spurs> spurs = ComputeSpurs(s, 4000);
        QVERIFY(spurs && spurs->settled);
        for (int harmonic = 1; harmonic <= 3; ++harmonic) {
            const double w = 2 * Pi * 25e3 * harmonic;
            const double z = std::abs(drawnTransfer(p, s.detector, w)) * p.r1;
            const double estimate = 20 * std::log10(8e6 * 1e-9 * z / (harmonic * 25e3));
            QVERIFY2(
                std::abs(spurs->dbc[harmonic - 1] - estimate) < 0.2,
                qPrintable(
                    QStringLiteral("%1 against %2").arg(spurs->dbc[harmonic - 1]).arg(estimate)));
        }
    }

    // A profile's table: the text in rows and back, a pasted line turned into rows, and the
    // bad row named, the others left alone.
    void profileTables() {
        using Rows = std::vector<ProfileRow>;
        const std::tuple<const char*, Rows, const char*, std::vector<std::string>> cases[] = {
            {"", {}, "", {}},
            {" 100 : -130 ,1k:-150",
             {{"100", "-130"}, {"1k", "-150"}},
             "100:-130,1k:-150",
             {"", ""}},
            {"100:-130,,1k", // a row left empty is skipped, a half row is not
             {{"100", "-130"}, {"", ""}, {"1k", ""}},
             "100:-130,1k:",
             {"", "", "Row 3 (1k, ) is not a point as offset:dBc/Hz"}},
            {"1k:-150,100:-130,10k:-160",
             {{"1k", "-150"}, {"100", "-130"}, {"10k", "-160"}},
             "1k:-150,100:-130,10k:-160",
             {"", "Row 2 (100, -130) comes after a higher offset", ""}},
            {"0:-130,1k:5",
             {{"0", "-130"}, {"1k", "5"}},
             "0:-130,1k:5",
             {"Row 1 (0, -130) is out of range", "Row 2 (1k, 5) is out of range"}},
        };
        for (const auto& [text, rows, joined, problems] : cases) {
            QCOMPARE(SplitProfile(text), rows);
            QCOMPARE(JoinProfile(rows), std::string(joined));
            QCOMPARE(ProfileRowProblems(rows), problems);
        }
        // A line pasted into either cell of a row becomes its rows, in place.
        const Rows pasted{{"10", "-100"}, {"", "100:-130,1k:-150"}, {"100k", "-170"}};
        const Rows expanded{{"10", "-100"}, {"100", "-130"}, {"1k", "-150"}, {"100k", "-170"}};
        QCOMPARE(ExpandProfileRows(pasted), expanded);
        QCOMPARE(ExpandProfileRows({{"100", "-130,"}}), (Rows{{"100", "-130"}, {"", ""}}));
        QCOMPARE(ExpandProfileRows({{"1k:", ""}}), (Rows{{"1k", ""}}));
        LoopDesigner d;
        QVERIFY(d.setProfileRows(LoopField::RefNoise, pasted));
        QCOMPARE(d.profileRows(LoopField::RefNoise), expanded);
        QCOMPARE(d.text(LoopField::RefNoise), "10:-100,100:-130,1k:-150,100k:-170");
        QVERIFY(!d.setProfileRows(LoopField::RefNoise, expanded));
    }

    // The designer with noise: the op-amp's inputs have no use with PDout and are left out
    // (not refused); "Lowest noise" fills the natural frequency, R1 and R2, and no natural
    // frequency nearby gives less integrated noise without a warning.
    void designerNoise() {
        LoopDesigner d;
        d.followPanel({"10", "25", "145", false, false});
        d.setTexts({{LoopField::Kvco, "8"},
                    {LoopField::R1, "18k"},
                    {LoopField::R2, "3k3"},
                    {LoopField::C2, "1u"},
                    {LoopField::C1, "100n"},
                    {LoopField::VcoNoise, "1k:-70,10k:-95,100k:-118"},
                    {LoopField::RefNoise, "100:-130,1k:-150"},
                    {LoopField::OpampNoise, "10n"}});
        QVERIFY(d.applies(LoopField::OpampNoise));
        d.followPanel({"10", "25", "145", true, false});
        QVERIFY(!d.applies(LoopField::OpampNoise) && d.applies(LoopField::Leakage));
        QVERIFY2(d.problemLine().empty(), d.problemLine().c_str());
        const std::vector<LoopField> changed = d.lowestNoise();
        QCOMPARE(changed.size(), 3u);
        QVERIFY(d.analysis().ok() && d.analysis().noise);
        d.finishSimulation();
        QCOMPARE(d.warnings(), std::vector<std::string>{});
        const double lowest = d.analysis().noise->integratedDeg;
        const double fn = std::stod(d.text(LoopField::NaturalFrequency));
        for (const double factor : {0.8, 1.25}) {
            d.setText(LoopField::NaturalFrequency, std::to_string(fn * factor));
            d.design();
            d.finishSimulation();
            // Less noise only where the designer would warn (crossover, margin, current).
            QVERIFY2(d.analysis().noise->integratedDeg >= lowest * 0.98 || !d.warnings().empty(),
                     qPrintable(QString::number(fn * factor)));
        }
    }

    // The phase-noise plot: each source's line told apart by its dashes or width, not only
    // its colour; the description names the leader at every spot offset.
    void noisePlotLines() {
        LoopRequest q = request(Cases[4]); // the op-amp's form
        q[LoopField::RefNoise] = "100:-130,1k:-150";
        q[LoopField::VcoNoise] = "1k:-70,10k:-95";
        q[LoopField::Floor] = "-212";
        q[LoopField::OpampNoise] = "10n";
        const LoopAnalysis a = AnalyseLoop(q);
        QVERIFY(a.ok() && a.noise);
        const std::vector<Plot> plots = LoopPlots(a);
        const Drawing d = DrawPlots({plots.back()});
        std::set<std::pair<std::vector<double>, double>> looks;
        std::size_t lines = 0;
        for (const Shape& shape : d.groups[0].shapes)
            if (shape.kind == Shape::Kind::Path && shape.points.size() > 100) {
                ++lines;
                looks.insert({shape.dashes, shape.width});
            }
        QCOMPARE(lines, 6u); // reference, detector, VCO, resistors, op-amp, total
        QCOMPARE(looks.size(), lines);
        for (const char* offset : {"at 100 Hz", "at 1 kHz", "at 10 kHz", "at 100 kHz"})
            QVERIFY(d.groups[0].summary.find(offset) != std::string::npos);
    }

    // Numbers as every view writes them.
    void unitTexts() {
        const std::tuple<double, const char*, int, const char*> rows[] = {
            {4700, "\xCE\xA9", 3, "4.7 k\xCE\xA9"},
            {1.5e-9, "F", 3, "1.5 nF"},
            {0, "Hz", 3, "0 Hz"},
            {999.96, "Hz", 3, "1 kHz"},
            {-0.0123, "s", 3, "-12.3 ms"},
            {145.0125e6, "Hz", 10, "145.0125 MHz"},
            {2.5e15, "\xCE\xA9", 3, "2500 T\xCE\xA9"},
            {1e-18, "F", 3, "0.001 fF"},
            {NAN, "V", 3, "-"},
            {1e-3, "A", 2, "1 mA"}};
        for (const auto& [value, unit, digits, text] : rows)
            QCOMPARE(QString::fromStdString(EngineeringText(value, unit, digits)),
                     QString::fromUtf8(text));
        QCOMPARE(FixedText(52.25, 1), "52.3");
        QCOMPARE(FixedText(-0.04, 1), "0.0");
        QCOMPARE(FixedText(-3.125, 2), "-3.13");
    }

    // Every warning the designer gives, each from a loop that earns it.
    void warnings_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(WarningCases)); ++i)
            QTest::newRow(WarningCases[i].said) << i;
    }
    void warnings() {
        QFETCH(int, row);
        const WarningCase& c = WarningCases[row];
        const LoopAnalysis a = AnalyseLoop(c.request());
        QVERIFY(a.ok());
        std::string all;
        for (const std::string& w : a.warnings)
            all += w + "\n";
        QVERIFY2(all.find(c.said) != std::string::npos, all.c_str());
        QCOMPARE(a.locks, c.locks);
        if (!a.locks) // a no is never without its reason
            QVERIFY(!a.whyNot.empty() && !a.warnings.empty());
    }

    // Every field's fault is named, all at once, and nothing is computed.
    void badInput() {
        LoopRequest q = request(Cases[0]);
        q[LoopField::R1] = "0", q[LoopField::C1] = "-1n", q[LoopField::Vdd] = "6",
        q[LoopField::Kvco] = "0", q[LoopField::Cc] = "1n", q[LoopField::TuningVoltage] = "5";
        q[LoopField::Fcomp] = "1";
        const LoopAnalysis a = AnalyseLoop(q);
        QList<LoopField> named;
        for (const InputProblem& p : a.problems)
            named << p.field;
        QCOMPARE(named, (QList<LoopField>{LoopField::Fout, LoopField::Vdd, LoopField::Kvco,
                                          LoopField::TuningVoltage, LoopField::R1, LoopField::C1,
                                          LoopField::Cc}));
    }
};

QTEST_APPLESS_MAIN(LoopTest)
#include "LoopTest.moc"
