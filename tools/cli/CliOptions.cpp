#include "tools/cli/CliOptions.h"

#include <map>

namespace owlet::cli {

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
        {"--dry-run", &CliOptions::dryRun},
        {"--list-ports", &CliOptions::listPorts},
        {"--json", &CliOptions::json},
        {"--help", &CliOptions::help},
        {"-h", &CliOptions::help},
        {"--version", &CliOptions::version},
    };
    const std::map<std::string, std::optional<std::string> CliOptions::*> values{
        {"--fref", &CliOptions::fref},     {"--fout", &CliOptions::fout},
        {"--refout", &CliOptions::refout}, {"--port", &CliOptions::port},
        {"--device", &CliOptions::device},
    };
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
        const bool takesValue = values.contains(name) || name == "--fcomp" || name == "--wait";
        if (!takesValue)
            throw CliError(name + ": unknown option (see --help)");
        // An option where the value should be means the value was left out.
        if (!inlineValue && (i + 1 >= args.size() || args[i + 1].starts_with("--")))
            throw CliError(name + ": needs a value");
        const std::string value = inlineValue ? *inlineValue : args[++i];
        if (name == "--fcomp")
            o.fcomp = value;
        else if (name == "--wait")
            o.wait = value;
        else
            o.*(values.at(name)) = value;
    }
    if (o.port && o.device)
        throw CliError("--port and --device: give one of them");
    return o;
}

std::string usage() {
    return R"(Usage: owlet-cli [OPTIONS]
Computes the MC145170 registers from frequencies, as the OWLET panel does, and sends them
to the synthesizer module when a port is given.

Frequencies (read as the panel reads its fields):
  --fref MHZ          reference frequency: compute and send R
  --fcomp KHZ         comparison frequency (default 25)
  --fout MHZ          output frequency: compute and send N (from the comparison
                      frequency that R really gives, when --fref is given too)
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
  --device PATH       the serial device itself
  --update            send U afterwards
  --store             send W (store to EEPROM) afterwards
  --wait SECONDS      collect the module's replies this long (default 1)
  --expect-reply      exit 3 when the module answers nothing within --wait
  --dry-run           compute and print, send nothing
  --list-ports        list the port numbers and their devices
Output:
  --json              print one JSON object
  --help, --version

Exit status: 0 done, 1 the link failed, 2 bad input (nothing sent), 3 no reply.
)";
}

} // namespace owlet::cli
