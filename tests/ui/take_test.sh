#!/usr/bin/env bash
# A whole take with the real program under the test desktop: click the tray,
# record five seconds of the tone, click again, name the file, press Enter.
set -uo pipefail
exe=${1:?usage: take_test.sh path/to/tapewren}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

start_ready

# Both clicks are held back by the same double-click time, so the take
# lasts as long as the time between them.
t0=$(date +%s.%N)
xdotool mousemove "$tray_x" "$tray_y" click 1
sleep 2
check "recording" recording
sleep "$(awk -v t0="$t0" -v now="$(date +%s.%N)" 'BEGIN { print 5 - (now - t0) }')"
xdotool mousemove "$tray_x" "$tray_y" click 1
check "the save dialog opens" wait_for 50 visible_window "Save as"
check "not recording while it is open" not_recording
shot save-dialog
save_as "$work/music/evening"
check "the dialog closes" wait_for 50 save_dialog_closed
file=$work/music/evening.mp3
check "the file is saved with .mp3" test -s "$file"
n=$(samples "$file")
check "it decodes to 5 s +- 0.2 s ($n samples)" awk -v n="$n" 'BEGIN { exit !(n > 4.8 * 44100 && n < 5.2 * 44100) }'
f=$(frequency "$file")
check "at 440 Hz ($f)" awk -v f="$f" 'BEGIN { exit !(f > 430 && f < 450) }'
check "the popup says it was saved" wait_for 20 popup_shown
shot saved-popup
check "LastDir is written" grep -qx "LastDir=$work/music/" "$app/quillby.ini"
check "the take left the working folder" bash -c "[ -z \"\$(ls -A '$app/tmp')\" ]"

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
