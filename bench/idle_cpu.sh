#!/usr/bin/env bash
# CPU that the program takes while it sits idle in the tray, over 60 s (or
# the seconds given), on a private test desktop.
#   bench/idle_cpu.sh path/to/tapewren [seconds]
set -euo pipefail
exe=${1:?usage: idle_cpu.sh path/to/tapewren [seconds]}
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
base=$(mktemp -d)
app=$base/app
mkdir -p "$app"
cp "$exe" "$app/tapewren"
trap '"$root/scripts/desktop.sh" stop "$base/desktop"; rm -rf "$base"' EXIT
"$root/scripts/desktop.sh" start "$base/desktop"
# shellcheck disable=SC1091
. "$base/desktop/env"
"$app/tapewren" >/dev/null 2>&1 &
pid=$!
sleep 12 # start-up and the start-up balloon's ten seconds
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
before=$(ticks)
sleep "$seconds"
after=$(ticks)
hz=$(getconf CLK_TCK)
kill -TERM "$pid"
wait "$pid" || true
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" \
  'BEGIN { printf "idle CPU over %d s: %.2f s (%.3f %% of one core)\n", s, t / hz, 100 * t / hz / s }'
