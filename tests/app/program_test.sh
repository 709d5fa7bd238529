#!/usr/bin/env bash
# The real program under the test desktop: single instance, the wizard
# argument, the fatal start without a sound server, settings through a
# start and a SIGTERM, where its files go, what start-up removes from the
# takes folder and what it leaves alone.
set -uo pipefail
exe=${1:?usage: program_test.sh path/to/tapewren}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

# A user's folder that happens to hold a tmp/ and the program: what is in
# it stays as it is, and settings and takes go to the user's own folders.
app=$work/app
install_copy "$app"
mkdir -p "$app/tmp"
echo "call the plumber" >"$app/tmp/notes.txt"
head -c 5000 /dev/urandom >"$app/tmp/photo.jpg"
sox -q -n -r 44100 -c 2 -b 16 "$work/tone.wav" synth 2 sine 440 vol 0.5
lame --quiet -b 128 "$work/tone.wav" "$app/tmp/song.mp3"
cp "$app/tmp/song.mp3" "$app/tmp/tmpfile1.mp3.bak"
(cd "$app" && find . -type f -exec md5sum {} + | sort -k2) >"$work/user-files"
check "the desktop's bus starts nothing installed on the machine" bus_starts_nothing_installed
start "$app"
check "tray icon" wait_for 100 tray_window
xdotool mousemove "$tray_x" "$tray_y" click 1
check "a click records" wait_for 30 recording
sleep 2
xdotool mousemove "$tray_x" "$tray_y" click 1
save_take "$work/first-take"
check "the take is saved" wait_for 50 test -s "$work/first-take.mp3"
kill -TERM "$pid"
check "exit" exited_with_zero "$pid" 50
check "the user's files are byte-identical, and nothing was added beside them" \
  bash -c "cd '$app' && find . -type f -exec md5sum {} + | sort -k2 | cmp -s - '$work/user-files'"
check "the settings are in the user's config folder" grep -qx "LastDir=$work/" "$user_settings"
for folder in "$XDG_CONFIG_HOME/tapewren" "$XDG_STATE_HOME/tapewren" "$user_takes"; do
  check "${folder#"$work"/} is the user's alone" [ "$(stat -c %a "$folder")" = 700 ]
done

# Single instance: a second start asks the first to show itself (through the
# session bus), then ends with code 0; with no session bus it ends silently.
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
# A portable copy beside it answers its own second starts.
side=$work/side
install_copy "$side"
printf '[Recorder]\nHideWiz1=1\n' >"$side/quillby.ini"
start "$side"
portable=$pid
two_connected() { [ "$(pulse_client_count)" -ge 2 ]; }
check "a portable copy runs beside it" wait_for 50 two_connected
start "$side"
check "its second start shows a configuration window" wait_for 20 window_of_size 348x508
check "the portable copy's" [ "$(xdotool getwindowpid "$(window_of_size 348x508)")" = "$portable" ]
click_window "$(window_of_size 348x508)" $((241 + 37)) $((462 + 15))
check "which Cancel closes" wait_for 30 no_tapewren_window
kill -TERM "$portable"
check "the portable copy exits" exited_with_zero "$portable" 50
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
check "exit wrote the settings" grep -q '^PopCount=' "$user_settings"

# A quillby.ini beside the program makes a portable copy, which keeps its
# files there. Stored values load clamped, and exit writes the eight keys in
# order.
app=$work/portable
install_copy "$app"
printf '[Recorder]\nQuality=99\nVolume=0\nStereo=yes\nVBR=0x1\nChannel=7\n' >"$app/quillby.ini"
mkdir -p "$app/tmp/old"
touch "$app/tmp/tmpfile1.mp3" "$app/tmp/old/x" "$app/tmp/notes.txt"
chmod 444 "$app/tmp/tmpfile1.mp3" "$app/tmp/old/x" "$app/tmp/notes.txt"
start "$app"
check "started with stored settings" wait_for 50 connected
check "a read-only take without sound is removed at start" wait_for 30 bash -c "[ ! -e '$app/tmp/tmpfile1.mp3' ]"
check "a folder in tmp is not ours and stays" [ -e "$app/tmp/old/x" ]
check "nor is an empty file of another name" [ -e "$app/tmp/notes.txt" ]
kill -TERM "$pid"
check "exit after stored settings" exited_with_zero "$pid" 50
# Sources in index order: the monitor of the speakers comes first, so the
# default choice is input 0.
expected=$'[Recorder]\nQuality=76\nVolume=1\nStereo=1\nVBR=1\nChannel=0\nChannelName=Monitor of Speakers\nHideWiz1=0\nPopCount=1'
check "clamped values written back" [ "$(cat "$app/quillby.ini")" = "$expected" ]
rm "$app/quillby.ini" "$user_settings"
# Qt's own options are Qt's, not unknown ones.
start "$app" -platform xcb -style Fusion
check "Qt's options start it" wait_for 50 connected
kill -TERM "$pid"
exited_with_zero "$pid" 50
# Without a file the volume is the chosen input's own: the monitor is at 100 %.
expected=$'[Recorder]\nChannel=0\nChannelName=Monitor of Speakers\nQuality=12\nVolume=100\nStereo=1\nVBR=0\nHideWiz1=0\nPopCount=1'
check "a new file holds the eight keys in order" [ "$(cat "$user_settings")" = "$expected" ]
check "in the user's folder, not beside the program" [ ! -e "$app/quillby.ini" ]

# A settings file it may not write: "Unable to write to" at exit, and a
# SIGTERM while that box waits for an OK ends the program all the same.
printf '[Recorder]\nQuality=5\n' >"$app/quillby.ini"
chmod 444 "$app/quillby.ini"
start "$app"
check "tray icon for the read-only settings" wait_for 100 tray_window
tray_menu x
check "exit says it cannot write them" wait_for 50 visible_window Tapewren
text=$(box_text "$(visible_window Tapewren | head -1)")
check "\"Unable to write to\" (read: \"$text\")" grep -qF "Unable to write to" <<<"$text"
kill -TERM "$pid"
check "SIGTERM ends it within 5 s" exited_with_zero "$pid" 50
check "the read-only file is left as it was" [ "$(cat "$app/quillby.ini")" = $'[Recorder]\nQuality=5' ]
rm -f "$app/quillby.ini"

# "W" opens the optimizer alone; "/w" and "wizard" the tray program ("-w" is
# an unknown option, see install_test.sh).
wiz=$work/wizard
install_copy "$wiz"
rm -f "$user_settings"
start "$wiz" W
check "W shows the wizard window" wait_for 50 visible_window Tapewren
kill -TERM "$pid"
wait "$pid" 2>/dev/null
check "the wizard run reads and writes no settings" [ ! -e "$user_settings" ] && [ ! -e "$wiz/quillby.ini" ]
# SIGHUP (a closed terminal, a log-out) ends it as SIGTERM does.
for arg in /w wizard; do
  signal=TERM
  [ "$arg" = wizard ] && signal=HUP
  start "$wiz" "$arg" w
  check "$arg starts the tray program" wait_for 50 connected
  check "$arg shows no window" bash -c "! xdotool search --onlyvisible --name '^Tapewren' >/dev/null"
  kill -"$signal" "$pid"
  check "SIG$signal exits 0" exited_with_zero "$pid" 50
  check "$arg wrote settings at exit" grep -q '^PopCount=' "$user_settings"
  rm -f "$user_settings"
done

# A take that is 2 GB long, or anything else of that size under a take's
# name, is checked for sound by its start: side by side with the same take
# at its real length, it costs under a second and under 20 MB.
takes_start() { # sets $took (s) until the take is offered, and $peak (kB of memory) then
  local t0 t1
  t0=$(date +%s.%N)
  start "$wiz"
  wait_for 200 save_dialog_open || return 1
  t1=$(date +%s.%N)
  took=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')
  peak=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")
  discard_take
  kill -TERM "$pid"
  exited_with_zero "$pid" 50
}
mkdir -p "$user_takes"
cp "$work/first-take.mp3" "$user_takes/tmpfile9.mp3"
takes_start
small_took=$took small=$peak
cp "$work/first-take.mp3" "$user_takes/tmpfile9.mp3"
truncate -s 2G "$user_takes/tmpfile9.mp3"
takes_start
echo "offered in $small_took s with $small kB; 2 GB: $took s with $peak kB"
check "the 2 GB take is offered less than a second later ($small_took s, $took s)" \
  awk -v a="$small_took" -v b="$took" 'BEGIN { exit !(a != "" && b != "" && b - a < 1) }'
check "with less than 20 MB more ($small kB, $peak kB)" \
  awk -v a="$small" -v b="$peak" 'BEGIN { exit !(a > 0 && b > 0 && b - a < 20480) }'
check "Cancel and Yes discard it" [ ! -e "$user_takes/tmpfile9.mp3" ]

# A system bus whose daemon hangs, and no portal: the sleep inhibitor turns
# to the system bus at the first take, and the program stays free.
out=$("$e2e_scripts/session-bus.sh" "$work/system-bus")
system_pid=$(sed -n 2p <<<"$out")
pids+=("$system_pid")
kill -STOP "$system_pid"
DBUS_SYSTEM_BUS_ADDRESS=$(sed -n 1p <<<"$out") start "$app"
check "tray icon with a hung system bus" wait_for 100 tray_window
xdotool mousemove "$tray_x" "$tray_y" click 1
check "the click records" wait_for 30 recording
sleep 1
xdotool mousemove "$tray_x" "$tray_y" click 1
check "the next click brings \"Save as\" within 3 s" wait_for 30 save_dialog_open
kill -TERM "$pid"
check "SIGTERM ends it within 3 s" wait_for 30 bash -c "! kill -0 $pid 2>/dev/null"
wait "$pid" 2>/dev/null
kill -9 "$system_pid"

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
check "the program ends after the message" wait_for 50 bash -c "! kill -0 $pid 2>/dev/null"
wait "$pid"
rc=$?
check "with a failure's exit code ($rc)" [ "$rc" -eq 1 ]
check "and the message on stderr too" grep -qx "tapewren.ui: Can not initiate defualt recording device." "$work/program.log"
check "quillby.ini untouched" [ "$(cat "$dead/quillby.ini")" = $'[Recorder]\nQuality=5' ]
check "tmp untouched" [ "$(cat "$dead/tmp/tmpfile1.mp3")" = take ]

finish program_test
