#!/usr/bin/env bash
# What the program costs live, measured side by side in one run, on a private
# test desktop with PulseAudio and on one with PipeWire:
#  - a 30 s take of "Monitor of Speakers" (44.1 kHz stereo, 128 kbps CBR, LAME
#    quality 5 as the program sets it) by the program, by ffmpeg and by
#    parec | lame, all three recording the same tone at the same time; beside
#    them lame encodes 30 s of the tone from a file: the encoding alone;
#  - the program's wake-ups in that take, from its second second to its end:
#    voluntary context switches a second, per thread, from /proc (a
#    preemption is the machine's load, not ours);
#  - a 30 s take of "Microphone and speakers" on the set-up of the mixed-take
#    test: a null sink hearing a 1000 Hz tone, remapped as the microphone, and
#    the 440 Hz tone in the speakers; beside it a take of "Microphone" alone
#    while the microphone hears the 440 Hz tone too, so that both takes give
#    LAME the same sound to encode (two tones cost it more than one);
#  - BM_MixedTake against BM_RecordBlockHandler/100 from recorder_bench;
#  - on PulseAudio, the program idle in the tray; from the hot key and from a
#    click on the icon to the program's stream at the server; tray_bench: from
#    the click to the first block, and an hour of simulated input with the real
#    tray icon (memory, stop to save dialog).
# Each take runs in rounds; the least CPU of each over the rounds gives the
# ratios, and the least wake-ups. CPU is perf's task-clock. Every player asks
# for 10 ms of latency, as the test desktop's does: the server hands
# recorders blocks of that pace.
#   bench/live_bench.sh BUILD_DIR [rounds] [servers] [hour speed]
# servers: "pulseaudio pipewire" (the default), or either alone.
set -euo pipefail
usage="usage: live_bench.sh BUILD_DIR [rounds] [servers] [hour speed]"
build=$(cd "${1:?$usage}" && pwd)
rounds=${2:-3}
servers=${3:-pulseaudio pipewire}
speed=${4:-30}
take_seconds=30
idle_seconds=60
command -v perf >/dev/null || { echo "needs perf (Debian package linux-perf)" >&2; exit 1; }
root=$(cd "$(dirname "$0")/.." && pwd)
base=$(mktemp -d)
exe=$build/tapewren
# Each desktop brings its own display; the helpers read it when called.
DISPLAY=${DISPLAY:-none}
# shellcheck source=../tests/support/e2e.sh
. "$root/tests/support/e2e.sh"
desktop=
stop_desktop() {
  [ -z "$desktop" ] || "$root/scripts/desktop.sh" stop "$desktop" || true
  desktop=
}
trap 'for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done; stop_desktop; rm -rf "$work" "$base"' EXIT

counted() { # event, perf stat file: its count, 0 when not counted
  awk -F, -v e="$1" '$3 == e { print ($1 ~ /^[0-9.]+$/) ? $1 : 0 }' "$2"
}
perf_stat() { # file, perf stat arguments...
  local file=$1
  shift
  perf stat -x, -e task-clock -o "$file" "$@"
}
cpu() { # perf stat file: CPU seconds
  awk -v c="$(counted task-clock "$1")" 'BEGIN { printf "%.3f", c / 1000 }'
}
switches() { # pid: "tid name voluntary-switches", a line per thread
  local task
  for task in /proc/"$1"/task/*; do
    printf '%s %s %s\n' "${task##*/}" "$(tr ' ' _ <"$task/comm")" \
      "$(awk '/^voluntary_ctxt_switches/ { print $2 }' "$task/status")"
  done 2>/dev/null
}
start_program() { # folder, input name: starts it, sets $pid
  install_copy "$1"
  printf '[Recorder]\nChannelName=%s\nVolume=100\nQuality=61\nStereo=1\nVBR=0\nPOPCount=9\n' \
    "$2" >"$1/quillby.ini"
  start "$1"
  wait_for 100 tray_window || { echo "the program did not start:" >&2; cat "$work/program.log" >&2; exit 1; }
  sleep 2
}
end_program() { # The takes are not kept: the save dialog is left unanswered.
  kill -TERM "$1" 2>/dev/null || true
  wait_for 30 bash -c "! kill -0 $1" || kill -9 "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
# A take by the program of the input named, measured: CPU into $2.stat, and
# the wake-ups of each thread into $2.wakes ("name per-second").
program_take() { # input name, file base
  start_program "$base/app" "$1"
  xdotool key ctrl+alt+o # a hot key acts at once; a click waits out the double-click time
  perf_stat "$2.stat" -p "$pid" -- sleep "$take_seconds" &
  local perf=$!
  # Wake-ups while recording: from a second after the start (the key, the
  # icon, the first blocks) to the end.
  sleep 1
  switches "$pid" >"$2.before"
  wait "$perf"
  switches "$pid" >"$2.after"
  xdotool key ctrl+alt+o
  wait_for 50 not_recording || true
  end_program "$pid"
  awk -v s="$((take_seconds - 1))" 'NR == FNR { before[$1] = $3; next }
    { woke[$2] += $3 - before[$1] }
    END { for (n in woke) printf "%s %.1f\n", n, woke[n] / s }' "$2.before" "$2.after" >"$2.wakes"
}
player() { # sink, frequency, volume: plays a tone into the sink until the desktop stops
  setsid bash -c "sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw - synth 86400 sine $2 vol $3 |
    pacat --latency-msec=10 --rate=44100 --channels=2 --format=s16le -d $1" \
    </dev/null >/dev/null 2>&1 &
  player=$!
  echo $player >>"$desktop/tone.pids"
}

sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw "$base/tone.raw" synth "$take_seconds" sine 440 vol 0.5
: >"$base/summary"
for server in $servers; do
  desktop=$base/desktop-$server
  "$root/scripts/desktop.sh" start "$desktop" "$server" >/dev/null
  # shellcheck disable=SC1091
  . "$desktop/env"
  export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data
  pactl load-module module-null-sink sink_name=micsink rate=44100 \
    sink_properties=device.description=Voice >/dev/null
  pactl load-module module-remap-source master=micsink.monitor source_name=mic \
    source_properties=device.description=Microphone >/dev/null
  pactl set-default-source mic
  pactl set-default-sink spk
  player spk 440 0.5
  player micsink 1000 0.35
  sleep 3 # new null sinks hand out their first seconds in lumps

  echo "== $server: ${take_seconds} s takes, CPU seconds, side by side"
  printf '%-6s %9s %9s %13s %15s %11s %11s %9s\n' round program ffmpeg "parec | lame" \
    "lame from file" microphone mixed wake-ups
  : >"$base/rounds"
  for round in $(seq "$rounds"); do
    perf_stat "$base/ffmpeg.stat" ffmpeg -nostdin -loglevel error -f pulse -sample_rate 44100 \
      -channels 2 -i spk.monitor -t "$take_seconds" -c:a libmp3lame -b:a 128k -joint_stereo 0 \
      -compression_level 5 -y "$base/ffmpeg.mp3" &
    ffmpeg_pid=$!
    perf_stat "$base/lame.stat" sh -c "timeout $take_seconds parec -d spk.monitor --rate=44100 \
      --channels=2 --format=s16le 2>/dev/null | lame --quiet -r -s 44.1 --bitwidth 16 --signed \
      --little-endian -m s -b 128 --cbr -q 5 - '$base/lame.mp3' 2>/dev/null" &
    lame_pid=$!
    perf_stat "$base/encode.stat" lame --quiet -r -s 44.1 --bitwidth 16 --signed \
      --little-endian -m s -b 128 --cbr -q 5 "$base/tone.raw" "$base/encode.mp3" 2>/dev/null &
    encode_pid=$!
    program_take "Monitor of Speakers" "$base/monitor"
    wait "$ffmpeg_pid" "$lame_pid" "$encode_pid" || true
    [ -s "$base/ffmpeg.mp3" ] && [ -s "$base/lame.mp3" ] || echo "a reference wrote nothing" >&2
    player micsink 440 0.5
    sleep 1
    program_take Microphone "$base/microphone"
    kill -- "-$player"
    program_take "Microphone and speakers" "$base/mixed"
    wakes=$(awk '{ s += $2 } END { printf "%.1f", s }' "$base/monitor.wakes")
    line="$round $(cpu "$base/monitor.stat") $(cpu "$base/ffmpeg.stat") $(cpu "$base/lame.stat")"
    line="$line $(cpu "$base/encode.stat") $(cpu "$base/microphone.stat") $(cpu "$base/mixed.stat") $wakes"
    echo "$line" | awk '{ printf "%-6s %9s %9s %13s %15s %11s %11s %7s/s\n", $1, $2, $3, $4, $5, $6, $7, $8 }'
    echo "$line" >>"$base/rounds"
    cp "$base/monitor.wakes" "$base/wakes.$round"
  done
  # The round with the fewest wake-ups, thread by thread.
  best=$(sort -k8,8g "$base/rounds" | head -1 | cut -d' ' -f1)
  echo "wake-ups a second by thread, round $best: $(sort -k2,2gr "$base/wakes.$best" |
    awk '{ printf "%s%s %s", (NR > 1 ? ", " : ""), $1, $2 }')"
  awk -v server="$server" '
    function least(i) { m = v[1, i]; for (r = 2; r <= n; ++r) if (v[r, i] < m) m = v[r, i]; return m }
    { ++n; for (i = 2; i <= 8; ++i) v[n, i] = $i }
    END {
      p = least(2); f = least(3); l = least(4); e = least(5); mic = least(6); mix = least(7); w = least(8)
      printf "%s least: program %.3f s, ffmpeg %.3f s, parec | lame %.3f s, lame from file %.3f s, microphone %.3f s, mixed %.3f s\n", server, p, f, l, e, mic, mix
      printf "%s|microphone and speakers / microphone alone, live|%.3f|1.3\n", server, mix / mic > "/dev/stderr"
      printf "%s|program wake-ups while recording, voluntary, all threads (/s)|%.1f|10\n", server, w > "/dev/stderr"
      printf "%s|live take / ffmpeg|%.3f|%s\n", server, p / f, server == "pipewire" ? 0.45 : 0.35 > "/dev/stderr"
      printf "%s|  its floor: lame from file / ffmpeg|%.3f|%s\n", server, e / f, server == "pipewire" ? 0.45 : 0.35 > "/dev/stderr"
      printf "%s|live take / lame encoding the same sound from a file|%.3f|1.25\n", server, p / e > "/dev/stderr"
      printf "%s|live take / (parec piped to lame)|%.3f|1\n", server, p / l > "/dev/stderr"
    }' "$base/rounds" 2>>"$base/summary"

  if [ "$server" = pulseaudio ]; then
    echo "== $server: idle in the tray"
    start_program "$base/idle" "Monitor of Speakers"
    sleep 10 # the start-up balloon's ten seconds
    switches "$pid" >"$base/idle.before"
    perf_stat "$base/idle.stat" -p "$pid" -- sleep "$idle_seconds"
    switches "$pid" >"$base/idle.after"
    end_program "$pid"
    awk -v c="$(counted task-clock "$base/idle.stat")" -v s="$idle_seconds" 'BEGIN {
      pct = 100 * c / 1000 / s
      printf "idle CPU over %d s: %.4f s (%.4f %% of one core; goal: at most 0.05 %%)%s\n", s, c / 1000, pct, pct <= 0.05 ? "" : "  <-- above goal"
    }'
    awk -v s="$idle_seconds" 'NR == FNR { before[$1] = $3; next } { w += $3 - before[$1] }
      END { printf "idle wake-ups, all threads: %.2f a second\n", w / s }' "$base/idle.before" "$base/idle.after"
    echo "== $server: hot key and click to recording, real sound server"
    # From the key or the click to the server's news of the program's stream
    # (pactl subscribe, timed by the shell as the line comes). A click first
    # waits out the double-click time, Qt's 400 ms on this desktop (its timer
    # may fire up to 5 % early), to tell it from a double click.
    : >"$base/answer.key"
    : >"$base/answer.click"
    for how in key click; do
      for _ in 1 2 3; do
        start_program "$base/answer" "Monitor of Speakers"
        coproc news { exec pactl subscribe 2>/dev/null; }
        xdotool mousemove "$tray_x" "$tray_y"
        sleep 0.5
        t0=$EPOCHREALTIME # xdotool itself takes some 5 ms of what follows
        if [ "$how" = key ]; then xdotool key --delay 0 ctrl+alt+o; else xdotool click 1; fi
        while IFS= read -r -t 5 line <&"${news[0]}"; do
          if [[ $line == *"'new' on source-output"* ]]; then
            awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.0f\n", (b - a) * 1000 }' >>"$base/answer.$how"
            break
          fi
        done
        kill "$news_PID" 2>/dev/null || true
        wait "$news_PID" 2>/dev/null || true
        end_program "$pid"
      done
    done
    awk '{ v[FILENAME] = v[FILENAME] " " $1 }
      END { for (f in v) { n = f; sub(/.*answer\./, "", n); printf "%s to recording (ms):%s\n", n == "key" ? "hot key" : "click", v[f] } }' \
      "$base/answer.key" "$base/answer.click" | sort -r
    echo "== $server: click to first block, real sound server"
    "$build/bench/tray_bench" first-block 10 2>>"$base/tray_bench.log"
    echo "== one hour, simulated input, real tray icon"
    "$build/bench/tray_bench" hour "$speed" 2>>"$base/tray_bench.log"
  fi
  stop_desktop
done

echo "== recorder_bench: the mixed take's pipeline beside a single input's"
"$build/bench/recorder_bench" --benchmark_filter='BM_MixedTake|BM_RecordBlockHandler/100' \
  2>/dev/null | grep '^ratio BM_MixedTake' |
  sed -E 's/^ratio (BM_MixedTake) \/ (BM_RecordBlockHandler\/100) = ([0-9.]+).*/all|\1 \/ \2|\3|1.3/' \
    >>"$base/summary" || true

echo "== every figure, $(date -u +%F)"
awk -F'|' '{ printf "%-11s %-64s %7s  (goal: at most %s)%s\n", $1, $2, $3, $4, $3 + 0 <= $4 + 0 ? "" : "  <-- above goal" }' \
  "$base/summary"
