#include "tools/cli/LoopCommand.h"

#include "loop/LoopAnalysis.h"
#include "loop/report/LoopReport.h"
#include "loop/report/Svg.h"
#include "tools/cli/CliReport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <string_view>
#include <utility>

namespace owlet::cli {
namespace {

using namespace owlet::loop;

LoopRequest request(const CliOptions& o) {
    LoopRequest q;
    q[LoopField::Fref] = o.fref.value_or("");
    q[LoopField::Fcomp] = o.fcomp;
    q[LoopField::Fout] = o.fout.value_or("");
    for (const LoopFieldRow& row : LoopFields())
        if (!IsPanelField(row.field))
            q[row.field] = o.loopText(row.field).value_or("");
    q.detector = o.pdSingle ? Detector::PdOut : Detector::PhiRPhiV;
    q.invertPd = o.invertPd;
    q.design = o.loopText(LoopField::NaturalFrequency) ? LoopRequest::Design::NaturalFrequency
               : o.loopText(LoopField::Crossover)      ? LoopRequest::Design::Crossover
                                                       : LoopRequest::Design::Typed;
    q.series = o.series == "E12" ? ESeries::E12 : ESeries::E24;
    return q;
}

QJsonValue orNull(const std::optional<double>& v) {
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

// "noise": the spot values by source (null for one not given), each resistor's four, and the
// integrated figures with their bands.
QJsonObject noiseJson(const NoiseFigures& n) {
    QJsonArray spots;
    QJsonObject resistors;
    for (std::size_t p = 0; p < n.parts.size(); ++p) {
        QJsonArray values;
        for (const NoiseSpot& spot : n.spots)
            values.append(spot.parts[p]);
        resistors[qt(n.parts[p])] = values;
    }
    for (const NoiseSpot& spot : n.spots)
        spots.append(QJsonObject{{"offset_hz", spot.offsetHz},
                                 {"total_dbc_hz", spot.totalDbcHz},
                                 {"reference_dbc_hz", orNull(spot.reference)},
                                 {"detector_dbc_hz", orNull(spot.detector)},
                                 {"vco_dbc_hz", orNull(spot.vco)},
                                 {"resistors_dbc_hz", orNull(spot.resistors)},
                                 {"opamp_dbc_hz", orNull(spot.opamp)}});
    return QJsonObject{{"spot", spots},
                       {"resistors", resistors},
                       {"integrated_phase_noise_deg", n.integratedDeg},
                       {"jitter_s", n.jitterS},
                       {"residual_fm_hz", n.residualFmHz},
                       {"band_hz", QJsonArray{n.band[0], n.band[1]}},
                       {"fm_band_hz", QJsonArray{n.fmBand[0], n.fmBand[1]}}};
}

QJsonObject json(const LoopAnalysis& a) {
    const LoopSetting& s = a.setting;
    const LoopFigures& f = a.figures;
    QJsonObject loop{
        {"detector", s.detector == Detector::PdOut ? "pdout" : "phvphr"},
        {"kphi_v_per_rad", f.kphi},
        {"n", s.n},
        {"fcomp_hz", s.fcompHz},
        {"natural_frequency_hz", f.naturalFrequencyHz},
        {"damping", f.damping},
        {"crossover_hz", f.crossoverHz},
        {"phase_margin_deg", f.phaseMarginDeg},
        {"detector_current_a", a.detectorCurrentA},
        {"start_voltage_v", s.startVoltage()},
        {"drive_v", QJsonArray{s.railLow, s.railHigh}},
        {"bandwidth_hz", f.bandwidthHz},
        {"step_hz", s.stepHz},
        {"lock_time_s", orNull(f.lockTimeS)},
        {"simulated_lock_time_s", orNull(a.simulation.lockTimeS)},
        {"spur_attenuation_db", f.spurAttenuationDb},
        {"locks", a.locks},
        {"why_not", a.locks ? QJsonValue(QJsonValue::Null) : QString::fromStdString(a.whyNot)},
        {"simulation_stopped", a.simulation.stop == SimulatedStep::Stop::Rail ? QJsonValue("rail")
                               : a.simulation.stop == SimulatedStep::Stop::NoSignal
                                   ? QJsonValue("no signal")
                               : a.simulationSkipped ? QJsonValue("not simulated")
                                                     : QJsonValue(QJsonValue::Null)},
    };
    loop["phase_margin_sampled_deg"] = f.phaseMarginSampledDeg;
    loop["noise"] = a.noise ? noiseJson(*a.noise) : QJsonValue(QJsonValue::Null);
    if (a.spurs) {
        QJsonArray spurs;
        for (std::size_t k = 0; k < 3; ++k)
            spurs.append(
                QJsonObject{{"offset_hz", a.spurs->offsetHz[k]}, {"dbc", a.spurs->dbc[k]}});
        loop["spurs"] = spurs;
    } else {
        loop["spurs"] = QJsonValue(QJsonValue::Null);
    }
    loop["lowest_noise_natural_frequency_hz"] = a.lowestNoise
                                                    ? QJsonValue(a.lowestNoise->naturalFrequencyHz)
                                                    : QJsonValue(QJsonValue::Null);
    // The inputs as read, under their keys of the table; the parts in "filter".
    QJsonObject filter;
    for (const LoopFieldRow& row : LoopFields())
        if (!row.jsonKey.empty())
            (IsPart(row.field) ? filter : loop)[qt(row.jsonKey)] = row.read(s);
    loop["filter"] = filter;
    if (a.design)
        loop["designed"] =
            QJsonObject{{"r1_ohm", a.design->r1Exact}, {"r2_ohm", a.design->r2Exact}};
    QJsonArray warnings;
    for (const std::string& w : a.warnings)
        warnings.append(QString::fromStdString(w));
    loop["warnings"] = warnings;
    return QJsonObject{{"loop", loop}};
}

} // namespace

int RunLoop(const CliOptions& o) {
    const LoopAnalysis a = AnalyseLoop(request(o));
    for (const InputProblem& problem : a.problems)
        std::fprintf(stderr, "owlet-cli: %s: %s\n",
                     std::string(RowOf(problem.field).option).c_str(), problem.need.c_str());
    if (!a.ok())
        return 2;
    if (o.svg) {
        QFile file(QString::fromStdString(*o.svg));
        const std::string svg = SvgDocument(LoopPlots(a));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(svg.data(), static_cast<qint64>(svg.size())) !=
                static_cast<qint64>(svg.size()) ||
            !file.flush()) {
            std::fprintf(stderr, "owlet-cli: --svg: cannot write %s: %s\n", o.svg->c_str(),
                         file.errorString().toLocal8Bit().constData());
            return 2;
        }
    }
    if (o.json) {
        print(QString::fromUtf8(QJsonDocument(json(a)).toJson(QJsonDocument::Indented)));
        return 0;
    }
    print(QString::fromStdString(FigureTable(FigureRows(a))));
    for (const std::string& w : a.warnings)
        print(QString::fromStdString("warning: " + w + "\n"));
    return 0;
}

} // namespace owlet::cli
