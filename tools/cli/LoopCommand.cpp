#include "tools/cli/LoopCommand.h"

#include "loop/LoopAnalysis.h"
#include "loop/LoopReport.h"
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

// The option of a field: its name in lower case, blanks as hyphens ("Step from": --step-from).
std::string optionOf(LoopField field) {
    std::string option = "--";
    for (const char c : std::string_view(LoopFieldName(field)))
        option += c == ' ' ? '-' : static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return option;
}

LoopRequest request(const CliOptions& o) {
    LoopRequest q;
    using Text = std::optional<std::string> CliOptions::*;
    const std::pair<Text, std::string LoopRequest::*> texts[] = {
        {&CliOptions::fref, &LoopRequest::fref},
        {&CliOptions::fout, &LoopRequest::fout},
        {&CliOptions::vdd, &LoopRequest::vdd},
        {&CliOptions::kvco, &LoopRequest::kvco},
        {&CliOptions::tuningVoltage, &LoopRequest::tuningVoltage},
        {&CliOptions::r1, &LoopRequest::r1},
        {&CliOptions::r2, &LoopRequest::r2},
        {&CliOptions::c2, &LoopRequest::c2},
        {&CliOptions::c1, &LoopRequest::c1},
        {&CliOptions::cc, &LoopRequest::cc},
        {&CliOptions::r3, &LoopRequest::r3},
        {&CliOptions::c3, &LoopRequest::c3},
        {&CliOptions::stepFrom, &LoopRequest::stepFrom},
        {&CliOptions::tolerance, &LoopRequest::tolerance},
        {&CliOptions::naturalFrequency, &LoopRequest::naturalFrequency},
        {&CliOptions::damping, &LoopRequest::damping},
    };
    for (const auto& [option, field] : texts)
        q.*field = (o.*option).value_or("");
    q.fcomp = o.fcomp;
    q.detector = o.pdSingle ? Detector::PdOut : Detector::PhiRPhiV;
    q.invertPd = o.invertPd;
    q.design = o.naturalFrequency.has_value();
    q.series = o.series == "E12" ? ESeries::E12 : ESeries::E24;
    return q;
}

QJsonValue orNull(const std::optional<double>& v) {
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

QJsonObject json(const LoopAnalysis& a) {
    const LoopSetting& s = a.setting;
    const LoopFigures& f = a.figures;
    const FilterParts& p = s.parts;
    QJsonObject loop{
        {"detector", s.detector == Detector::PdOut ? "pdout" : "phvphr"},
        {"kphi_v_per_rad", f.kphi},
        {"kvco_hz_per_v", s.kvcoHzPerV},
        {"n", s.n},
        {"fcomp_hz", s.fcompHz},
        {"filter", QJsonObject{{"r1_ohm", p.r1},
                               {"r2_ohm", p.r2},
                               {"c2_f", p.c2},
                               {"c1_f", p.c1},
                               {"cc_f", p.cc},
                               {"r3_ohm", p.r3},
                               {"c3_f", p.c3}}},
        {"natural_frequency_hz", f.naturalFrequencyHz},
        {"damping", f.damping},
        {"crossover_hz", f.crossoverHz},
        {"phase_margin_deg", f.phaseMarginDeg},
        {"bandwidth_hz", f.bandwidthHz},
        {"step_hz", s.stepHz},
        {"tolerance_hz", s.toleranceHz},
        {"lock_time_s", orNull(f.lockTimeS)},
        {"simulated_lock_time_s", orNull(a.simulation.lockTimeS)},
        {"spur_attenuation_db", f.spurAttenuationDb},
        {"locks", f.locks()},
    };
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
        std::fprintf(stderr, "owlet-cli: %s: %s\n", optionOf(problem.field).c_str(),
                     problem.need.c_str());
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
    std::size_t width = 0;
    const std::vector<FigureRow> rows = FigureRows(a);
    for (const FigureRow& row : rows)
        width = std::max(width, row.label.size());
    for (const FigureRow& row : rows)
        print(QString::fromStdString(row.label + std::string(width + 2 - row.label.size(), ' ') +
                                     row.value + "\n"));
    for (const std::string& w : a.warnings)
        print(QString::fromStdString("warning: " + w + "\n"));
    return 0;
}

} // namespace owlet::cli
