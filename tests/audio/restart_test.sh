#!/usr/bin/env bash
# The sound server dies during a take and comes back, with the real program
# under the test desktop: the take is offered for saving, a start while the
# server is gone fails without leaving a file, and once the server is back a
# new take records. Then inputs come and go, the server restarts with them,
# and it hangs: each next click records from the right input, or fails in
# time. The server is a private one of this test (the desktop's own stays
# untouched, of the same kind), reached through PULSE_SERVER.
set -uo pipefail
exe=${1:?usage: restart_test.sh path/to/tapewren path/to/desktop.sh}
desktop=${2:?usage: restart_test.sh path/to/tapewren path/to/desktop.sh}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

base=$work/pulse
at_exit '"$desktop" stop "$base"'
export PULSE_SERVER=unix:$base/run/pulse/native
server_pid() { cat "$base/server-pid" 2>/dev/null; }
start_server() { # and waits until it answers
  ( unset PULSE_SERVER; "$desktop" pulse "$base" >/dev/null 2>&1 ) && [ -n "$(server_pid)" ]
}
play_tone() { # [sink] [Hz]: low latency into one of the private server's outputs
  setsid bash -c "sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw - synth 600 sine ${2:-440} vol 0.5 |
    pacat --latency-msec=10 --rate=44100 --channels=2 --format=s16le -d ${1:-spk}" </dev/null >/dev/null 2>&1 &
  tone=$!
  echo $! >>"$base/tone.pids"
  check "a tone plays into ${1:-spk}" wait_for 100 tone_flowing "${1:-spk}"
}
box_shown() { visible_window Tapewren; }
menu() { # the tray menu, once no message box is open: our one other window
  local w
  for w in $(xdotool search --onlyvisible --classname tapewren 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$HEIGHT" -gt 100 ] && [ "$WIDTH" -lt 300 ] && return 0
  done
  return 1
}
message_box() { # a window named Tapewren that is not the configuration window
  local w
  for w in $(visible_window Tapewren); do
    [ "$(xdotool getwindowgeometry "$w" | awk '/Geometry/ { print $2 }')" != 348x508 ] && echo "$w" && return 0
  done
  return 1
}
no_box() { ! xdotool search --onlyvisible --name '^Tapewren$' >/dev/null 2>&1; }
take_files() { ls -A "$app/tmp" | wc -l; }
# That pid is gone: nothing may stop another process by it.
forget() { grep -vx "$1" "$base/pids" >"$base/pids.left"; mv "$base/pids.left" "$base/pids"; }

check "a private sound server starts" start_server
play_tone
start_ready
check "connected" wait_for 50 connected

xdotool mousemove "$tray_x" "$tray_y" click 1
check "recording" wait_for 30 recording
sleep 2
dead=$(server_pid)
kill -9 "$dead"
forget "$dead"
# A daemon killed this way leaves its pid file behind; should the number be
# taken by another process, the next daemon would think itself running.
wait_for 50 bash -c "! kill -0 $dead 2>/dev/null"
rm -f "$base/run/pulse/pid" "$base/server-pid"
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

# An output of its own playing 660 Hz: what its monitor records is told
# apart from the speakers' 440 Hz by ear, or here by sox.
output() { # name: loads a null sink, prints its module
  pactl load-module module-null-sink "sink_name=$1" "sink_properties=device.description=$1"
}
take_frequency() { # name: a take of two seconds, saved as name; prints its frequency
  xdotool mousemove "$tray_x" "$tray_y" click 1
  wait_for 30 recording || return 1
  sleep 2
  xdotool mousemove "$tray_x" "$tray_y" click 1
  wait_for 50 save_dialog_open || return 1
  save_as "$work/music/$1"
  wait_for 50 save_dialog_closed || return 1
  frequency "$work/music/$1.mp3"
}
near() { awk -v f="$1" -v want="$2" 'BEGIN { exit !(f > want - 10 && f < want + 10) }'; }
listed() { # the inputs as the configuration window lists them, read off the screen
  local w
  xdotool mousemove "$tray_x" "$tray_y" click --repeat 2 --delay 80 1
  wait_for 30 window_of_size 348x508 || return 1
  w=$(window_of_size 348x508)
  eval "$(xdotool getwindowgeometry --shell "$w")"
  xdotool mousemove $((X + 100)) $((Y + 141)) click 1
  sleep 0.5
  import -window root -crop "300x200+$((X + 10))+$((Y + 120))" "$work/list.png"
  xdotool key Escape
  sleep 0.3
  for _ in 1 2 3; do
    xdotool mousemove $((X + 241 + 37)) $((Y + 462 + 15)) click 1 # Cancel
    wait_for 10 bash -c '! xdotool search --onlyvisible --name "^Tapewren\$" >/dev/null' && break
  done
  convert "$work/list.png" -resize 300% -colorspace Gray "$work/list-big.png"
  tesseract "$work/list-big.png" - 2>/dev/null | tr '\n' ' '
}

output extra >/dev/null
play_tone extra 660
# The stored index names another input; the stored name wins.
printf '[Recorder]\nChannel=0\nChannelName=Monitor of extra\nVolume=100\nQuality=61\n' >"$app/quillby.ini"
start "$app"
check "tray icon again" wait_for 100 tray_window
f=$(take_frequency by-name)
check "after a restart of the program the stored name picks the input ($f Hz)" near "$f" 660

# The server restarts and the output is made again under the same name.
dead=$(server_pid)
kill -9 "$dead"
forget "$dead"
wait_for 50 bash -c "! kill -0 $dead 2>/dev/null"
rm -f "$base/run/pulse/pid" "$base/server-pid"
check "the server restarts" start_server
check "the program reconnects" wait_for 200 connected
extra=$(output extra)
play_tone extra 660
extra_tone=$tone
play_tone spk 440
f=$(take_frequency restarted)
check "the output made again is recorded ($f Hz)" near "$f" 660

# The chosen input goes while another comes, as a USB microphone unplugged.
output other >/dev/null
kill -- "-$extra_tone" # its sound goes with it, not on to the speakers
pactl unload-module "$extra"
check "a popup shows" wait_for 50 popup_shown
shot input-gone
told() { # a popup says the chosen input is gone
  local w
  for w in $(xdotool search --onlyvisible --classname tapewren 2>/dev/null); do
    [ "$(xdotool getwindowgeometry "$w" | awk '/Geometry/ { print $2 }')" = 148x121 ] &&
      import -window "$w" "$work/popup.png" && convert "$work/popup.png" -resize 300% "$work/popup-big.png" &&
      tesseract "$work/popup-big.png" - 2>/dev/null | tr '\n' ' ' | grep -q "no longer" && return 0
  done
  return 1
}
check "saying that the input is gone" wait_for 30 told
f=$(take_frequency fallback)
check "the next click records the default input, the speakers ($f Hz)" near "$f" 440
inputs=$(listed)
echo "the configuration window lists: $inputs"
check "the configuration window lists the new input" grep -q other <<<"$inputs"
check "and not the one gone" test -n "${inputs##*extra*}"
check "and is closed again" no_box

# A server that hangs: a start fails in time, a stop keeps the take, and
# the program answers all along.
play_tone
kill -STOP "$(server_pid)"
t0=$(date +%s.%N)
xdotool mousemove "$tray_x" "$tray_y" click 1
check "a hung server: the start fails with a message" wait_for 40 message_box
check "within 3 s of the click" awk -v t0="$t0" -v now="$(date +%s.%N)" 'BEGIN { exit !(now - t0 < 3) }'
shot server-hung
text=$(box_text "$(message_box)")
check "saying so ($text)" grep -q "Unable to start recording" <<<"$text"
xdotool key Return
check "the message closes" wait_for 30 no_box
xdotool mousemove "$tray_x" "$tray_y" click 3
check "the tray menu opens while the server hangs" wait_for 20 menu
xdotool key Escape
kill -CONT "$(server_pid)"
sleep 1
xdotool mousemove "$tray_x" "$tray_y" click 1
check "once it answers again, a take records" wait_for 30 recording
sleep 2
kill -STOP "$(server_pid)"
t0=$(date +%s.%N)
xdotool mousemove "$tray_x" "$tray_y" click 1
check "a stop during a hang opens the save dialog" wait_for 40 save_dialog_open
check "within 3 s of the click" awk -v t0="$t0" -v now="$(date +%s.%N)" 'BEGIN { exit !(now - t0 < 3) }'
save_as "$work/music/hung"
check "it is saved" wait_for 50 save_dialog_closed
n=$(samples "$work/music/hung.mp3")
check "with what was captured before the hang ($n samples)" awk -v n="$n" 'BEGIN { exit !(n > 1.5 * 44100) }'
kill -CONT "$(server_pid)"
sleep 1
f=$(take_frequency after-hang)
check "and after that hang, too ($f Hz)" near "$f" 440

kill -TERM "$pid"
check "exit" exited_with_zero "$pid" 50
if [ "$failed" -gt 0 ]; then
  echo "-- the private sound server's log:"
  tail -30 "$base/pulse.log"
  pactl info 2>&1 | head -3
fi
finish server_restart_test
