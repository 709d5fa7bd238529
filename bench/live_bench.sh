#!/usr/bin/env bash
# What the program costs live, on a private test desktop, in one run:
#  - CPU of a 30 s take of "Monitor of Speakers" (44.1 kHz stereo, 128 kbps
#    CBR, stereo, LAME quality 5 as the program sets it) by the program, by
#    ffmpeg and by parec | lame, all three recording the same tone at the same
#    time, in rounds; the least of each over the rounds gives the ratios;
#    beside them lame encodes 30 s of the tone from a file: the encoding
#    alone, which none of the three can go below;
#  - the program's CPU and wake-ups while it sits idle in the tray;
#  - tray_bench: from the click to the first block, and an hour of simulated
#    input with the real tray icon (memory, stop to save dialog).
# CPU is perf's task-clock and wake-ups its context switches, of all threads.
# The tone is played into the speakers with the latency given (10 ms like the
# test desktop's); the sound server hands recorders blocks of that player's
# pace, so it sets how often ffmpeg and parec wake up; the program gathers
# those blocks for a tenth of a second.
#   bench/live_bench.sh BUILD_DIR [rounds] [player latency ms] [hour speed]
set -euo pipefail
usage="usage: live_bench.sh BUILD_DIR [rounds] [player latency ms] [hour speed]"
build=$(cd "${1:?$usage}" && pwd)
rounds=${2:-3}
player_ms=${3:-10}
speed=${4:-30}
take_seconds=30
idle_seconds=60
command -v perf >/dev/null || { echo "needs perf (Debian package linux-perf)" >&2; exit 1; }
root=$(cd "$(dirname "$0")/.." && pwd)
base=$(mktemp -d)
stop_desktop() {
  [ -z "${player:-}" ] || kill -- "-$player" 2>/dev/null || true
  "$root/scripts/desktop.sh" stop "$base/desktop" || true
  rm -rf "$base"
}
trap stop_desktop EXIT
"$root/scripts/desktop.sh" start "$base/desktop"
# shellcheck disable=SC1091
. "$base/desktop/env"
setsid bash -c "sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw - synth 86400 sine 440 vol 0.5 |
  pacat --latency-msec=$player_ms --rate=44100 --channels=2 --format=s16le -d spk" \
  </dev/null >/dev/null 2>&1 &
player=$!
exe=$build/tapewren
# shellcheck source=../tests/support/e2e.sh
. "$root/tests/support/e2e.sh"
trap 'for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done; rm -rf "$work"; stop_desktop' EXIT

counted() { # event, perf stat file: its count, 0 when not counted
  awk -F, -v e="$1" '$3 == e { print ($1 ~ /^[0-9.]+$/) ? $1 : 0 }' "$2"
}
perf_stat() { # file, perf stat arguments...
  local file=$1
  shift
  perf stat -x, -e task-clock,context-switches -o "$file" "$@"
}
start_program() { # folder, settings lines: starts it, sets $pid
  install_copy "$1"
  printf '[Recorder]\n%s\n' "$2" >"$1/quillby.ini"
  start "$1"
  wait_for 100 tray_window || { echo "the program did not start:" >&2; cat "$work/program.log" >&2; exit 1; }
}
end_program() { # The takes are not kept: the save dialog is left unanswered.
  kill -TERM "$1" 2>/dev/null || true
  wait_for 30 bash -c "! kill -0 $1" || kill -9 "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

echo "== a ${take_seconds} s take, CPU seconds (wake-ups a second), side by side, player at ${player_ms} ms"
printf '%-6s %16s %16s %16s %16s\n' round program ffmpeg "parec | lame" "lame from file"
: >"$base/rounds"
sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw "$base/tone.raw" synth "$take_seconds" sine 440 vol 0.5
for round in $(seq "$rounds"); do
  start_program "$base/app$round" $'Channel=0\nVolume=100\nQuality=61\nStereo=1\nVBR=0\nPOPCount=9'
  sleep 2
  perf_stat "$base/ffmpeg.stat" ffmpeg -nostdin -loglevel error -f pulse -sample_rate 44100 \
    -channels 2 -i spk.monitor -t "$take_seconds" -c:a libmp3lame -b:a 128k -joint_stereo 0 \
    -compression_level 5 -y "$base/ffmpeg.mp3" &
  ffmpeg_pid=$!
  perf_stat "$base/lame.stat" sh -c "timeout $take_seconds parec -d spk.monitor --rate=44100 \
    --channels=2 --format=s16le 2>/dev/null | lame --quiet -r -s 44.1 --bitwidth 16 --signed \
    --little-endian -m s -b 128 --cbr -q 5 - '$base/lame.mp3' 2>/dev/null" &
  lame_pid=$!
  perf_stat "$base/encode.stat" lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian \
    -m s -b 128 --cbr -q 5 "$base/tone.raw" "$base/encode.mp3" 2>/dev/null &
  encode_pid=$!
  xdotool key ctrl+alt+o # a hot key acts at once; a click waits out the double-click time
  perf_stat "$base/program.stat" -p "$pid" -- sleep "$take_seconds"
  xdotool key ctrl+alt+o
  wait "$ffmpeg_pid" "$lame_pid" "$encode_pid" || true
  wait_for 50 not_recording || true
  end_program "$pid"
  [ -s "$base/ffmpeg.mp3" ] && [ -s "$base/lame.mp3" ] || echo "a reference wrote nothing" >&2
  line=$round
  for who in program ffmpeg lame encode; do
    cpu=$(counted task-clock "$base/$who.stat")
    switches=$(counted context-switches "$base/$who.stat")
    line="$line $(awk -v c="$cpu" -v w="$switches" -v s="$take_seconds" \
      'BEGIN { printf "%.3f %.0f", c / 1000, w / s }')"
  done
  echo "$line" | awk '{ printf "%-6s %9s (%4s) %9s (%4s) %9s (%4s) %9s (%4s)\n", $1, $2, $3, $4, $5, $6, $7, $8, $9 }'
  echo "$line" | awk '{ print $2, $4, $6, $8 }' >>"$base/rounds"
done
awk 'NR == 1 || $1 < p { p = $1 } NR == 1 || $2 < f { f = $2 } NR == 1 || $3 < l { l = $3 }
  NR == 1 || $4 < e { e = $4 }
  END {
    printf "least: program %.3f s, ffmpeg %.3f s, parec | lame %.3f s, lame from file %.3f s\n", p, f, l, e
    printf "encoding alone / ffmpeg = %.3f, / (parec | lame) = %.3f: the floor of each ratio\n", e / f, e / l
    printf "program above encoding alone: %.3f s\n", p - e
    printf "ratio program / ffmpeg = %.3f (goal: at most 0.50)%s\n", p / f, p / f <= 0.5 ? "" : "  <-- above goal"
    printf "ratio program / (parec | lame) = %.3f (goal: at most 1.00)%s\n", p / l, p / l <= 1 ? "" : "  <-- above goal"
  }' "$base/rounds"

echo "== idle in the tray"
start_program "$base/idle" 'Channel=0'
sleep 12 # start-up and the start-up balloon's ten seconds
perf_stat "$base/idle.stat" -p "$pid" -- sleep "$idle_seconds"
end_program "$pid"
awk -v c="$(counted task-clock "$base/idle.stat")" -v w="$(counted context-switches "$base/idle.stat")" \
  -v s="$idle_seconds" 'BEGIN {
  pct = 100 * c / 1000 / s
  printf "idle CPU over %d s: %.4f s (%.4f %% of one core; goal: at most 0.05 %%)%s\n", s, c / 1000, pct, pct <= 0.05 ? "" : "  <-- above goal"
  printf "idle wake-ups over %d s, all threads: %d\n", s, w
}'

echo "== click to first block, real sound server"
"$build/bench/tray_bench" first-block 10 2>>"$base/tray_bench.log"
echo "== one hour, simulated input, real tray icon"
"$build/bench/tray_bench" hour "$speed" 2>>"$base/tray_bench.log"
