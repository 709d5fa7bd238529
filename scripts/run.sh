#!/usr/bin/env bash
# Builds and runs Tapewren. Without a desktop (no $DISPLAY) it starts the test
# desktop first: Xvfb with IceWM and a private PulseAudio daemon playing a
# 440 Hz tone, takes a screenshot after a few seconds, and stops it all when
# the program ends (Ctrl+C ends the program the way its Exit command does).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/release
# Only the program: the tests and benchmarks would take minutes more.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAPEWREN_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target tapewren

if [ -n "${DISPLAY:-}" ]; then
  exec "$build/tapewren" "$@"
fi

desktop=$root/build/run-desktop
trap '"$root/scripts/desktop.sh" stop "$desktop"' EXIT
"$root/scripts/desktop.sh" start "$desktop"
"$root/scripts/desktop.sh" tone "$desktop"
# shellcheck disable=SC1091
. "$desktop/env"
echo "Tapewren runs on the headless display $DISPLAY."
"$build/tapewren" "$@" &
program=$!
trap 'kill -TERM $program 2>/dev/null || true' INT TERM
sleep 3
import -window root "$desktop/screenshot.png" && echo "Screenshot: $desktop/screenshot.png"
echo "Look again at any time: DISPLAY=$DISPLAY import -window root shot.png"
echo "Stop with Ctrl+C."
wait "$program" || wait "$program" || true
