#!/usr/bin/env bash
# Takes that must survive an unkind session, with the real program under the
# test desktop: questions asked over the save dialog, a signal while it is
# open, a kill in the middle of a take, a second start from another session.
set -uo pipefail
exe=${1:?usage: takes_test.sh path/to/tapewren}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

settings=$'[Recorder]\nChannel=0\nVolume=100\nQuality=61'
mkdir -p "$work/music"

record_for() { # seconds: one take, from a tray click to the save dialog
  xdotool mousemove "$tray_x" "$tray_y" click 1
  wait_for 30 recording || return 1
  sleep "$1"
  xdotool mousemove "$tray_x" "$tray_y" click 1
  wait_for 50 visible_window "Save as"
}
to_dialog() { # keys...: typed into the save dialog
  local win
  win=$(visible_window "Save as" | head -1)
  xdotool windowactivate --sync "$win" 2>/dev/null || true
  xdotool "$@"
}
# The question box: the topmost window, the active one, and not the dialog.
box_on_top() {
  local top
  top=$(top_window)
  [ $((top)) -ne 0 ] && [ $((top)) -eq $(($(active_window))) ] &&
    [ "$(xdotool getwindowname "$top")" = Tapewren ]
}
box_gone() { [ "$(xdotool getwindowname "$(top_window)")" != Tapewren ]; }
takes_in() { find "$1/tmp" -maxdepth 1 -type f -size +0 | wc -l; }
long_enough() { # file, seconds
  local n
  n=$(samples "$1")
  awk -v n="$n" -v s="$2" 'BEGIN { exit !(n >= s * 44100) }'
}

# 1. Every question over the save dialog is on top of it and has the keys.
app=$work/boxes
install_copy "$app"
echo "$settings" >"$app/quillby.ini"
start "$app"
check "tray icon" wait_for 100 tray_window
check "the save dialog opens" record_for 2
to_dialog key Escape
check "the cancel question is on top and active" wait_for 30 box_on_top
shot question-over-save-dialog
xdotool key n
check "No closes it" wait_for 30 box_gone
check "and keeps the take" [ "$(takes_in "$app")" -eq 1 ]
echo old >"$work/music/taken.mp3"
to_dialog type --delay 10 "$work/music/taken"
to_dialog key Return
check "the overwrite question is on top and active" wait_for 30 box_on_top
xdotool key Escape
check "Escape answers it No" wait_for 30 box_gone
check "the old file is untouched" [ "$(cat "$work/music/taken.mp3")" = old ]
to_dialog key ctrl+a
to_dialog type --delay 10 "Please Specify"
to_dialog key Return
check "the missing name is said on top" wait_for 30 box_on_top
xdotool key Return
check "Enter closes that box" wait_for 30 box_gone
check "the dialog is still open" wait_for 1 visible_window "Save as"
to_dialog key ctrl+a
to_dialog type --delay 10 "$work/music/yes-you-may"
to_dialog key Return
check "a name with y in it saves" wait_for 50 test -s "$work/music/yes-you-may.mp3"
check "the take decodes" long_enough "$work/music/yes-you-may.mp3" 1.5
check "the dialog closed" wait_for 50 dialog_closed "Save as"
kill -TERM "$pid"
check "exit" exited_with_zero "$pid" 50

# 2. A signal while the dialog is open, here with a question over it: the
# program ends at once, asking nothing, and the next start offers the take.
app=$work/signal
install_copy "$app"
echo "$settings" >"$app/quillby.ini"
start "$app"
first=$pid
wait_for 100 tray_window
check "the dialog for the signal" record_for 2
to_dialog key Escape
wait_for 30 box_on_top
kill -TERM "$first"
check "SIGTERM ends it within 5 s" exited_with_zero "$first" 50
check "with the settings written" grep -q '^PopCount=' "$app/quillby.ini"
check "and the take kept" [ "$(takes_in "$app")" -eq 1 ]
start "$app"
check "the next start offers it" wait_for 100 visible_window "Save as"
to_dialog type --delay 10 "$work/music/after-signal"
to_dialog key Return
check "it is saved" wait_for 50 test -s "$work/music/after-signal.mp3"
check "whole" long_enough "$work/music/after-signal.mp3" 1.5
check "and leaves the working folder" [ "$(takes_in "$app")" -eq 0 ]
check "the tray is ready again" record_for 1
to_dialog key Escape
wait_for 30 box_on_top
xdotool key Return
check "Enter answers the question No" wait_for 30 box_gone
check "and keeps the take" [ "$(takes_in "$app")" -eq 1 ]
to_dialog key Escape
wait_for 30 box_on_top
xdotool key y
check "Cancel and Yes discard that take" wait_for 50 bash -c "[ \$(find '$app/tmp' -type f | wc -l) -eq 0 ]"
kill -TERM "$pid"
check "exit after the offered take" exited_with_zero "$pid" 100

# 3. kill -9 twelve seconds into a VBR take: the next start offers it,
# repaired, and removes what holds no sound.
app=$work/killed
install_copy "$app"
printf '%s\nVBR=1\n' "$settings" >"$app/quillby.ini"
start "$app"
wait_for 100 tray_window
xdotool mousemove "$tray_x" "$tray_y" click 1
check "the VBR take records" wait_for 30 recording
sleep 12
kill -9 "$pid"
wait "$pid" 2>/dev/null
: >"$app/tmp/tmpfile7.mp3"
echo noise >"$app/tmp/tmpfile8.mp3"
start "$app"
check "the killed take is offered" wait_for 100 visible_window "Save as"
check "files without sound are gone" [ ! -e "$app/tmp/tmpfile7.mp3" ] && [ ! -e "$app/tmp/tmpfile8.mp3" ]
to_dialog type --delay 10 "$work/music/killed"
to_dialog key Return
file=$work/music/killed.mp3
check "it is saved" wait_for 50 test -s "$file"
n=$(samples "$file")
check "it decodes to at least 10 s ($n samples): a crash loses a second at most" long_enough "$file" 10
d=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$file")
check "its length reads true ($d s against $n samples)" awk -v d="$d" -v n="$n" 'BEGIN { x = d - n / 44100; exit !(x < 0.2 && x > -0.2) }'
kill -TERM "$pid"
exited_with_zero "$pid" 50

# 4. A second start from another session, same data folder: the running
# take is not touched.
app=$work/sessions
install_copy "$app"
echo "$settings" >"$app/quillby.ini"
start "$app"
first=$pid
wait_for 100 tray_window
t0=$(date +%s.%N)
xdotool mousemove "$tray_x" "$tray_y" click 1
check "the first session records" wait_for 30 recording
# Sound is written a second at a time: the take has its first second on disk.
check "the take is written" wait_for 50 test -s "$app/tmp/tmpfile1.mp3"
size=$(stat -c %s "$app/tmp/tmpfile1.mp3")
mkdir -p "$work/other-run" && chmod 700 "$work/other-run"
XDG_RUNTIME_DIR=$work/other-run PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native start "$app"
check "the second start ends at once with 0" exited_with_zero "$pid" 30
check "the first still records" recording
check "the take is still there" [ -s "$app/tmp/tmpfile1.mp3" ]
grown() { [ "$(stat -c %s "$app/tmp/tmpfile1.mp3")" -gt "$size" ]; }
check "and still growing" wait_for 50 grown
took=$(awk -v t0="$t0" -v now="$(date +%s.%N)" 'BEGIN { print now - t0 }')
xdotool mousemove "$tray_x" "$tray_y" click 1
wait_for 50 visible_window "Save as"
to_dialog type --delay 10 "$work/music/two-sessions"
to_dialog key Return
check "the take is saved whole" wait_for 50 test -s "$work/music/two-sessions.mp3"
# Both clicks are held back by the same double-click time: the take lasts
# from click to click, less what the stop may cut.
check "all the $took s of it" long_enough "$work/music/two-sessions.mp3" "$(awk -v t="$took" 'BEGIN { print t - 0.5 }')"
kill -TERM "$first"
exited_with_zero "$first" 50

finish takes_test
