#!/usr/bin/env bash
# Whole takes with the real program under the test desktop: click the tray,
# record the tone, click again, name the file, press Enter. Three takes of 2
# to 8 s, each holding the tone from click to click.
set -uo pipefail
exe=${1:?usage: take_test.sh path/to/tapewren}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

start_ready

since() { awk -v t0="$1" -v now="$(date +%s.%N)" 'BEGIN { print now - t0 }'; }
# RMS of the decoded take's last quarter second: the tone, not silence.
end_level() {
  mpg123 -q -w "$work/end.wav" "$1" 2>/dev/null
  sox "$work/end.wav" -n trim -0.25 stats 2>&1 | awk '/^RMS lev dB/ { print $4 }'
}
# One take of about $1 seconds saved as $2. Both clicks are held back by the
# same double-click time, so the take lasts as long as the time between
# them, which is left in $took.
take() {
  local t0
  t0=$(date +%s.%N)
  xdotool mousemove "$tray_x" "$tray_y" click 1
  sleep 1
  check "recording" recording
  sleep "$(awk -v s="$(since "$t0")" -v want="$1" 'BEGIN { print want - s }')"
  took=$(since "$t0")
  xdotool mousemove "$tray_x" "$tray_y" click 1
  check "the save dialog opens" wait_for 50 visible_window "Save as"
  check "not recording while it is open" not_recording
  save_as "$2"
  check "the dialog closes" wait_for 50 save_dialog_closed
}
# Every take holds the sound up to the stop click, whatever the server.
whole() { # file
  local n l
  n=$(samples "$1")
  l=$(end_level "$1")
  check "$(basename "$1"): $n samples for $took s between the clicks" \
    awk -v n="$n" -v t="$took" 'BEGIN { d = n / 44100 - t; exit !(d < 0.25 && d > -0.25) }'
  check "$(basename "$1"): the tone lasts to the end ($l dB)" \
    awk -v l="$l" 'BEGIN { exit !(l != "" && l > -12) }'
}

take 5 "$work/music/evening"
shot save-dialog
file=$work/music/evening.mp3
check "the file is saved with .mp3" test -s "$file"
whole "$file"
f=$(frequency "$file")
check "at 440 Hz ($f)" awk -v f="$f" 'BEGIN { exit !(f > 430 && f < 450) }'
check "the popup says it was saved" wait_for 20 popup_shown
shot saved-popup
check "LastDir is written" grep -qx "LastDir=$work/music/" "$app/quillby.ini"
check "the take left the working folder" bash -c "[ -z \"\$(ls -A '$app/tmp')\" ]"
for seconds in 2 8; do
  sleep 0.5
  take "$seconds" "$work/music/take$seconds"
  whole "$work/music/take$seconds.mp3"
done

# The tray is ready again: a click records; Cancel and Yes throw it away.
sleep 0.5
xdotool mousemove "$tray_x" "$tray_y" click 1
check "ready for the next take" wait_for 30 recording
xdotool mousemove "$tray_x" "$tray_y" click 1
check "its dialog opens" wait_for 50 visible_window "Save as"
discard_take
check "Cancel and Yes close the dialog" wait_for 50 save_dialog_closed
check "and delete the take" wait_for 20 bash -c "[ -z \"\$(ls -A '$app/tmp')\" ]"

kill -TERM "$pid"
check "exit" exited_with_zero "$pid" 50
finish take_test
