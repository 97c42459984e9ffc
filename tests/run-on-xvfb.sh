#!/bin/sh
# Runs a test program on an X server of its own (Xvfb) with Qt's xcb platform, so the
# window meets a real X server's event path. Where no X server can start, the test is
# reported as skipped (exit 77), never as passed.
set -u
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIPPED: Xvfb is not installed (make test installs the Debian package xvfb)"
    exit 77
fi
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$dir/display" \
    >"$dir/log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null; rm -rf "$dir"' EXIT INT TERM
for _ in $(seq 100); do
    [ -s "$dir/display" ] && break
    kill -0 $server 2>/dev/null || break
    sleep 0.05
done
if [ ! -s "$dir/display" ]; then
    echo "SKIPPED: Xvfb did not start:"
    cat "$dir/log"
    exit 77
fi
DISPLAY=:$(cat "$dir/display") QT_QPA_PLATFORM=xcb "$@"
