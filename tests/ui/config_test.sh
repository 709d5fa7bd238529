#!/usr/bin/env bash
# The configuration window of the real program under the test desktop.
set -uo pipefail
exe=${1:?usage: config_test.sh path/to/tapewren}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

main_window() { window_of_size 348x508; }
main_window_shown() { main_window >/dev/null; }
main_window_gone() { ! main_window; }
# The hint beside the pointer: the program's one small window that is
# neither the tray icon nor a popup; sets hint_x.
hint_window() {
  local w
  for w in $(xdotool search --onlyvisible --classname tapewren 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    if [ "$WIDTH" -gt 32 ] && [ "$HEIGHT" -lt 60 ]; then
      hint_x=$X
      hint=$w
      return 0
    fi
  done
  return 1
}
open_window() {
  xdotool mousemove "$tray_x" "$tray_y" click --repeat 2 --delay 80 1
  wait_for 30 main_window || return 1
  eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
  wx=$X
  wy=$Y
}
at() { xdotool mousemove $((wx + $1)) $((wy + $2)); } # a point of the window
# The centre of the quality slider's thumb for a preset (16 + 6 + value x 164 / 76).
quality_x() { echo $((16 + 6 + ($1 * 164 + 38) / 76)); }

hint_x=0 wx=0 wy=0
fake_opener
app=$work/app
install_copy "$app"
cp "$(dirname "$exe")/Tapewren.html" "$(dirname "$exe")/faq.htm" "$(dirname "$exe")"/tapewren_*.qm "$app/"
# English wins over the German locale and the German catalogue beside it.
export LANG=de_DE.UTF-8 LANGUAGE=en
printf '[Recorder]\nChannel=0\nVolume=40\nQuality=12\nPopCount=9\n' >"$app/quillby.ini"
start "$app"
check "the icon appears in the tray" wait_for 100 tray_window
tray_window

check "a double click opens the window" open_window
check "it sits at the bottom right of the screen" test "$wx,$wy" = "671,230"
sleep 0.3
shot config-window
face_text() { # the open window, read off the screen
  window_text "$(main_window)"
}
check "the English texts are as they were: $(face_text)" \
  bash -c '[[ $0 == *"Recording Quality"*"Optimizer"*"Cancel"* ]]' "$(face_text)"

# Until it is dragged, the slider's hint is the one made at start-up, read
# off the screen: the rate on one line, the bit rate on the next.
at "$(quality_x 12)" 223
check "the pointer over the slider shows its hint" wait_for 30 hint_window
import -window "$hint" "$work/hint.png"
convert "$work/hint.png" -resize 400% -colorspace Gray "$work/hint-big.png"
tesseract "$work/hint-big.png" - 2>/dev/null | grep . >"$work/hint.txt"
check "the hint shows two lines: $(tr '\n' '|' <"$work/hint.txt")" \
  awk 'NR == 1 && /SampleRate/ && !/Bit/ { one = 1 } NR == 2 && /BitRate/ { two = 1 }
       END { exit !(one && two && NR == 2) }' "$work/hint.txt"

# Dragging the quality slider: the hint goes along with the pointer.
at "$(quality_x 12)" 223
xdotool mousedown 1
at "$(quality_x 30)" 223
check "dragging shows the hint" wait_for 20 hint_window
first=$hint_x
at "$(quality_x 61)" 223
sleep 0.3
hint_window
check "the hint follows the pointer" test $((hint_x - first)) -eq $(($(quality_x 61) - $(quality_x 30)))
shot config-drag
xdotool mouseup 1

# Apply: the window goes, the summary comes.
at $((132 + 37)) $((462 + 15)) && xdotool click 1
check "Apply hides the window" wait_for 30 main_window_gone
check "Apply shows the summary popup" wait_for 30 popup_shown
shot config-apply

# Minimised through the window manager, the window goes back to the tray,
# which answers again.
check "the window opens again" open_window
xdotool windowminimize "$(main_window)"
check "minimising hides the window" wait_for 30 main_window_gone
check "a double click brings it back" open_window
at $((132 + 37)) $((462 + 15)) && xdotool click 1
check "Apply hides it" wait_for 30 main_window_gone
sleep 0.5 # a click right after a double click would count as part of it
xdotool mousemove "$tray_x" "$tray_y" click 1
check "and a click records again" wait_for 50 recording
xdotool mousemove "$tray_x" "$tray_y" click 1
check "the take is thrown away" discard_take
check "the popups go with a click" wait_for 20 close_popups

# The links go to the desktop's opener.
check "the window opens again" open_window
at $((42 + 20)) $((421 + 6)) && xdotool click 1
check "Getting Support opens the support page" wait_for 50 opened https://github.com/tapewren/tapewren/issues
at $((43 + 20)) $((373 + 6)) && xdotool click 1
check "the version opens the product page" wait_for 50 opened https://github.com/tapewren/tapewren
at $((43 + 20)) $((397 + 6)) && xdotool click 1
check "the FAQ opens the page beside the program" wait_for 50 opened "$app/faq.htm"
at $((28 + 18)) $((454 + 18)) && xdotool click 1
check "Help opens the guide beside the program" wait_for 50 opened "$app/Tapewren.html"
check "the window stays open meanwhile" main_window_shown

# The input list ends with the microphone and the speakers together.
at 100 141 && xdotool click 1
sleep 0.5
shot input-list
import -window root -crop "200x90+$((wx + 20))+$((wy + 130))" "$work/list.png"
convert "$work/list.png" -resize 300% -colorspace Gray "$work/list-big.png"
tesseract "$work/list-big.png" - 2>/dev/null | grep . >"$work/list.txt"
check "the list offers both at once: $(tr '\n' '|' <"$work/list.txt")" \
  test "$(tail -1 "$work/list.txt")" = "Microphone and speakers"
xdotool key Escape

# No title bar: the face itself moves the window.
at 300 60
xdotool mousedown 1
at 250 40
at 200 20
xdotool mouseup 1
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
check "dragging the face moves the window" test "$X,$Y" = "$((wx - 100)),$((wy - 40))"
wx=$X
wy=$Y

# The optimizer: the tone never passes the threshold, so the search stays at
# 100, and that comes back into the window's volume (it was 40).
wizard_window() { window_of_size 445x307; }
wizard_gone() { ! wizard_window; }
monitor_volume() { pactl get-source-volume spk.monitor | awk -F/ 'NR == 1 { gsub(/[ %]/, "", $2); print $2 }'; }
monitor_at_full() { [ "$(monitor_volume)" = 100 ]; }
at $((205 + 54)) $((293 + 13)) && xdotool click 1
check "the optimizer button opens the wizard" wait_for 50 wizard_window
wiz=$(wizard_window)
xdotool mousemove --window "$wiz" 365 235 click 1 # Start the Wizard
check "the wizard searches" wait_for 30 recording
xdotool key ctrl+alt+p
sleep 0.5
not_corked() { ! corked; }
check "the pause key leaves the search alone" not_corked
sleep 0.5
xdotool mousemove --window "$wiz" 395 286 click 1 # Next
sleep 0.3
xdotool mousemove --window "$wiz" 395 286 click 1 # Finish, where Next was
check "Finish closes the wizard" wait_for 30 wizard_gone
check "and its search" wait_for 30 not_recording
check "the configuration window is still there" main_window_shown

# Cancel keeps the values: the next take and the exit use them.
at $((241 + 37)) $((462 + 15)) && xdotool click 1
check "Cancel hides the window" wait_for 30 main_window_gone
pactl set-source-volume spk.monitor 50%
xdotool mousemove "$tray_x" "$tray_y" click 1
check "a click records" wait_for 50 recording
check "at the volume the optimizer chose" wait_for 30 monitor_at_full
kill -TERM "$pid"
# A session that ends has nobody to answer "Save as": the take waits for the
# next start.
check "a signal during a take ends it within 2 s, asking nothing" exited_with_zero "$pid" 20
check "the take is kept" [ "$(find "$app/tmp" -name 'tmpfile*.mp3' | wc -l)" -eq 1 ]
check "the dragged quality is kept" grep -qx "Quality=61" "$app/quillby.ini"
check "the optimizer's volume is kept" grep -qx "Volume=100" "$app/quillby.ini"
pactl set-source-volume spk.monitor 100%

# In German: the window's faces and buttons, and the tray menu.
app_de=$work/app-de
install_copy "$app_de"
cp "$app"/tapewren_*.qm "$app_de/"
printf '[Recorder]\nChannel=0\nVolume=40\nQuality=12\nPopCount=9\n' >"$app_de/quillby.ini"
LANGUAGE=de start "$app_de"
check "the German program's icon appears" wait_for 100 tray_window
tray_window
check "its window opens" open_window
sleep 0.3
shot config-window-de
text=$(window_text "$(main_window)")
check "the window speaks German: $text" \
  bash -c '[[ $0 == *"Aufnahmequalit"*"Optimierer"*"Abbrechen"* && $0 != *"Cancel"* ]]' "$text"
at $((241 + 37)) $((462 + 15)) && xdotool click 1
check "Abbrechen hides it" wait_for 30 main_window_gone
sleep 0.5
xdotool mousemove "$tray_x" "$tray_y" click 3
sleep 0.5
shot tray-menu-de
import -window root "$work/menu.png"
convert "$work/menu.png" -resize 200% -colorspace Gray "$work/menu-big.png"
text=$(tesseract -l deu "$work/menu-big.png" - 2>/dev/null | tr '\n' ' ')
check "the tray menu speaks German: $text" \
  bash -c '[[ $0 == *"Aufnehmen"*"Konfigurieren"*"Beenden"* ]]' "$text"
xdotool key Escape
kill -TERM "$pid"
check "the German program ends" exited_with_zero "$pid" 50

finish config_test
