#!/bin/sh
# Makes the release twice: the checksums hold, the page file and the two archives are the
# same bytes both times, and every artifact and program tells the project's version.
set -eu
build=$1
web=$2
v=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ ! -s "$web/owlet-$v.html" ]; then
    echo "the page is not built (make web)"
    [ -n "${CI:-}" ] && exit 1
    exit 77
fi
dist=$(dirname "$0")/../../tools/dist.sh
"$dist" "$build" "$web" "$work/a" 2>/dev/null
"$dist" "$build" "$web" "$work/b" 2>/dev/null
(cd "$work/a" && sha256sum --quiet -c SHA256SUMS)
[ "$(wc -l <"$work/a/SHA256SUMS")" -eq 4 ] || { echo "SHA256SUMS lists other than 4 files"; exit 1; }
for f in "owlet-$v.html" "owlet-web-$v.tar.gz" "owlet-$v.tar.gz"; do
    cmp "$work/a/$f" "$work/b/$f" || { echo "$f differs between two runs"; exit 1; }
done

fail() { echo "version: $1, not $v"; exit 1; }
deb=$(ls "$work"/a/owlet_"$v"_*.deb) || fail "no owlet_${v}_<arch>.deb"
[ "$(dpkg-deb -f "$deb" Version)" = "$v" ] || fail "the package says $(dpkg-deb -f "$deb" Version)"
dpkg-deb -x "$deb" "$work/root"
for program in owlet owlet-cli owlet-module-sim; do
    said=$("$work/root/usr/bin/$program" --version)
    [ "$said" = "$program $v" ] || fail "$program --version says $said"
    header=$(zcat "$work/root/usr/share/man/man1/$program.1.gz" | head -1)
    case $header in *"\"owlet $v\""*) ;; *) fail "the man page of $program: $header" ;; esac
done
grep -q "<release version=\"$v\"" "$work/root/usr/share/metainfo/net.quartzel.Owlet.metainfo.xml" ||
    fail "the AppStream release entry"
zcat "$work/root/usr/share/doc/owlet/changelog.gz" | head -1 | grep -q "^owlet ($v)" ||
    fail "the changelog's last entry"
tar -tzf "$work/a/owlet-web-$v.tar.gz" | grep -qx "owlet-web-$v/index.html" || fail "the site archive"
# The source archive holds the last commit: its version is this one once the change is in.
if git -C "$(dirname "$0")" diff --quiet HEAD -- ../../CMakeLists.txt; then
    tar -xzOf "$work/a/owlet-$v.tar.gz" "owlet-$v/CMakeLists.txt" |
        grep -q "project(owlet VERSION $v " || fail "the source archive"
fi
echo "release $v: $(tr '\n' ' ' <"$work/a/SHA256SUMS" | sed 's/[0-9a-f]\{64\}  //g')checksums hold"
