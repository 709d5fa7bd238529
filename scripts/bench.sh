#!/usr/bin/env bash
# Builds and runs the benchmarks; each prints its cost ratios against
# libmp3lame measured side by side in the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" "$root/build/release"
for bench in encoder_bench recorder_bench; do
  echo "== $bench"
  "$root/build/release/bench/$bench" "$@" | grep -E '^(ratio|one-hour)|Benchmark|_min '
done
echo "== live take, idle tray, click to first block, an hour in the tray"
"$root/bench/live_bench.sh" "$root/build/release"
