#include "tools/cli/CliReport.h"

#include "math/ReadNumber.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace owlet::cli {

void print(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
}

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

namespace {

// A command line as printed: without its CR LF.
QString shown(const std::string& line) {
    return qt(line.substr(0, line.size() - 2));
}

QString stepText(const SweepStep& step, std::size_t index, std::size_t count) {
    QString text = QStringLiteral("step %1 of %2: %3 MHz, N = %4 (%5)")
                       .arg(index + 1)
                       .arg(count)
                       .arg(qt(step.foutText))
                       .arg(step.output.value)
                       .arg(shown(step.lines.front()).mid(1));
    if (step.output.errorHz != 0)
        text += QStringLiteral(", frequency error %1 Hz").arg(step.output.errorHz);
    return text;
}

QJsonObject solvedJson(const ExactSetting& s) {
    QJsonObject o{{"exact", s.exact()}, {"text", qt(ExactSettingText(s))}};
    if (s.kind != ExactSetting::Kind::None) {
        o["from_list"] = s.kind != ExactSetting::Kind::BelowLimit;
        o["fcomp_khz"] = qt(s.fcompText);
        o["R"] = s.r;
        o["N"] = s.n;
        o["frequency_error_hz"] = s.errorHz;
    }
    return o;
}

// The sweep step whose line the run failed on (counted from 1), or 0 for a line before
// the sweep or a port lost once every line had gone out.
std::size_t failedStep(const CliPlan& plan, const Outcome& outcome) {
    return !outcome.failedLine.empty() && !plan.sweep.empty() &&
                   outcome.sent.size() >= plan.lines.size()
               ? outcome.stepsDone + 1
               : 0;
}

// Every line went out; the port was lost while the replies were being collected.
constexpr auto LostCollecting = "lost while collecting the replies after the last line";

QString failureText(const CliPlan& plan, const Outcome& outcome) {
    if (outcome.failedLine.empty())
        return QString::fromLatin1(LostCollecting) + QStringLiteral(": ") +
               linkFailureKindName(outcome.failure->kind());
    QString text = QStringLiteral("failed at %1").arg(shown(outcome.failedLine));
    if (const std::size_t step = failedStep(plan, outcome))
        text += QStringLiteral(" (step %1 of %2, %3 MHz)")
                    .arg(step)
                    .arg(plan.sweep.size())
                    .arg(qt(plan.sweep[step - 1].foutText));
    return text + QStringLiteral(", not sent: ") + linkFailureKindName(outcome.failure->kind());
}

QJsonObject failureJson(const CliPlan& plan, const Outcome& outcome) {
    QJsonObject o{{"kind", QString::fromUtf8(linkFailureKindName(outcome.failure->kind()))},
                  {"message", QString::fromUtf8(outcome.failure->what())}};
    if (outcome.failedLine.empty())
        o["lost"] = QString::fromLatin1(LostCollecting);
    else
        o["line"] = shown(outcome.failedLine);
    if (const std::size_t step = failedStep(plan, outcome)) {
        o["step"] = static_cast<qint64>(step);
        o["fout_mhz"] = qt(plan.sweep[step - 1].foutText);
    }
    return o;
}

} // namespace

void report(const CliOptions& o, const CliPlan& plan, const Outcome& outcome, std::size_t steps) {
    const QString replies =
        QString::fromLatin1(outcome.replies.data(), static_cast<qsizetype>(outcome.replies.size()));
    if (o.json) {
        QJsonObject all;
        if (plan.solved)
            all["solved"] = solvedJson(*plan.solved);
        if (o.solve)
            return print(QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Indented)));
        QJsonObject registers;
        for (const RegisterValue& r : plan.registers)
            registers[QString(QChar(r.name))] = QJsonObject{{"value", r.value}, {"hex", qt(r.hex)}};
        all["registers"] = registers;
        if (plan.actualFcompText)
            all["actual_fcomp_khz"] = ReadNumber(*plan.actualFcompText);
        if (plan.errorHz)
            all["frequency_error_hz"] = *plan.errorHz;
        if (!plan.sweep.empty()) {
            QJsonArray sweep;
            for (const SweepStep& step : plan.sweep)
                sweep.append(QJsonObject{{"fout_mhz", qt(step.foutText)},
                                         {"N", step.output.value},
                                         {"frequency_error_hz", step.output.errorHz}});
            all["sweep"] = sweep;
            all["steps_sent"] = static_cast<qint64>(outcome.stepsDone);
        }
        QJsonArray sent;
        for (const std::string& line : outcome.sent)
            sent.append(shown(line));
        all["sent"] = sent;
        all["replies"] = replies;
        if (outcome.repliesDropped > 0)
            all["replies_dropped_bytes"] = static_cast<qint64>(outcome.repliesDropped);
        if (outcome.failure)
            all["failed"] = failureJson(plan, outcome);
        print(QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Indented)));
        return;
    }
    if (plan.solved)
        print(qt(ExactSettingText(*plan.solved)) + u'\n');
    for (const RegisterValue& r : plan.registers) {
        QString line =
            QStringLiteral("%1 = %2 (%3)").arg(QChar(r.name)).arg(r.value).arg(qt(r.hex));
        if (r.name == 'R' && plan.actualFcompText)
            line += QStringLiteral(", comparison frequency %1 kHz")
                        .arg(qt(*plan.actualFcompText).trimmed());
        if (r.name == 'N' && plan.errorHz && *plan.errorHz != 0)
            line += QStringLiteral(", frequency error %1 Hz").arg(*plan.errorHz);
        print(line + u'\n');
    }
    for (std::size_t i = 0; i < steps; ++i)
        print(stepText(plan.sweep[i], i, plan.sweep.size()) + u'\n');
    const std::size_t individual = std::min(outcome.sent.size(), plan.lines.size());
    for (std::size_t i = 0; i < individual; ++i)
        print(QStringLiteral("sent %1\n").arg(shown(outcome.sent[i])));
    if (!plan.sweep.empty() && (!outcome.sent.empty() || outcome.failure))
        print(
            QStringLiteral("sent %1 of %2 steps\n").arg(outcome.stepsDone).arg(plan.sweep.size()));
    if (outcome.failure)
        print(failureText(plan, outcome) + u'\n');
    if (outcome.repliesDropped > 0)
        print(QStringLiteral("(%1 bytes of earlier replies dropped: only the last MiB is kept)\n")
                  .arg(outcome.repliesDropped));
    if (!replies.isEmpty())
        print(QStringLiteral("reply %1\n")
                  .arg(replies.trimmed().replace(QStringLiteral("\r\n"),
                                                 QStringLiteral("\nreply "))));
}

} // namespace owlet::cli
