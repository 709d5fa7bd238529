#!/usr/bin/env bash
# The real program under the test desktop: single instance, the wizard
# argument, the fatal start without a sound server, settings through a
# start and a SIGTERM, and what start-up removes from the working folder.
set -uo pipefail
exe=${1:?usage: program_test.sh path/to/tapewren}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

# Single instance: a second start asks the first to show itself (through the
# session bus), then ends with code 0; with no session bus it ends silently.
app=$work/app
install_copy "$app"
start "$app"
first=$pid
check "first instance connects to the sound server" wait_for 50 connected
no_tapewren_window() { ! xdotool search --onlyvisible --name '^Tapewren' >/dev/null; }
DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus start "$app"
check "without a bus a second start exits 0 within a second" exited_with_zero "$pid" 10
check "and shows nothing" no_tapewren_window
start "$app"
check "a second start shows the configuration window within 2 s" wait_for 20 window_of_size 348x508
check "and exits 0" exited_with_zero "$pid" 30
check "first instance keeps running" running "$first"
click_window "$(window_of_size 348x508)" $((241 + 37)) $((462 + 15)) # Cancel
check "Cancel" wait_for 30 no_tapewren_window
start "$app" w
check "a second start with w opens the optimizer within 2 s" wait_for 20 window_of_size 445x307
check "and exits 0" exited_with_zero "$pid" 30
xdotool windowactivate --sync "$(window_of_size 445x307)" key alt+F4
check "the optimizer closes into the configuration window" wait_for 30 window_of_size 348x508
click_window "$(window_of_size 348x508)" $((241 + 37)) $((462 + 15))
check "which Cancel closes" wait_for 30 no_tapewren_window

# SIGTERM ends it like Exit: settings written, code 0.
kill -TERM "$first"
check "SIGTERM exits 0" exited_with_zero "$first" 50
check "exit wrote the settings" grep -q '^PopCount=' "$app/quillby.ini"

# Stored values load clamped, and exit writes the eight keys in order.
printf '[Recorder]\nQuality=99\nVolume=0\nStereo=yes\nVBR=0x1\nChannel=7\n' >"$app/quillby.ini"
mkdir -p "$app/tmp/old"
touch "$app/tmp/tmpfile1.mp3" "$app/tmp/old/x"
chmod 444 "$app/tmp/tmpfile1.mp3" "$app/tmp/old/x"
start "$app"
check "started with stored settings" wait_for 50 connected
check "a read-only file without sound is removed at start" wait_for 30 bash -c "[ ! -e '$app/tmp/tmpfile1.mp3' ]"
check "a folder in tmp is not ours and stays" [ -e "$app/tmp/old/x" ]
kill -TERM "$pid"
check "exit after stored settings" exited_with_zero "$pid" 50
# Sources in index order: the monitor of the speakers comes first, so the
# default choice is input 0.
expected=$'[Recorder]\nQuality=76\nVolume=1\nStereo=1\nVBR=1\nChannel=0\nChannelName=Monitor of Speakers\nHideWiz1=0\nPopCount=1'
check "clamped values written back" [ "$(cat "$app/quillby.ini")" = "$expected" ]
rm "$app/quillby.ini"
start "$app"
wait_for 50 connected
kill -TERM "$pid"
exited_with_zero "$pid" 50
# Without a file the volume is the chosen input's own: the monitor is at 100 %.
expected=$'[Recorder]\nChannel=0\nChannelName=Monitor of Speakers\nQuality=12\nVolume=100\nStereo=1\nVBR=0\nHideWiz1=0\nPopCount=1'
check "a new file holds the eight keys in order" [ "$(cat "$app/quillby.ini")" = "$expected" ]

# "W" opens the optimizer alone; "/w" and "wizard" the tray program ("-w" is
# an unknown option, see install_test.sh).
wiz=$work/wizard
install_copy "$wiz"
start "$wiz" W
check "W shows the wizard window" wait_for 50 visible_window Tapewren
kill -TERM "$pid"
wait "$pid" 2>/dev/null
check "the wizard run reads and writes no settings" [ ! -e "$wiz/quillby.ini" ]
# SIGHUP (a closed terminal, a log-out) ends it as SIGTERM does.
for arg in /w wizard; do
  signal=TERM
  [ "$arg" = wizard ] && signal=HUP
  start "$wiz" "$arg" w
  check "$arg starts the tray program" wait_for 50 connected
  check "$arg shows no window" bash -c "! xdotool search --onlyvisible --name '^Tapewren' >/dev/null"
  kill -"$signal" "$pid"
  check "SIG$signal exits 0" exited_with_zero "$pid" 50
  check "$arg wrote settings at exit" grep -q '^PopCount=' "$wiz/quillby.ini"
  rm -f "$wiz/quillby.ini"
done

# No sound server: the message, then the end, with nothing touched.
dead=$work/dead
install_copy "$dead"
printf '[Recorder]\nQuality=5\n' >"$dead/quillby.ini"
mkdir -p "$dead/tmp"
echo take >"$dead/tmp/tmpfile1.mp3"
PULSE_SERVER=unix:/nonexistent/socket start "$dead"
check "the fatal message appears" wait_for 50 visible_window Tapewren
shot no-sound-server
win=$(visible_window Tapewren | head -1)
xdotool windowactivate --sync "$win" key --clearmodifiers Return 2>/dev/null || xdotool key Return
check "the program ends with code 0 after the message" exited_with_zero "$pid" 50
check "quillby.ini untouched" [ "$(cat "$dead/quillby.ini")" = $'[Recorder]\nQuality=5' ]
check "tmp untouched" [ "$(cat "$dead/tmp/tmpfile1.mp3")" = take ]

finish program_test
