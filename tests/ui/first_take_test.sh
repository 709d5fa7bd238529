#!/usr/bin/env bash
# The first take without a settings file records the input as loud as the
# desktop hears it, and leaves the input's volume as it was. Needs the
# desktop's tone (scripts/desktop.sh tone) playing into the speakers.
set -uo pipefail
exe=${1:?usage: first_take_test.sh path/to/tapewren}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

pactl set-source-volume spk.monitor 100%
# What the desktop itself captures from the monitor, without the program: a
# second and a half, of which the level is taken past the first half second,
# as of the take.
parec -d spk.monitor --latency-msec=20 --rate=44100 --channels=2 --format=s16le --raw 2>/dev/null |
  head -c $((44100 * 4 * 3 / 2)) >"$work/reference.raw"
reference=$(rms_db -t raw -r 44100 -c 2 -b 16 -e signed "$work/reference.raw")

app=$work/app
install_copy "$app"
start "$app"
check "tray icon" wait_for 100 tray_window
xdotool mousemove "$tray_x" "$tray_y" click 1
check "recording" wait_for 30 recording
sleep 1.5
xdotool mousemove "$tray_x" "$tray_y" click 1
check "the save dialog opens" wait_for 50 visible_window "Save as"
save_as "$work/first"
check "saved" wait_for 50 test -s "$work/first.mp3"
take=$(take_db "$work/first.mp3")
echo "parec of the source: $reference dB RMS; first take: $take dB RMS"
check "the first take is as loud as the source ($take vs $reference dB)" within_db "$take" "$reference" 1
check "the input's volume is unchanged ($(monitor_volume) %)" [ "$(monitor_volume)" = 100 ]
kill -TERM "$pid"
check "exit" exited_with_zero "$pid" 50
check "the volume is stored as the input had it" grep -qx 'Volume=100' "$user_settings"
finish first_take_test
