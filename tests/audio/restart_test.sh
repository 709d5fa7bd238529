#!/usr/bin/env bash
# The sound server dies during a take and comes back, with the real program
# under the test desktop: the take is offered for saving, a start while the
# server is gone fails without leaving a file, and once the server is back a
# new take records. The server is a private one of this test (the desktop's
# own stays untouched), reached through PULSE_SERVER.
set -uo pipefail
exe=${1:?usage: restart_test.sh path/to/tapewren path/to/desktop.sh}
desktop=${2:?usage: restart_test.sh path/to/tapewren path/to/desktop.sh}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

base=$work/pulse
at_exit '"$desktop" stop "$base"'
export PULSE_SERVER=unix:$base/run/pulse/native
server_pid() { cat "$base/run/pulse/pid" 2>/dev/null; }
start_server() { # and waits until it answers
  ( unset PULSE_SERVER; "$desktop" pulse "$base" >/dev/null 2>&1 ) && [ -n "$(server_pid)" ]
}
play_tone() { # low latency into the private server's speakers
  setsid bash -c 'sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw - synth 600 sine 440 vol 0.5 |
    pacat --latency-msec=10 --rate=44100 --channels=2 --format=s16le -d spk' </dev/null >/dev/null 2>&1 &
  echo $! >>"$base/tone.pids"
  wait_for 50 bash -c '[ -n "$(pactl list short sink-inputs)" ]'
}
box_shown() { visible_window Tapewren; }
no_box() { ! xdotool search --onlyvisible --name '^Tapewren$' >/dev/null 2>&1; }
take_files() { ls -A "$app/tmp" | wc -l; }

check "a private sound server starts" start_server
play_tone
start_ready
check "connected" wait_for 50 connected

xdotool mousemove "$tray_x" "$tray_y" click 1
check "recording" wait_for 30 recording
sleep 2
dead=$(server_pid)
kill -9 "$dead"
: >"$base/pids" # that pid is gone; nothing may stop another process by it
# A daemon killed this way leaves its pid file behind; should the number be
# taken by another process, the next daemon would think itself running.
wait_for 50 bash -c "! kill -0 $dead 2>/dev/null"
rm -f "$base/run/pulse/pid"
check "the take is offered for saving" wait_for 50 save_dialog_open
shot server-killed
check "the user was told" wait_for 30 popup_shown
save_as "$work/music/before"
check "it is saved" wait_for 50 save_dialog_closed
n=$(samples "$work/music/before.mp3")
check "and holds sound from before the crash ($n samples)" awk -v n="$n" 'BEGIN { exit !(n > 0) }'

sleep 0.5
xdotool mousemove "$tray_x" "$tray_y" click 1
check "no server: the start fails with a message" wait_for 50 box_shown
shot server-gone
check "and leaves no empty file" test "$(take_files)" -eq 0
xdotool key Return
check "the message closes" wait_for 30 no_box

check "the server comes back" start_server
check "the program reconnects by itself" wait_for 200 connected
play_tone
sleep 0.5
xdotool mousemove "$tray_x" "$tray_y" click 1
check "a new take records" wait_for 30 recording
sleep 2
xdotool mousemove "$tray_x" "$tray_y" click 1
check "its dialog opens" wait_for 50 save_dialog_open
save_as "$work/music/after"
check "it is saved" wait_for 50 save_dialog_closed
n=$(samples "$work/music/after.mp3")
# The stop may cut up to a capture fragment, and the server that has just
# come back starts its sink afresh.
check "about two seconds ($n samples)" awk -v n="$n" 'BEGIN { exit !(n > 1.2 * 44100 && n < 3 * 44100) }'
f=$(frequency "$work/music/after.mp3")
check "of the tone ($f Hz)" awk -v f="$f" 'BEGIN { exit !(f > 430 && f < 450) }'

kill -TERM "$pid"
check "exit" exited_with_zero "$pid" 50
if [ "$failed" -gt 0 ]; then
  echo "-- the private sound server's log:"
  tail -30 "$base/pulse.log"
  pactl info 2>&1 | head -3
fi
finish server_restart_test
