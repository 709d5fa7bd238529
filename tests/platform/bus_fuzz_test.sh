#!/usr/bin/env bash
# A hostile desktop: every service the program talks to on the session bus
# answers and signals with drawn values of the wrong types, arity and size
# (support/fuzz_bus.cpp), while a take records. In three runs of different
# seeds, at least 2,000 messages in all: the program stays up, keeps
# recording, and a signal ends it within two seconds with the whole take kept.
set -uo pipefail
exe=${1:?usage: bus_fuzz_test.sh path/to/tapewren path/to/fuzz_bus}
fuzz=${2:?usage: bus_fuzz_test.sh path/to/tapewren path/to/fuzz_bus}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

own_bus || { echo "no dbus-daemon"; exit 1; }
log=$work/fuzz.log
app=$work/app
item() { awk '$1 == "item" { print $2; exit }' "$log"; }
take_bytes() { stat -c %s "$app/tmp/tmpfile1.mp3" 2>/dev/null || echo 0; }
grows() { # the take file is longer than $1 bytes
  [ "$(take_bytes)" -gt "$1" ]
}
now() { date +%s.%N; }

for seed in ${TAPEWREN_FUZZ_SEEDS:-11 23 37}; do
  : >"$log"
  "$fuzz" "$seed" 700 "$log" 2>>"$work/fuzz.err" &
  fuzzer=$!
  pids+=("$fuzzer")
  check "seed $seed: the hostile desktop is on the bus" wait_for 50 grep -qx ready "$log"
  install_copy "$app"
  printf '[Recorder]\nChannel=0\nVolume=100\nQuality=61\n' >"$app/quillby.ini"
  # A Wayland session's way to hot keys, the shortcut portal, on the X display.
  XDG_SESSION_TYPE=wayland start "$app"
  check "seed $seed: the tray registers" wait_for 100 bash -c "grep -q '^item ' '$log'"
  dbus-send --session --type=method_call --dest="$(item)" /StatusNotifierItem \
    org.kde.StatusNotifierItem.Activate int32:0 int32:0
  check "seed $seed: a take records" wait_for 50 recording
  started=$(now)
  check "seed $seed: the messages begin" wait_for 60 grep -qx fuzzing "$log"
  check "seed $seed: 700 messages went out" wait_for 300 grep -qx done "$log"
  check "seed $seed: the program is up" running "$pid"
  bytes=$(take_bytes)
  check "seed $seed: and still recording" wait_for 30 grows "$bytes"
  kill -TERM "$pid"
  stopped=$(now)
  check "seed $seed: SIGTERM ends it within 2 s" exited_with_zero "$pid" 20
  seconds=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$app/tmp/tmpfile1.mp3")
  check "seed $seed: the take is kept whole (${seconds:-no} s of $(awk -v a="$started" -v b="$stopped" 'BEGIN { printf "%.1f", b - a }') s)" \
    awk -v s="${seconds:-0}" -v a="$started" -v b="$stopped" 'BEGIN { exit !(s > b - a - 1 && s < b - a + 1) }'
  kill "$fuzzer" 2>/dev/null
  wait "$fuzzer" 2>/dev/null
done
finish bus_fuzz_test
