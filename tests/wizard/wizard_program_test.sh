#!/usr/bin/env bash
# The Sound Optimizer alone ("tapewren w") under the test desktop: its three
# pages, a search on a loud tone, Finish and the close box; nothing stored.
set -uo pipefail
exe=${1:?usage: wizard_program_test.sh path/to/tapewren}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

monitor_volume() { pactl get-source-volume spk.monitor | awk -F/ 'NR == 1 { gsub(/[ %]/, "", $2); print $2 }'; }
volume_below() { [ "$(monitor_volume)" -lt "$1" ]; }
volume_above() { [ "$(monitor_volume)" -gt "$1" ]; }
volume_is() { [ "$(monitor_volume)" = "$1" ]; }
monitor_index() { pactl list short sources | awk '$2 == "spk.monitor" { print $1 }'; }
# Ours only: a program of an earlier test may still be leaving the monitor.
our_source() {
  pactl list source-outputs | awk -v p="$pid" '/^Source Output/ { src = "" } /^\tSource: / { src = $2 }
    /application.process.id = / { gsub(/"/, "", $3); if ($3 == p) print src }'
}
searching_monitor() { [ "$(our_source)" = "$(monitor_index)" ]; }
click_at() { xdotool mousemove --window "$win" "$1" "$2" click 1; } # in the window's client area
window_shot() { # name: the wizard window alone, where TAPEWREN_SHOTS names a folder
  if [ -n "${TAPEWREN_SHOTS:-}" ]; then import -window "$win" "$TAPEWREN_SHOTS/$1.png"; fi
}
# Full scale into the speakers (sox makes "vol 1.0" 3 dB quieter). Not at the
# desktop's 440 Hz: the two would add in a phase fixed for as long as both
# play, and in opposite phase the mix stays below what counts as too loud.
loud_tone() {
  setsid bash -c 'sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw - synth 600 sine 1000 vol 0.999 |
    pacat --latency-msec=10 --rate=44100 --channels=2 --format=s16le -d spk' </dev/null >/dev/null 2>&1 &
  pids+=("-$!") # its process group
  tone=$!
}

pactl set-source-volume spk.monitor 100%
wiz=$work/wizard
install_copy "$wiz"
start "$wiz" w
check "w shows the wizard" wait_for 50 visible_window Tapewren
win=$(visible_window Tapewren | head -1)
eval "$(xdotool getwindowgeometry --shell "$win")"
check "its window is 445 x 307" [ "$WIDTH" -eq 445 ] && [ "$HEIGHT" -eq 307 ]
check "no search on the welcome page" not_recording
sleep 0.3 # the first paint
window_shot wizard-welcome

click_at 365 235 # Start the Wizard
check "the channel page starts a search" wait_for 30 recording
# The first input, Monitor of Speakers. Home rather than Down: pressing it
# again, should the first press have gone astray on a loaded machine, picks
# the same entry.
for _ in 1 2 3; do
  xdotool windowactivate --sync "$win" key Home
  wait_for 30 searching_monitor && break
done
check "picking the monitor restarts the search on it (ours: $(our_source | tr "\n" " "), monitor: $(monitor_index))" searching_monitor
loud_tone
if ! check "the blue bar falls: the monitor is turned down" wait_for 100 volume_below 99; then
  echo "-- monitor at $(monitor_volume) %, our source $(our_source), monitor $(monitor_index)"
  pactl list sink-inputs | grep -E '^Sink Input|Mute:|Volume: front'
fi
sleep 0.5
window_shot wizard-channel
click_at 395 286 # Next
check "the search goes on past the channel page" recording
sleep 0.3
window_shot wizard-decide
# The fine-tune: 100, then a page down.
xdotool windowactivate --sync "$win" key End
sleep 0.2
xdotool key Page_Down
sleep 0.3
window_shot wizard-finetune
click_at 395 286 # Finish, where Next was
check "Finish ends the program" exited_with_zero "$pid" 100
check "the input has the fine-tune's 90 % ($(monitor_volume) %)" volume_is 90
check "nothing was stored" [ ! -e "$user_settings" ] && [ ! -e "$wiz/quillby.ini" ]
kill -- "-$tone" 2>/dev/null

# The close box ends it the same way, on any page.
start "$wiz" w
check "the wizard shows again" wait_for 50 visible_window Tapewren
win=$(visible_window Tapewren | head -1)
click_at 365 235
check "searching" wait_for 30 recording
xdotool windowactivate --sync "$win" key alt+F4
check "the close box ends the program" exited_with_zero "$pid" 100
check "still nothing stored" [ ! -e "$user_settings" ] && [ ! -e "$wiz/quillby.ini" ]
check "and the search ended with it" wait_for 20 not_recording

# Ended without Finish, by a signal it may handle or by one it cannot: the
# input gets back the volume it had before the search. A session that ends
# signals the volume guard too, maybe first.
loud_tone
for sig in TERM INT HUP KILL guard; do
  pactl set-source-volume spk.monitor 60%
  start "$wiz" w
  wait_for 50 visible_window Tapewren
  win=$(visible_window Tapewren | head -1)
  click_at 365 235
  wait_for 30 recording
  for _ in 1 2 3; do
    xdotool windowactivate --sync "$win" key Home
    wait_for 30 searching_monitor && break
  done
  check "$sig: the search turns the monitor up from 60 %" wait_for 50 volume_above 60
  if [ "$sig" = guard ]; then
    kill -TERM "$(pgrep -P "$pid" -f -- --volume-guard)"
    sleep 0.5 # the search goes on meanwhile
    kill -TERM "$pid"
  else
    kill "-$sig" "$pid"
  fi
  wait "$pid" 2>/dev/null
  wait_for 50 volume_is 60
  check "$sig: the monitor is back at 60 % ($(monitor_volume) %)" volume_is 60
done
kill -- "-$tone" 2>/dev/null

pactl set-source-volume spk.monitor 100%
[ "$failed" -eq 0 ] || tail -20 "$work/program.log"
finish wizard_program_test
