#!/usr/bin/env bash
# The tray on a StatusNotifierItem desktop: a private session bus with a fake
# watcher and notification server. The icon goes there instead of XEmbed, the
# start-up balloon is one notification, its point in the summary, left in the
# server's list after its ten seconds (never an empty one), one Activate
# records and two open the configuration window.
set -uo pipefail
exe=${1:?usage: sni_test.sh path/to/tapewren path/to/fake_sni}
fake=${2:?usage: sni_test.sh path/to/tapewren path/to/fake_sni}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

log=$work/sni.log
: >"$log"
own_bus || { echo "no dbus-daemon"; exit 1; }
"$fake" "$log" 2>>"$work/fake.log" &
pids+=("$!")
check "the fake desktop is on the bus" wait_for 50 grep -q ' ready$' "$log"

lines() { grep -c " $1 " "$log"; }
item=""
registered() { item=$(awk '$2 == "item" { print $3; exit }' "$log"); [ -n "$item" ]; }
activate() {
  dbus-send --session --type=method_call --dest="$item" /StatusNotifierItem \
    org.kde.StatusNotifierItem.Activate int32:0 int32:0
}

app=$work/app
install_copy "$app"
printf '[Recorder]\nChannel=0\nVolume=100\n' >"$app/quillby.ini"
start "$app"
check "the item registers with the watcher" wait_for 100 registered
no_tray_window() { ! tray_window; }
check "no XEmbed tray icon" no_tray_window
check "the start-up balloon arrives" wait_for 50 grep -q ' notify ' "$log"
shown_at=$SECONDS
check "it is the balloon, the keys in its summary" grep -q \
  ' notify [0-9]* Tapewren: hotkeys Ctrl+Alt+O and Ctrl+Alt+P|Single click to record/stop\\n' "$log"
check "no empty notification" bash -c "! grep -q ' notify [0-9]* |\$' '$log'"

activate
check "one Activate records" wait_for 50 recording
sleep 1
activate
check "the next one stops and asks where to save" wait_for 50 visible_window "Save as"
discard_take
check "the take is thrown away" wait_for 50 save_dialog_closed
sleep 0.5
activate
activate
check "two Activates open the configuration window" wait_for 50 visible_window Tapewren
check "and record nothing" not_recording
shot sni-config-window
check "still only the one notification" [ "$(lines notify)" -eq 1 ]
# The server takes it off the screen after the seconds it was given.
sleep $((shown_at + 11 - SECONDS > 0 ? shown_at + 11 - SECONDS : 0))
check "never withdrawn from the server's list" bash -c "! grep -q ' close ' '$log'"
kill -TERM "$pid"
exited_with_zero "$pid" 50 || true

# The desktop's XEmbed tray (IceWM's) with a notification server beside it:
# the balloon is a notification too, not Qt's own at a corner of the screen.
kill "${pids[@]:1}" 2>/dev/null
: >"$log"
"$fake" "$log" --notifications-only 2>>"$work/fake.log" &
pids+=("$!")
check "a notification server alone" wait_for 50 grep -q ' ready$' "$log"
start "$app"
check "the icon is in the XEmbed tray" wait_for 100 tray_window
check "the balloon is a notification" \
  wait_for 50 grep -q ' notify [0-9]* Tapewren: hotkeys .*|Single click to record/stop\\n' "$log"
# So is "File's been saved": the server shows it, not our own popup.
no_popup() { ! popup_shown; }
mkdir -p "$work/music"
xdotool mousemove "$tray_x" "$tray_y" click 1
check "a take records" wait_for 50 recording
sleep 1
xdotool mousemove "$tray_x" "$tray_y" click 1
check "Save as opens" wait_for 50 save_dialog_open
save_as "$work/music/noted"
check "the take is saved" wait_for 50 test -s "$work/music/noted.mp3"
check "the saved popup is a notification" \
  wait_for 50 grep -q " notify [0-9]* File's been saved.|Click to play now." "$log"
sleep 1
check "and not our own popup" no_popup
kill -TERM "$pid"
exited_with_zero "$pid" 50 || true
finish sni_test
