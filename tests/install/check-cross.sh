#!/bin/sh
# The package of another architecture, from its cross build (make cross), checked as the
# native one is and then run under qemu-user:
#   check-cross.sh NATIVE_BUILD CROSS_BUILD ARCH
# its owlet-cli gives this machine's answers for a table of settings (the registers byte
# for byte, the loop's figures to 12 digits); it
# drives its own owlet-module-sim over a pseudo-terminal; its panel opens its window on an
# X server of its own and answers --version.
set -eu
native=$1
cross=$2
arch=$3
here=$(cd "$(dirname "$0")" && pwd)
# Said, and a failure in CI; elsewhere a skip, so a machine without the cross tools still
# runs the rest.
unable() {
    echo "$1"
    [ -n "${CI:-}" ] && exit 1
    exit 77
}
[ -s "$cross/CPackConfig.cmake" ] || unable "no $arch build in $cross: make cross builds it"
qemu=qemu-$(dpkg-architecture -a "$arch" -qDEB_HOST_GNU_CPU 2>/dev/null)
command -v "$qemu" >/dev/null ||
    unable "$qemu is missing: this machine cannot run $arch programs (make cross installs qemu-user)"
work=$(mktemp -d)
sim=
trap '[ -z "$sim" ] || kill "$sim" 2>/dev/null; rm -rf "$work"' EXIT
root=$work/root
mkdir -m 700 "$work/run"
"$here/check-deb.sh" "$cross" "$qemu" "$root"
# The dependencies, computed from the architecture's own libraries, name this machine's.
names() { sed -n 's/^Depends: //p' "$1" | sed 's/ ([^)]*)//g'; }
cpack -G DEB --config "$native/CPackConfig.cmake" -B "$work/native" >/dev/null 2>&1
dpkg-deb -e "$work"/native/owlet_*.deb "$work/native/DEBIAN"
[ "$(names "$root/DEBIAN/control")" = "$(names "$work/native/DEBIAN/control")" ] ||
    { echo "Depends: $(names "$root/DEBIAN/control"), not as here"; exit 1; }
# The same words and exit status from both, errors included: the registers byte for byte
# (the exact arithmetic), the loop's figures to 12 digits (see same-json.mjs).
loop="--loop --fref 10 --fcomp 12.5 --fout 145.0125 --c2 1u"
cat >"$work/settings" <<EOF
--fref 10 --fout 145.01 --c --update --dry-run
--fref 12.8 --fcomp 12.5 --fout 144.8 --refout 2 --dry-run
--solve --fref 10 --fout 145.0125
--fref 10 --fcomp auto --fout 433.92 --dry-run
--fref 10 --fcomp 12.5 --sweep 144.5:144.55:0.0125 --update --dry-run
--fref 10 --fout 0.5 --dry-run
$loop --kvco 8 --r1 1k8 --r2 1k5
$loop --vco 141@2,149@3 --cc 10n --c3 1n --r3 10k --rails 0.5:4.5 --r1 1k8 --r2 1k5
$loop --pd-single --kvco 8 --natural-frequency 100 --damping 0.7 --series E24
$loop --kvco 8 --crossover 50 --phase-margin 50 --cc 1n
$loop --kvco 8 --ref-noise 100:-130,1k:-150 --vco-noise 1k:-70,100k:-120 --opamp-noise 10n --natural-frequency lowest-noise --damping 0.7
EOF
while read -r args; do
    native_exit=0; emulated_exit=0
    # shellcheck disable=SC2086 # the options split at blanks
    "$native/tools/owlet-cli" $args --json >"$work/here" 2>"$work/here-said" || native_exit=$?
    # shellcheck disable=SC2086
    "$qemu" "$root/usr/bin/owlet-cli" $args --json >"$work/there" 2>"$work/there-said" ||
        emulated_exit=$?
    same=true
    { [ $native_exit = $emulated_exit ] && cmp -s "$work/here-said" "$work/there-said"; } ||
        same=false
    case $args in
    --loop*) node "$here/same-json.mjs" "$work/here" "$work/there" 1e-12 || same=false ;;
    *) cmp -s "$work/here" "$work/there" || same=false ;;
    esac
    $same || { echo "owlet-cli $args: $arch (exit $emulated_exit) is not this machine (exit" \
        "$native_exit):"; diff "$work/here" "$work/there"; diff "$work/here-said" "$work/there-said"; exit 1; }
done <"$work/settings"

# owlet-cli and owlet-module-sim of the package, both emulated, over a pseudo-terminal.
"$qemu" "$root/usr/bin/owlet-module-sim" >"$work/sim" 2>&1 &
sim=$!
for _ in $(seq 100); do
    grep -q '^Module simulator on ' "$work/sim" && break
    sleep 0.1
done
device=$(sed -n 's/^Module simulator on //p' "$work/sim")
[ -n "$device" ] || { echo "owlet-module-sim did not start:"; cat "$work/sim"; exit 1; }
"$qemu" "$root/usr/bin/owlet-cli" --device "$device" --fref 10 --fout 145.01 --c --update \
    --expect-reply --wait 5 --json >"$work/sent"
replies='"replies": "OK R0190\r\nOK N16A8\r\nOK C23\r\nOK U\r\n",'
grep -qF "$replies" "$work/sent" || { echo "the module's replies are not $replies:"; cat "$work/sent"; exit 1; }

# The panel's window, found by its caption on the X server.
# shellcheck disable=SC2016 # expanded by the shell on the X server
"$here/../run-on-xvfb.sh" env HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" OWLET_COM1=/dev/null \
    sh -c '"$0" "$1/usr/bin/owlet" & panel=$!
        for _ in $(seq 150); do
            xwininfo -root -tree | grep -q "\"Quartzel      OWLET\"" && break
            sleep 0.2
        done
        xwininfo -root -tree | grep -q "\"Quartzel      OWLET\"" || { kill $panel; exit 1; }
        kill -TERM $panel; wait $panel' "$qemu" "$root" ||
    { echo "the $arch panel did not open its window"; exit 1; }
[ "$("$qemu" "$root/usr/bin/owlet" --version)" = "owlet $(cat "$native/version.txt")" ]
echo "$arch: the package holds every file, its programs give this machine's answers under $qemu"
