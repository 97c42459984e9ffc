#include "tools/cli/CliOptions.h"

#include <map>

namespace owlet::cli {

namespace {

// The designer computes and sends nothing: it needs the plan, the VCO and either both
// resistors or the design's two figures.
void requireLoopOptions(const CliOptions& o) {
    using F = loop::LoopField;
    if (o.port || o.device || o.update || o.store || o.sweep)
        throw CliError("--loop: computes the loop and sends nothing; leave out --port, "
                       "--device, --update, --store and --sweep");
    if (!o.fref || !o.fout)
        throw CliError("--loop: needs --fref and --fout (and --fcomp unless it is 25 kHz)");
    if (o.fcomp == "auto")
        throw CliError("--loop: give --fcomp in kHz");
    const auto given = [&](F f) {
        return o.loopText(f).has_value();
    };
    if (!given(F::Kvco) && !given(F::VcoPoint1))
        throw CliError("--loop: needs --kvco, the VCO's gain in MHz/V, or --vco, two points "
                       "of it");
    if (!given(F::C2))
        throw CliError("--loop: needs --c2");
    // The resistors: typed, or one of the two designs, each a pair given whole.
    const std::pair<F, F> pairs[] = {
        {F::R1, F::R2}, {F::NaturalFrequency, F::Damping}, {F::Crossover, F::PhaseMargin}};
    int started = 0, whole = 0;
    for (const auto& [a, b] : pairs) {
        started += given(a) || given(b);
        whole += given(a) && given(b);
    }
    if (started != 1 || whole != 1)
        throw CliError("--loop: give one of --r1 and --r2, --natural-frequency and --damping, "
                       "or --crossover and --phase-margin to design them");
    if (o.series && given(F::R1))
        throw CliError("--series: goes with a design, not with --r1 and --r2");
    if (o.series && *o.series != "E12" && *o.series != "E24")
        throw CliError("--series: '" + *o.series + "' is neither E12 nor E24");
}

} // namespace

CliOptions parseOptions(const std::vector<std::string>& args) {
    CliOptions o;
    const std::map<std::string, bool CliOptions::*> flags{
        {"--pd-single", &CliOptions::pdSingle},
        {"--invert-pd", &CliOptions::invertPd},
        {"--no-lock-detect", &CliOptions::noLockDetect},
        {"--no-fv", &CliOptions::noFv},
        {"--no-fr", &CliOptions::noFr},
        {"--c", &CliOptions::c},
        {"--update", &CliOptions::update},
        {"--store", &CliOptions::store},
        {"--expect-reply", &CliOptions::expectReply},
        {"--solve", &CliOptions::solve},
        {"--allow-out-of-range", &CliOptions::allowOutOfRange},
        {"--dry-run", &CliOptions::dryRun},
        {"--list-ports", &CliOptions::listPorts},
        {"--json", &CliOptions::json},
        {"--help", &CliOptions::help},
        {"-h", &CliOptions::help},
        {"--version", &CliOptions::version},
        {"--loop", &CliOptions::loop},
    };
    const std::map<std::string, std::optional<std::string> CliOptions::*> values{
        {"--fref", &CliOptions::fref},     {"--fout", &CliOptions::fout},
        {"--refout", &CliOptions::refout}, {"--port", &CliOptions::port},
        {"--device", &CliOptions::device}, {"--sweep", &CliOptions::sweep},
        {"--series", &CliOptions::series}, {"--svg", &CliOptions::svg},
    };
    const std::map<std::string, std::string CliOptions::*> texts{
        {"--fcomp", &CliOptions::fcomp},
        {"--wait", &CliOptions::wait},
        {"--idle", &CliOptions::idle},
        {"--dwell", &CliOptions::dwell},
    };
    // The loop's own inputs, one option a row of its table.
    std::map<std::string, loop::LoopField> loopFields;
    for (const loop::LoopFieldRow& row : loop::LoopFields())
        if (!loop::IsPanelField(row.field))
            loopFields.emplace(row.option, row.field);
    std::optional<std::string> loopInput; // the first loop option given
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        if (const auto flag = flags.find(name); flag != flags.end() && !inlineValue) {
            o.*(flag->second) = true;
            continue;
        }
        const auto loopField = loopFields.find(name);
        if (!values.contains(name) && !texts.contains(name) && loopField == loopFields.end())
            throw CliError(name + ": unknown option (see --help)");
        // An option where the value should be means the value was left out (a negative
        // number, as a Kvco, is a value).
        if (!inlineValue && (i + 1 >= args.size() || args[i + 1].starts_with("--")))
            throw CliError(name + ": needs a value");
        const std::string value = inlineValue ? *inlineValue : args[++i];
        if (loopField != loopFields.end()) {
            // Rows that share an option take its parts, parted by commas, in order.
            auto f = static_cast<std::size_t>(loopField->second);
            std::string_view rest = value;
            for (;;) {
                const std::size_t comma = rest.find(',');
                const bool shared =
                    f + 1 < loop::LoopFieldCount && loop::LoopFields()[f + 1].option == name;
                if (!shared || comma == std::string_view::npos) {
                    o.loopTexts[f] = std::string(rest);
                    break;
                }
                o.loopTexts[f++] = std::string(rest.substr(0, comma));
                rest.remove_prefix(comma + 1);
            }
            for (++f; f < loop::LoopFieldCount && loop::LoopFields()[f].option == name; ++f)
                o.loopTexts[f] = ""; // a part left out: its field says it is missing
            loopInput = loopInput.value_or(name);
        } else if (texts.contains(name))
            o.*(texts.at(name)) = value;
        else
            o.*(values.at(name)) = value;
    }
    if (o.port && o.device)
        throw CliError("--port and --device: give one of them");
    if (o.solve && (o.port || o.device))
        throw CliError("--solve: prints the setting and sends nothing; --fcomp auto programs it");
    if (o.sweep && o.fout)
        throw CliError("--sweep and --fout: the sweep gives the output frequencies");
    if (o.loop)
        requireLoopOptions(o);
    else if (loopInput || o.svg || o.series)
        throw CliError(loopInput.value_or(o.svg ? "--svg" : "--series") + ": goes with --loop");
    if (o.sweep && o.store)
        throw CliError("--sweep and --store: storing at every step wears the module's EEPROM; "
                       "store once after the sweep");
    return o;
}

// The loop's inputs, a row of the table each: "  --kvco MHZ_PER_V    the VCO's gain, ...",
// wrapped at 88 columns under the help column.
std::string loopUsage() {
    constexpr std::size_t Column = 22, Room = 88 - Column;
    const std::string indent(Column, ' ');
    std::string lines;
    for (const loop::LoopFieldRow& row : loop::LoopFields()) {
        if (loop::IsPanelField(row.field) || row.help.empty())
            continue;
        std::string line = "  " + std::string(row.option) + " " + std::string(row.value);
        line += line.size() < Column ? std::string(Column - line.size(), ' ') : "\n" + indent;
        std::string_view rest = row.help;
        while (rest.size() > Room) {
            const std::size_t blank = rest.rfind(' ', Room);
            const bool atBlank = blank != std::string_view::npos && blank > 0;
            const std::size_t cut = atBlank ? blank : Room;
            line += std::string(rest.substr(0, cut)) + "\n" + indent;
            rest.remove_prefix(cut + (atBlank ? 1 : 0));
        }
        lines += line + std::string(rest) + "\n";
    }
    return lines;
}

std::string usage() {
    std::string text = R"(Usage: owlet-cli [OPTIONS]
Computes the MC145170 registers from frequencies, as the OWLET panel does, and sends them
to the synthesizer module when a port is given.

Frequencies (read as the panel reads its fields):
  --fref MHZ          reference frequency: compute and send R
  --fcomp KHZ|auto    comparison frequency (default 25); auto: the setting that
                      makes --fout exact from --fref (see --solve)
  --fout MHZ          output frequency: compute and send N (from the comparison
                      frequency that R really gives, when --fref is given too)
  --solve             with --fref and --fout: print the comparison frequency, R and N
                      that make the output exact within the chip's limits, send nothing
  --allow-out-of-range  send R and N the MC145170 cannot count with (R 0, 2-4 or
                      above 32767, N below 40), which are refused otherwise
Control byte C (sent when any of these is given):
  --c                 send C; alone it sends the start-up options (23)
  --pd-single         single-ended phase detector output PDout instead of PhV/PhR
  --invert-pd         invert the phase detector polarity
  --no-lock-detect    lock detect output off
  --no-fv             fV output off
  --no-fr             fR output off
  --refout INDEX|NAME REFout: 0-5 or "DC Static", "= OscIn", "OscIn /2", "OscIn /4",
                      "OscIn /8", "OscIn /16" (default none)
Module:
  --port N            port N: OWLET_COM<N> if set, else the N-th serial port
  --device PATH|URL   the serial device itself, or a port served over the network:
                      rfc2217://HOST:PORT or tcp://HOST:PORT (ser2net)
  --update            send U afterwards
  --store             send W (store to EEPROM) afterwards
  --wait SECONDS      collect the module's replies at most this long (default 1)
  --idle SECONDS      stop collecting once the module has been quiet this long after
                      the last line (default 0.2)
  --expect-reply      exit 3 when the module answers nothing within --wait
  --dry-run           compute and print, send nothing
  --list-ports        list the port numbers and their devices
Sweep:
  --sweep START:STOP:STEP  R once (with --fref), then N for each output frequency from
                      START to STOP MHz inclusive, each followed by U with --update;
                      every step is computed before anything is sent
  --dwell SECONDS     wait this long after each step (default 0)
Loop filter (--loop computes, sends nothing):
  --loop              the loop's figures for --fref, --fcomp and --fout, the phase
                      detector (--pd-single, --invert-pd) and the parts below
{LOOP}  --series E12|E24    the standard values designed R1 and R2 are taken to (default
                      E24). Values as 4k7, 2.2k, 1M8, 4n7, 100p, 1u or 1e-6, prefixes f
                      to T; an optional part left out or 0 is not fitted
  --svg FILE          write the open-loop and step plots as SVG, and with any noise
                      input the phase-noise plot
Output:
  --json              print one JSON object
  --help, --version

Exit status: 0 done (with --loop: the figures, also of a loop that does not lock),
1 the link failed, 2 bad input (nothing sent), 3 no reply,
130 stopped by Ctrl-C (after the line being sent, with the port closed).
)";
    text.replace(text.find("{LOOP}"), 6, loopUsage());
    return text;
}

} // namespace owlet::cli
