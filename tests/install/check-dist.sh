#!/bin/sh
# Makes the release twice, from two fresh copies of the page's build with different file
# times, the page file built again in each: the page file and the two archives are the same
# bytes both times; SHA256SUMS agrees with checksums computed apart from it and lists a
# package for each cross build; every artifact and program tells the project's version.
#   check-dist.sh BUILD WEB_BUILD VERSION [CROSS_BUILD...]
set -eu
build=$1
web=$2
v=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Said, and a failure in CI; elsewhere a skip.
unable() {
    echo "$1"
    [ -n "${CI:-}" ] && exit 1
    exit 77
}
[ -s "$web/owlet-$v.html" ] || unable "the page is not built (make web)"
for cross in "$@"; do
    [ -s "$cross/CPackConfig.cmake" ] || unable "no cross build in $cross (make cross)"
done
source=$(cd "$(dirname "$0")/../.." && pwd)
for copy in a b; do
    mkdir -p "$work/web-$copy"
    cp -R "$web/site" "$work/web-$copy/site"
    case $copy in a) stamp=200101010000 ;; *) stamp=201111111111 ;; esac
    find "$work/web-$copy" -exec touch -t "$stamp" {} +
    node "$source/web/build/single.mjs" "$work/web-$copy/owlet-$v.html" "$work/web-$copy/site" \
        "$source/web/page/carried-core.js"
    "$source/tools/dist.sh" "$build" "$work/web-$copy" "$work/$copy" "$@" 2>/dev/null
done
# Each checksum computed again by another program than the one that wrote the list.
listed=$((4 + $#))
[ "$(wc -l <"$work/a/SHA256SUMS")" -eq $listed ] ||
    { echo "SHA256SUMS lists other than $listed files:"; cat "$work/a/SHA256SUMS"; exit 1; }
for cross in "$@"; do
    arch=$(sed -n 's/^set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE "\(.*\)")$/\1/p' "$cross/CPackConfig.cmake")
    grep -q "  owlet_${v}_$arch.deb\$" "$work/a/SHA256SUMS" ||
        { echo "SHA256SUMS lists no owlet_${v}_$arch.deb"; exit 1; }
done
while read -r sum name; do
    again=$(node -e 'const c = require("crypto"); process.stdout.write(c.createHash("sha256")
        .update(require("fs").readFileSync(process.argv[1])).digest("hex"))' "$work/a/$name")
    [ "$sum" = "$again" ] || { echo "SHA256SUMS is wrong for $name"; exit 1; }
done <"$work/a/SHA256SUMS"
for f in "owlet-$v.html" "owlet-web-$v.tar.gz" "owlet-$v.tar.gz"; do
    cmp "$work/a/$f" "$work/b/$f" || { echo "$f differs between two runs"; exit 1; }
done

fail() { echo "version: $1, not $v"; exit 1; }
deb=$work/a/owlet_${v}_$(dpkg --print-architecture).deb
[ -s "$deb" ] || fail "no $(basename "$deb")"
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
