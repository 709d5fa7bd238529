#!/usr/bin/env bash
# What the program costs live, on a private test desktop, in one run:
#  - CPU of a 30 s take of "Monitor of Speakers" (44.1 kHz stereo, 128 kbps
#    CBR, stereo, LAME quality 5 as the program sets it) by the program, by
#    ffmpeg and by parec | lame, all three recording the same tone at the same
#    time, in rounds; the least of each over the rounds gives the ratios;
#  - the program's CPU and wake-ups while it sits idle in the tray;
#  - tray_bench: from the click to the first block, and an hour of simulated
#    input with the real tray icon (memory, stop to save dialog).
#   bench/live_bench.sh BUILD_DIR [rounds] [idle seconds] [hour speed]
set -euo pipefail
build=$(cd "${1:?usage: live_bench.sh BUILD_DIR [rounds] [idle seconds] [hour speed]}" && pwd)
rounds=${2:-3}
idle_seconds=${3:-60}
speed=${4:-30}
take_seconds=30
root=$(cd "$(dirname "$0")/.." && pwd)
base=$(mktemp -d)
stop_desktop() { "$root/scripts/desktop.sh" stop "$base/desktop"; rm -rf "$base"; }
trap stop_desktop EXIT
"$root/scripts/desktop.sh" start "$base/desktop"
"$root/scripts/desktop.sh" tone "$base/desktop"
# shellcheck disable=SC1091
. "$base/desktop/env"
exe=$build/tapewren
# shellcheck source=../tests/support/e2e.sh
. "$root/tests/support/e2e.sh"
trap 'for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done; rm -rf "$work"; stop_desktop' EXIT

# CPU in nanoseconds of every thread of a process, and how often its threads
# went to sleep and were woken.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d\n", s }'; }
wakeups() {
  cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ { s += $2 } END { print s + 0 }'
}
start_program() { # folder, settings lines: starts it, sets $pid
  install_copy "$1"
  printf '[Recorder]\n%s\n' "$2" >"$1/quillby.ini"
  start "$1"
  wait_for 100 tray_window || { echo "the program did not start:" >&2; cat "$work/program.log" >&2; exit 1; }
}
end_program() { # A signal with the save dialog open ends it without asking.
  kill -TERM "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

echo "== a ${take_seconds} s take, CPU seconds, side by side ($rounds rounds)"
printf '%-6s %10s %10s %14s %18s\n' round program ffmpeg "parec | lame" "program wake-ups/s"
: >"$base/rounds"
for round in $(seq "$rounds"); do
  start_program "$base/app$round" $'Channel=0\nVolume=100\nQuality=61\nStereo=1\nVBR=0\nPOPCount=9'
  sleep 2
  (
    TIMEFORMAT='%U %S'
    { time ffmpeg -nostdin -loglevel error -f pulse -sample_rate 44100 -channels 2 -i spk.monitor \
      -t "$take_seconds" -c:a libmp3lame -b:a 128k -joint_stereo 0 -compression_level 5 \
      -y "$base/ffmpeg.mp3"; } 2>"$base/ffmpeg.time"
  ) &
  ffmpeg_pid=$!
  (
    TIMEFORMAT='%U %S'
    { time timeout "$take_seconds" parec -d spk.monitor --rate=44100 --channels=2 --format=s16le |
      lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -m s -b 128 --cbr -q 5 - \
        "$base/lame.mp3"; } 2>"$base/lame.time"
  ) &
  lame_pid=$!
  c0=$(cpu_ns "$pid")
  w0=$(wakeups "$pid")
  xdotool key ctrl+alt+o # a hot key acts at once; a click waits out the double-click time
  sleep "$take_seconds"
  c1=$(cpu_ns "$pid")
  w1=$(wakeups "$pid")
  xdotool key ctrl+alt+o
  wait "$ffmpeg_pid" "$lame_pid" || true
  wait_for 50 not_recording || true
  end_program "$pid"
  program=$(awk -v a="$c0" -v b="$c1" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
  ffmpeg=$(awk '{ printf "%.3f", $1 + $2 }' "$base/ffmpeg.time")
  lame=$(awk '{ printf "%.3f", $1 + $2 }' "$base/lame.time")
  rate=$(awk -v a="$w0" -v b="$w1" -v s="$take_seconds" 'BEGIN { printf "%.1f", (b - a) / s }')
  printf '%-6s %10s %10s %14s %18s\n' "$round" "$program" "$ffmpeg" "$lame" "$rate"
  echo "$program $ffmpeg $lame" >>"$base/rounds"
  [ -s "$base/ffmpeg.mp3" ] && [ -s "$base/lame.mp3" ] || echo "a reference wrote nothing" >&2
done
awk 'NR == 1 || $1 < p { p = $1 } NR == 1 || $2 < f { f = $2 } NR == 1 || $3 < l { l = $3 }
  END {
    printf "least: program %.3f s, ffmpeg %.3f s, parec | lame %.3f s\n", p, f, l
    printf "ratio program / ffmpeg = %.3f (goal: at most 0.50)%s\n", p / f, p / f <= 0.5 ? "" : "  <-- above goal"
    printf "ratio program / (parec | lame) = %.3f (goal: at most 1.00)%s\n", p / l, p / l <= 1 ? "" : "  <-- above goal"
  }' "$base/rounds"

echo "== idle in the tray"
start_program "$base/idle" 'Channel=0'
sleep 12 # start-up and the start-up balloon's ten seconds
c0=$(cpu_ns "$pid")
w0=$(wakeups "$pid")
sleep "$idle_seconds"
c1=$(cpu_ns "$pid")
w1=$(wakeups "$pid")
end_program "$pid"
awk -v a="$c0" -v b="$c1" -v w=$((w1 - w0)) -v s="$idle_seconds" 'BEGIN {
  pct = 100 * (b - a) / 1e9 / s
  printf "idle CPU over %d s: %.4f s (%.4f %% of one core; goal: at most 0.05 %%)%s\n", s, (b - a) / 1e9, pct, pct <= 0.05 ? "" : "  <-- above goal"
  printf "idle wake-ups over %d s, all threads: %d\n", s, w
}'

echo "== click to first block, real sound server"
"$build/bench/tray_bench" first-block 10 2>>"$base/tray_bench.log"
echo "== one hour, simulated input, real tray icon"
"$build/bench/tray_bench" hour "$speed" 2>>"$base/tray_bench.log"
