#!/bin/sh
# Builds the Debian package, checks it with lintian, unpacks it into a scratch root and
# checks its files, its computed dependencies and that owlet-cli runs from there.
set -eu
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null
deb=$(ls "$work"/out/owlet_*_*.deb)
case $(basename "$deb") in owlet_[0-9]*_*.deb) ;; *) echo "odd package name: $deb"; exit 1 ;; esac
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb"
else
    echo "lintian is not installed: make deb installs it"; exit 1
fi
dpkg-deb -f "$deb" Depends | grep -q 'libqt6serialport6' || { echo "Depends lacks Qt Serial Port"; exit 1; }
dpkg-deb -x "$deb" "$work/root"
for f in usr/bin/owlet usr/bin/owlet-cli usr/bin/owlet-module-sim \
         usr/share/applications/net.quartzel.Owlet.desktop \
         usr/share/metainfo/net.quartzel.Owlet.metainfo.xml \
         usr/share/icons/hicolor/32x32/apps/owlet.png \
         usr/lib/udev/rules.d/99-owlet-usb-serial.rules \
         usr/share/man/man1/owlet.1.gz usr/share/man/man1/owlet-cli.1.gz \
         usr/share/man/man1/owlet-module-sim.1.gz \
         usr/share/doc/owlet/copyright usr/share/doc/owlet/changelog.gz; do
    [ -s "$work/root/$f" ] || { echo "missing from the package: /$f"; exit 1; }
done
"$work/root/usr/bin/owlet-cli" --version | grep -q '^owlet-cli [0-9]'
grep -q 'GPL-3.0-or-later' "$work/root/usr/share/metainfo/net.quartzel.Owlet.metainfo.xml"
echo "package $(basename "$deb") holds every file; lintian finds no error"
