#!/usr/bin/env bash
# A desktop without a tray (openbox, and no watcher on a bus of the test's
# own): a window stands in for the tray icon and takes its clicks; a tray
# started later (trayer) takes the icon, and when it goes the window comes
# back. Closing the window is Exit.
set -uo pipefail
exe=${1:?usage: notray_test.sh path/to/tapewren}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

own_bus || { echo "no dbus-daemon"; exit 1; }
own_display openbox || { echo "no X display"; exit 1; }
recorder_window() { window_of_size 260x300; }
no_recorder_window() { ! recorder_window; }
no_tray_icon() { ! tray_window; }
config_window() { window_of_size 348x508; }
no_config_window() { ! config_window; }
two_seconds() { # file: a take of about 2.6 s
  awk -v n="$(samples "$1")" 'BEGIN { exit !(n > 2.2 * 44100 && n < 3.4 * 44100) }'
}

start_plain
check "the recorder window appears within 2 s" wait_for 20 recorder_window || { finish notray_test; exit 1; }
check "no tray icon" no_tray_icon
sleep 0.5
shot recorder-window
win=$(recorder_window)
click_window "$win" 130 80 3
sleep 0.5
xdotool key c
check "its right click is the tray menu (Config...)" wait_for 30 config_window
click_window "$(config_window)" $((241 + 37)) $((462 + 15))
check "Cancel" wait_for 30 no_config_window
sleep 0.5
click_window "$win" 130 80
check "a click on it records" wait_for 30 recording
sleep 2.6
shot recorder-window-recording
click_window "$win" 130 80
check "a second click stops and opens Save as" wait_for 50 save_dialog_open
check "named" save_take "$work/music/no tray"
check "saved" wait_for 50 test -s "$work/music/no tray.mp3"
check "the take decodes to about 2.6 s" two_seconds "$work/music/no tray.mp3"


trayer --edge bottom --align right --widthtype request --height 24 >"$work/trayer.log" 2>&1 &
tray=$!
pids+=("$tray")
check "a tray started later takes the icon" wait_for 50 tray_window
check "and the window goes" wait_for 30 no_recorder_window
kill "$tray"
check "the tray gone, the window comes back" wait_for 30 recorder_window
check "with no icon left behind" no_tray_icon

xdotool windowactivate --sync "$(recorder_window)" key alt+F4
check "closing the window ends the program" exited_with_zero "$pid" 100
check "as Exit does: the settings written" grep -q '^PopCount=' "$app/quillby.ini"
finish notray_test
