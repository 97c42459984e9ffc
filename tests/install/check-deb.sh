#!/bin/sh
# Builds the Debian package, checks it with lintian, unpacks it into a scratch root and
# checks its files, its computed dependencies and that owlet-cli runs from there:
#   check-deb.sh BUILD [EMULATOR [ROOT]]
# A cross build's package is run through EMULATOR (qemu-aarch64, say), and left unpacked in
# ROOT (its control file in ROOT/DEBIAN) for the caller's own checks.
set -eu
build=$1
emulator=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=${3:-$work/root}
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null
deb=$(ls "$work"/out/owlet_*_*.deb)
case $(basename "$deb") in owlet_[0-9]*_*.deb) ;; *) echo "odd package name: $deb"; exit 1 ;; esac
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb"
else
    echo "lintian is not installed: make deb installs it"; exit 1
fi
dpkg-deb -f "$deb" Depends | grep -q 'libqt6serialport6' || { echo "Depends lacks Qt Serial Port"; exit 1; }
dpkg-deb -R "$deb" "$root" # the files, and the control file in DEBIAN/
for f in usr/bin/owlet usr/bin/owlet-cli usr/bin/owlet-module-sim \
         usr/share/applications/net.quartzel.Owlet.desktop \
         usr/share/metainfo/net.quartzel.Owlet.metainfo.xml \
         usr/share/icons/hicolor/32x32/apps/owlet.png \
         usr/lib/udev/rules.d/99-owlet-usb-serial.rules \
         usr/share/man/man1/owlet.1.gz usr/share/man/man1/owlet-cli.1.gz \
         usr/share/man/man1/owlet-module-sim.1.gz \
         usr/share/doc/owlet/copyright usr/share/doc/owlet/changelog.gz; do
    [ -s "$root/$f" ] || { echo "missing from the package: /$f"; exit 1; }
done
# shellcheck disable=SC2086 # no emulator for this machine's own package
$emulator "$root/usr/bin/owlet-cli" --version | grep -q '^owlet-cli [0-9]'
grep -q 'GPL-3.0-or-later' "$root/usr/share/metainfo/net.quartzel.Owlet.metainfo.xml"
echo "package $(basename "$deb") holds every file; lintian finds no error"
