#!/bin/sh
# Installs into a staging folder and checks that every file is there and valid.
set -eu
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
for f in bin/owlet bin/owlet-cli bin/owlet-module-sim share/icons/hicolor/32x32/apps/owlet.png \
         share/applications/net.quartzel.Owlet.desktop share/metainfo/net.quartzel.Owlet.metainfo.xml; do
    [ -s "$stage/usr/$f" ] || { echo "missing: /usr/$f"; exit 1; }
done
[ -x "$stage/usr/bin/owlet" ] && [ -x "$stage/usr/bin/owlet-module-sim" ]
grep -q '^Categories=.*HamRadio' "$stage/usr/share/applications/net.quartzel.Owlet.desktop"
head -c 8 "$stage/usr/share/icons/hicolor/32x32/apps/owlet.png" | grep -q PNG
desktop-file-validate "$stage/usr/share/applications/net.quartzel.Owlet.desktop"
appstreamcli validate --no-net "$stage/usr/share/metainfo/net.quartzel.Owlet.metainfo.xml"
echo "install holds every file, valid"
