#!/usr/bin/env bash
# The tray icon and the hot keys of the real program under the test desktop,
# with a 440 Hz tone playing into the speakers whose monitor it records.
set -uo pipefail
exe=${1:?usage: tray_test.sh path/to/tapewren path/to/grab_key}
grab_key=${2:?usage: tray_test.sh path/to/tapewren path/to/grab_key}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

click_tray() { xdotool mousemove "$tray_x" "$tray_y" click "${1:-1}"; }
double_click_tray() { xdotool mousemove "$tray_x" "$tray_y" click --repeat 2 --delay 80 1; }
# Share of bright green pixels in the tray icon: the level meter lit.
meter_lit() {
  import -window root "$work/icon.png"
  local lit
  lit=$(convert "$work/icon.png" -crop "$tray_box" +repage -fx 'g>0.8 && r<0.4 ? 1 : 0' \
    -format '%[fx:mean]' info:)
  awk -v v="$lit" 'BEGIN { exit !(v > 0.05) }'
}
main_window_shown() { visible_window Tapewren; }

app=$work/app
install_copy "$app"
# The speakers' monitor at full volume: the program's default of 10 % on the
# desktop's cubic scale would be almost silent.
printf '[Recorder]\nChannel=0\nVolume=100\nQuality=61\n' >"$app/quillby.ini"
start "$app"
check "the icon appears in the tray" wait_for 100 tray_window
tray_window
shot tray-idle

# A click records; the icon turns into the level meter.
click_tray
check "a click starts a take" wait_for 30 recording
check "the meter is lit for the tone" wait_for 30 meter_lit
shot tray-recording
click_tray
check "a second click stops the take" wait_for 30 not_recording
check "the take reached the save step" wait_for 50 save_dialog_open
check "the take is on disk meanwhile" test -s "$app/tmp/tmpfile1.mp3"
xdotool mousemove "$tray_x" "$tray_y" click 1
sleep 0.7
check "a click while the dialog is open records nothing" not_recording
check "the dialog is still there" save_dialog_open
check "discarded" discard_take

# A double click while idle configures and records nothing.
double_click_tray
check "a double click shows the configuration window" wait_for 30 main_window_shown
check "a double click starts no take" not_recording
shot tray-busy
click_tray
sleep 0.7
check "a click while busy records nothing" not_recording
xdotool key ctrl+alt+o
sleep 0.5
check "the record key while busy records nothing" not_recording
win=$(visible_window Tapewren | head -1)
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove $((X + 241 + 37)) $((Y + 462 + 15)) click 1
check "Cancel hides the window" wait_for 30 bash -c "! xdotool search --onlyvisible --name '^Tapewren\$' >/dev/null"

# A double click while recording only refuses.
click_tray
check "recording again" wait_for 30 recording
sleep 0.6
double_click_tray
sleep 0.8
check "a double click while recording keeps the take going" recording
check "no configuration window while recording" bash -c "! xdotool search --onlyvisible --name '^Tapewren\$' >/dev/null"
shot tray-refusal
xdotool key ctrl+alt+p
check "Ctrl+Alt+P pauses" wait_for 20 corked
click_tray 3
sleep 0.5
shot tray-menu-paused
xdotool key Escape
xdotool key ctrl+alt+p
check "Ctrl+Alt+P again resumes" wait_for 20 bash -c "! pactl list source-outputs | grep -q 'Corked: yes'"
xdotool key ctrl+alt+o
check "Ctrl+Alt+O stops the take" wait_for 30 not_recording
check "and leads to the save dialog" discard_take
sleep 0.5
xdotool key ctrl+alt+o
check "Ctrl+Alt+O starts a take" wait_for 30 recording
xdotool key ctrl+alt+o
check "and stops it" wait_for 30 not_recording
discard_take

# The lock keys change the modifier state the keys arrive with.
lock_on() { xset q | grep -q "$1: *on"; }
xdotool key Num_Lock
check "NumLock is on" lock_on "Num Lock"
sleep 0.5
xdotool key ctrl+alt+o
check "Ctrl+Alt+O with NumLock on starts a take" wait_for 30 recording
xdotool key ctrl+alt+p
check "Ctrl+Alt+P with NumLock on pauses" wait_for 20 corked
xdotool key Caps_Lock
check "CapsLock is on too" lock_on "Caps Lock"
xdotool key ctrl+alt+p
check "Ctrl+Alt+P with both locks on resumes" wait_for 20 bash -c "! pactl list source-outputs | grep -q 'Corked: yes'"
xdotool key ctrl+alt+o
check "Ctrl+Alt+O with both locks on stops the take" wait_for 30 not_recording
xdotool key Num_Lock Caps_Lock
check "and the locks are off again" bash -c "! xset q | grep -q 'Lock: *on'"
discard_take

# Holding the key toggles once, not once per auto-repeat.
sleep 0.5
xdotool keydown ctrl+alt+o
sleep 2
xdotool keyup o alt ctrl
sleep 0.5
check "holding Ctrl+Alt+O for two seconds toggles once" recording
xdotool key ctrl+alt+o
check "stopped again" wait_for 30 not_recording
discard_take

kill -TERM "$pid"
check "exit" exited_with_zero "$pid" 50

# Another program holds Ctrl+Alt+O: the balloon says so.
"$grab_key" o >"$work/grab.out" &
grabber=$!
pids+=("$grabber")
wait_for 30 grep -q grabbed "$work/grab.out"
: >"$work/program.log"
start "$app"
check "the program runs without the key" wait_for 50 connected
check "the balloon reports the taken key, and why" wait_for 30 grep -q \
  'Failed to set hotkey for \[Record/Stop\]\. (another program holds it)' "$work/program.log"
check "the other key still works" bash -c "! grep -q 'Failed to set hotkey for \[Pause/Resume\]' '$work/program.log'"
shot tray-balloon-key-taken
kill -TERM "$pid"
exited_with_zero "$pid" 50
kill "$grabber"

finish tray_test
