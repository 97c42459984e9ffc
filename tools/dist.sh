#!/bin/sh
# Leaves every artifact of a release in OUT, with SHA256SUMS:
#   tools/dist.sh BUILD WEB_BUILD OUT [CROSS_BUILD...]
# the Debian package of this machine and of each cross build (make cross), the page as one
# file, the served site as a tar.gz for any static HTTPS host, and the source as git
# archive makes it. The page file, the site archive and the source archive are the same
# bytes for the same tree: fixed times (the last commit's, or SOURCE_DATE_EPOCH), sorted
# entries, one owner, no name or time in the gzip header.
set -eu
build=$1
web=$2
out=$3
shift 3
source=$(cd "$(dirname "$0")/.." && pwd)
version=$(cat "$build/version.txt")
git -C "$source" rev-parse --verify -q HEAD >/dev/null ||
    { echo "dist: the source archive is made by git archive: run it in a git checkout"; exit 1; }
[ -z "$(git -C "$source" status --porcelain --untracked-files=no)" ] ||
    echo "dist: the source archive holds the last commit, not the changes since" >&2
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct)}

rm -rf "$out"
mkdir -p "$out"
for packaged in "$build" "$@"; do
    [ -s "$packaged/CPackConfig.cmake" ] || { echo "dist: $packaged is not built"; exit 1; }
    cpack -G DEB --config "$packaged/CPackConfig.cmake" -B "$out/cpack" >/dev/null
    mv "$out"/cpack/owlet_"$version"_*.deb "$out"/
    rm -rf "$out/cpack"
done
cp "$web/owlet-$version.html" "$out/"
# The site: the files web/page/site-files.txt lists and the service worker, nothing else.
files=$( (cat "$source/web/page/site-files.txt"; echo sw.js) | sort | sed 's,^,site/,')
# shellcheck disable=SC2086 # one name a word: the list has no blanks
tar -C "$web" --sort=name --mtime="@$epoch" --owner=0 --group=0 --numeric-owner \
    --mode='u=rwX,go=rX' --transform "s,^site,owlet-web-$version," -cf - $files |
    gzip -9n >"$out/owlet-web-$version.tar.gz"
git -C "$source" archive --format=tar.gz --prefix="owlet-$version/" \
    -o "$out/owlet-$version.tar.gz" HEAD
cd "$out"
sha256sum -- owlet* >SHA256SUMS
