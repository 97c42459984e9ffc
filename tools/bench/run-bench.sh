#!/usr/bin/env bash
# Start-up time, resident memory and reply cost of the panel, each as a ratio against a
# yardstick, as the median of several runs. Runs on an X server (make bench starts Xvfb)
# and writes the figures to BENCHMARKS.md.
set -euo pipefail
build=${1:-build}
runs=${RUNS:-11}
bench=$build/tools/bench

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
verdict() { awk -v r="$1" -v t="$2" 'BEGIN { print (r <= t) ? "met" : "MISSED" }'; }

declare -A ms kib
for name in bare text owlet; do ms[$name]=""; kib[$name]=""; done
for ((i = 0; i < runs; i++)); do # interleaved, so drift hits all three alike
    for name in bare text owlet; do
        case $name in
        bare) cmd=("$bench/owlet-bench-minimal") ;;
        text) cmd=("$bench/owlet-bench-minimal" --text) ;;
        owlet) cmd=("$build/app/owlet") ;;
        esac
        read -r t m < <("$bench/owlet-bench-mapwait" "${cmd[@]}" 2>/dev/null)
        ms[$name]+="$t"$'\n'
        kib[$name]+="$m"$'\n'
    done
done
for name in bare text owlet; do
    ms[$name]=$(printf '%s' "${ms[$name]}" | median)
    kib[$name]=$(printf '%s' "${kib[$name]}" | median)
done

empty="" full="" oneline="" network=""
for ((i = 0; i < 5; i++)); do
    empty+="$("$bench/owlet-bench-replies" empty 2>/dev/null)"$'\n'
    full+="$("$bench/owlet-bench-replies" full 2>/dev/null)"$'\n'
    oneline+="$("$bench/owlet-bench-replies" oneline 2>/dev/null)"$'\n'
    network+="$("$bench/owlet-bench-replies" network 2>/dev/null)"$'\n'
done
empty=$(printf '%s' "$empty" | median)
full=$(printf '%s' "$full" | median)
oneline=$(printf '%s' "$oneline" | median)
network=$(printf '%s' "$network" | median)

# The panel and owlet-cli under an endless stream from the far end.
declare -A stall growth
for mode in serial tcp rfc2217; do
    read -r stall[$mode] growth[$mode] _ < <("$bench/owlet-bench-flood" "$mode" 2>/dev/null)
done
read -r cliover clirss < <("$bench/owlet-bench-flood" cli "$build/tools/owlet-cli")
worststall=$(printf '%s\n' "${stall[@]}" | sort -g | tail -1)
worstgrowth=$(printf '%s\n' "${growth[@]}" | sort -g | tail -1)

# The web page in headless Chromium.
read -r webgzip webready webstatic webfull webempty onegzip oneready onestatic \
    < <(node tools/bench/web-bench.mjs)
onereadyratio=$(ratio "$oneready" "$onestatic")
onekb=$(awk -v b="$onegzip" 'BEGIN { printf "%.1f", b / 1000 }')
webreadyratio=$(ratio "$webready" "$webstatic")
webreplies=$(ratio "$webfull" "$webempty")
webkb=$(awk -v b="$webgzip" 'BEGIN { printf "%.1f", b / 1000 }')

# What the loop designer's module weighs: as the served page fetches it, and as the one file
# carries it (gzip inside base64) against plain base64.
loopwasm="${OWLET_WEB_BUILD:-build-web}/site/owlet-loop.wasm"
loopraw=$(( $(wc -c < "$loopwasm") / 1000 ))
loopgz=$(( $(gzip -9c "$loopwasm" | wc -c) / 1000 ))
loopb64=$(( $(base64 -w0 "$loopwasm" | gzip -9 | wc -c) / 1000 ))
loopcarried=$(( $(gzip -9c "$loopwasm" | base64 -w0 | gzip -9 | wc -c) / 1000 ))

# The loop designer after one edit, natively and as WebAssembly under node.
read -r loopms loopsim loopfirst loopworst loopnoise _ < <("$bench/owlet-bench-loop")
read -r wloopms wloopsim wloopfirst wloopworst wloopnoise _ < \
    <(node "${OWLET_WEB_BUILD:-build-web}/bench/owlet-bench-loop.cjs")
windowms=$("$bench/owlet-bench-loop-window" 2>/dev/null)
worstloop=$(printf '%s\n' "$loopms" "$wloopms" "$windowms" "$loopfirst" "$wloopfirst" "$loopnoise" \
    "$wloopnoise" | sort -g | tail -1)

# owlet-cli against the module simulator on a pseudo-terminal, and the exact-setting search.
read -r exactus _ < <("$bench/owlet-bench-exact")
simout=$(mktemp)
"$build/tools/owlet-module-sim" >"$simout" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null; rm -f "$simout"' EXIT
for _ in $(seq 50); do [ -s "$simout" ] && break; sleep 0.1; done
device=$(head -1 "$simout" | awk '{ print $4 }')
now() { date +%s%N; }
calls=""
for ((i = 0; i < 5; i++)); do
    t0=$(now)
    "$build/tools/owlet-cli" --device "$device" --fref 10 --fout 145.01 --c --update >/dev/null
    calls+="$(( ($(now) - t0) / 1000000 ))"$'\n'
done
call=$(printf '%s' "$calls" | median)
t0=$(now)
"$build/tools/owlet-cli" --device "$device" --fref 10 --sweep 140:140.24999:0.000025 --dwell 0 >/dev/null
sweepms=$(( ($(now) - t0) / 1000000 ))
perstep=$(awk -v t="$sweepms" 'BEGIN { printf "%.3f", t / 10000 }')

startup=$(ratio "${ms[owlet]}" "${ms[text]}")
memory=$(ratio "${kib[owlet]}" "${kib[text]}")
replies=$(ratio "$full" "$empty")
longline=$(ratio "$oneline" "$empty")
overnet=$(ratio "$network" "$empty")
cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')
qt=$(pkg-config --modversion Qt6Core 2>/dev/null || echo 6)

report=$(cat <<REPORT
# Benchmarks

Measured $(date -u +%Y-%m-%d) on $(uname -m), $cpu, $(nproc) cores, Qt $qt, Xvfb; medians of
$runs start-ups and of 5 reply runs (\`make bench\`).

| figure | OWLET | yardstick | ratio | target | |
|---|---|---|---|---|---|
| start-up: process start to window mapped | ${ms[owlet]} ms | ${ms[text]} ms | $startup | ≤ 1.10 | $(verdict "$startup" 1.10) |
| resident memory once up | ${kib[owlet]} KiB | ${kib[text]} KiB | $memory | ≤ 1.10 | $(verdict "$memory" 1.10) |
| CPU for 200 replies, box holding 512 KB vs empty | $full ms | $empty ms | $replies | < 1.5 | $(verdict "$replies" 1.499) |
| CPU for 200 replies, box holding 1 MiB in one line without CR LF vs empty | $oneline ms | $empty ms | $longline | < 1.5 | $(verdict "$longline" 1.499) |
| CPU for 200 replies through ser2net (RFC 2217) vs a local pseudo-terminal | $network ms | $empty ms | $overnet | < 1.5 | $(verdict "$overnet" 1.499) |

| figure | measured | target | |
|---|---|---|---|
| exact-setting search, median over 10,000 random pairs up to 2 GHz at 1 Hz | $exactus µs | < 50 µs | $(verdict "$exactus" 49.999) |
| owlet-cli programming R, N, C and U against the simulator, median of 5 calls | $call ms | ≤ 400 ms | $(verdict "$call" 400) |
| owlet-cli sweep of 10,000 steps with --dwell 0 against the simulator | $sweepms ms, $perstep ms a step | < 1 ms a step | $(verdict "$perstep" 0.999) |
| longest the window does not answer under an endless stream (serial, tcp://, rfc2217://) | ${stall[serial]}, ${stall[tcp]}, ${stall[rfc2217]} ms | < 100 ms | $(verdict "$worststall" 99) |
| panel memory growth from 4 s to 10 s of that stream (serial, tcp://, rfc2217://) | ${growth[serial]}, ${growth[tcp]}, ${growth[rfc2217]} KiB | < 4096 KiB | $(verdict "$worstgrowth" 4095) |
| owlet-cli --wait 1 under the stream on tcp://: end past the wait, peak memory | $cliover ms, $clirss KiB | ≤ 500 ms, < 64 MiB | $(verdict "$(( cliover <= 500 && clirss < 65536 ? 0 : 1 ))" 0) |
| the web page: everything it loads, gzip-compressed | $webkb KB | ≤ 200 KB | $(verdict "$webkb" 200) |
| the web page: navigation to the panel ready, against a static page with one line of text (medians of 11) | $webready ms against $webstatic ms: $webreadyratio | ≤ 1.5 | $(verdict "$webreadyratio" 1.5) |
| the web page: main-thread time for 200 replies, box holding 1 MiB in one line vs empty (medians of 5) | $webfull ms against $webempty ms: $webreplies | < 1.5 | $(verdict "$webreplies" 1.499) |
| loop designer: every figure, both plots (data and SVG) and the detector's simulation after one edit, median of 101, native | $loopms ms (the simulation alone $loopsim ms) | ≤ 16 ms | $(verdict "$loopms" 16) |
| the same in WebAssembly (node) | $wloopms ms (the simulation alone $wloopsim ms) | ≤ 16 ms | $(verdict "$wloopms" 16) |
| the same edit with the noise of every source (reference, VCO, floor, resistors, op-amp) and two leakages: spot values, integrated noise, jitter, residual FM, the phase-noise plot and the spurs' steady state, native and WebAssembly | $loopnoise ms, $wloopnoise ms | ≤ 16 ms | $(verdict "$(printf '%s\n' "$loopnoise" "$wloopnoise" | sort -g | tail -1)" 16) |
| the Loop filter window: one key in R2 to the figures and plots painted, median of 51 | $windowms ms | ≤ 16 ms | $(verdict "$windowms" 16) |
| loop designer, the worst loop (200,000 cycles, every stretch by the exact exponential): the first frame, everything but the simulation, native and WebAssembly | $loopfirst ms, $wloopfirst ms | ≤ 16 ms | $(verdict "$(printf '%s\n' "$loopfirst" "$wloopfirst" | sort -g | tail -1)" 16) |
| the same loop's whole simulation, run after the first frame in pieces of 8 ms between events, native and WebAssembly | $loopworst ms, $wloopworst ms | (no key waits for it) | - |
| the page as one file, gzip-compressed | $onekb KB | ≤ 200 KB | $(verdict "$onekb" 200) |
| the page as one file opened from disk: navigation to the panel ready, against a static one-line file from disk (medians of 11) | $oneready ms against $onestatic ms: $onereadyratio | ≤ 2.5 | $(verdict "$onereadyratio" 2.5) |

The start-up yardstick is the minimal Qt 6 Widgets window showing one line of text
(\`owlet-bench-minimal --text\`). The same window without any text, which never starts the
font system, maps in ${ms[bare]} ms with ${kib[bare]} KiB; against it OWLET's ratios are
$(ratio "${ms[owlet]}" "${ms[bare]}") and $(ratio "${kib[owlet]}" "${kib[bare]}"). The difference is
fontconfig and FreeType, which any window with a caption pays for.

The web page's load is measured in a fresh profile each time, so nothing is cached. For
scale, measured by hand in the same way on 2026-12-08 (medians of 9): the static page 80.7
ms; with a style sheet and one module script that does nothing 112.3 ms (1.39); with the
core's WebAssembly instantiated and nothing drawn 159.4 ms (1.97); the panel 222.0 ms (2.75).

The loop designer's module is ${loopraw} KB of WebAssembly, ${loopgz} KB gzip-compressed as the
served page fetches it, only when its section is first opened. Base64 hides its repeats from
the one file's own compression (${loopb64} KB there), so the one file carries it
gzip-compressed inside the base64 and the browser's DecompressionStream inflates it: ${loopcarried} KB.
Where its bytes go (2026-12-09, the functions' sizes read from a build with
\`--profiling-funcs\`): of about 159 KB of code, the C and C++ libraries take 44 KB (printf's
core for the figures' fixed decimals 5.5 KB and the 128-bit float helpers it brings 5.3 KB,
the trigonometry's argument reduction 3.2 KB, pow, exp, log10 and the sort), the panel's
number parsing and texts it shares with the core 16 KB, and the loop itself about 100 KB:
the designer's answer (the figure rows, plots and drawings inlined into one 14 KB function),
the analysis of one request (12.5 KB with its readers inlined), the noise through the
network, the simulation, the schematic and the exports; 27 KB are data, mostly the messages,
the fields' table and the help. Nothing of it is loaded before the section opens.
REPORT
)
printf '%s\n' "$report" | tee BENCHMARKS.md
printf 'ratios: start-up %s, memory %s, replies %s, one long line %s\n' "$startup" "$memory" "$replies" "$longline"
[ "$(verdict "$startup" 1.10)$(verdict "$memory" 1.10)$(verdict "$replies" 1.499)$(verdict "$longline" 1.499)$(verdict "$overnet" 1.499)" = metmetmetmetmet ] &&
[ "$(verdict "$exactus" 49.999)$(verdict "$call" 400)$(verdict "$perstep" 0.999)" = metmetmet ] &&
[ "$(verdict "$webkb" 200)$(verdict "$webreadyratio" 1.5)$(verdict "$webreplies" 1.499)" = metmetmet ] &&
[ "$(verdict "$onekb" 200)$(verdict "$onereadyratio" 2.5)$(verdict "$worstloop" 16)" = metmetmet ] &&
[ "$(verdict "$worststall" 99)$(verdict "$worstgrowth" 4095)$(verdict "$(( cliover <= 500 && clirss < 65536 ? 0 : 1 ))" 0)" = metmetmet ]
