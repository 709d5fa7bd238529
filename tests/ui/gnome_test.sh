#!/usr/bin/env bash
# On GNOME Shell 43 as Debian 12 ships it (headless on Wayland, its own
# notification service, the GNOME and GTK portals): the program, a Wayland
# client with nothing but the desktop to go by, shows its window in place of
# a tray, says in the start-up notification's summary (all that GNOME's
# banner shows) what became of its keys, and records a take by its button;
# under XWayland it claims no key that only its own windows would see; its
# configuration window adds the keys to GNOME's own shortcuts once asked,
# beside the user's, and the command they run records; with the AppIndicator
# extension its item takes the window's place and the menu's first item
# records and stops.
set -uo pipefail
exe=${1:?usage: gnome_test.sh path/to/tapewren}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

own_desktop gnome gnome_test
# As a screen reader would, which GNOME's own switch turns on for every program.
gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
  --method org.freedesktop.DBus.Properties.Set org.a11y.Status IsEnabled '<true>' >/dev/null
# Only what the program sends, not the service's own hand-on to the shell.
dbus-monitor --session "type='method_call',destination='org.freedesktop.Notifications',member='Notify'" \
  >"$work/notify.log" 2>&1 &
pids+=("$!")
disown # its end at the test's end is no news
check "the bus is watched" wait_for 50 grep -q NameLost "$work/notify.log"

gnome_start() { # VAR=value...: the program with the desktop's environment and those alone
  env -u QT_QPA_PLATFORM "$@" "$app/tapewren" >>"$work/program.log" 2>&1 &
  pid=$!
  pids+=("$pid")
}
stop_program() {
  kill -TERM "$pid"
  check "ends with 0" exited_with_zero "$pid" 100
}
notifies() { [ "$(grep -c 'member=Notify' "$work/notify.log")" -ge "$1" ]; }
notification() { # n, summary|body: of the nth Notify call, its 4th or 5th argument
  awk -v n="$1" -v want="$2" '
    /member=Notify/ { call++; s = 0; next }
    call == n && /^   string "/ { s++; sub(/^   string "/, "") }
    call == n && s == (want == "summary" ? 3 : 4) { text = text $0 " " }
    call == n && want == "body" && s == 4 && /"$/ { s++ }
    END { sub(/" $/, "", text); print text }' "$work/notify.log"
}
shown() { # role, name: a window of the program's, as a screen reader sees it
  a11y windows 2>/dev/null | grep -q "^$1	$2	.*showing"
}
# A window never shown is not on the accessibility bus at all.
window_hidden() { ! shown frame Tapewren; }
name_take() { # path: Save as answered as a screen reader's user would
  wait_for 50 shown dialog "Save as" && a11y type "File name:" "$1" && a11y press Save
}
saved() { # file, seconds: it is written, and ffprobe's duration of it is about that;
  # the first take of a freshly started sound server may come up to a second short
  local d
  wait_for 50 test -s "$1" || return 1
  d=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$1")
  awk -v d="$d" -v s="$2" 'BEGIN { exit !(d > s - 1.3 && d < s + 0.8) }' || { echo "$1: $d s of $2 s"; false; }
}
now() { date +%s.%N; }
since() { awk -v t="$1" -v n="$(now)" 'BEGIN { print n - t }'; }
take() { # name, command that records, command that stops: the take saved as $work/music/NAME.mp3
  local t0 seconds
  "$2"
  t0=$(now)
  check "it records" wait_for 30 recording || return 1
  sleep 2.5
  "$3"
  seconds=$(since "$t0")
  check "and stops, opening Save as" wait_for 50 shown dialog "Save as" || return 1
  check "which takes a name" name_take "$work/music/$1"
  check "and saves a take that decodes to the time recorded" saved "$work/music/$1.mp3" "$seconds"
}
record_button() { a11y press Record; }
stop_button() { a11y press Stop; }

app=$work/app
install_copy "$app"
printf '[Recorder]\nChannel=0\nVolume=100\nQuality=61\n' >"$app/quillby.ini"
mkdir -p "$work/music"
gnome_start
check "it shows its window in place of a tray" wait_for 100 shown frame Tapewren
no_x11_window() { xdpyinfo >/dev/null && ! xdotool search --classname tapewren; }
check "as a Wayland client, not through XWayland" no_x11_window
check "gnome-shell's notification service gets the start-up notification" wait_for 50 notifies 1
summary=$(notification 1 summary)
check "its summary names the state of the keys (it says: \"$summary\")" \
  grep -Eiq 'hot ?keys?|shortcuts?' <<<"$summary"
[ -z "${TAPEWREN_SHOTS:-}" ] || "$e2e_scripts/desktop.sh" shot "$desk" "$TAPEWREN_SHOTS/gnome-window.png"
take gnome record_button stop_button
# Wayland lets no window of ours choose its place: the "saved" popup is the
# server's notification, and plays the take from its action.
play_offered() {
  awk '/member=Notify/ { found = found || (s && p); s = p = 0; next }
    /^   string "File.s been saved\."$/ { s = 1 }
    /^      string "play"$/ { p = 1 }
    END { exit !(found || (s && p)) }' "$work/notify.log"
}
check "the saved take's notification offers to play it" wait_for 30 play_offered

stop_program

# An X11 client in a Wayland session: an X11 grab sees a key only while one
# of the program's own windows has the focus, so no balloon may claim one.
sent=$(grep -c member=Notify "$work/notify.log")
gnome_start QT_QPA_PLATFORM=xcb
check "under XWayland, the start-up notification comes too" wait_for 100 notifies $((sent + 1))
body=$(notification $((sent + 1)) body)
claims_no_key() { ! grep -q 'Record/Stop hotkey: Ctrl+Alt+O' <<<"$body"; }
check "and does not claim Ctrl+Alt+O (it says: \"$body\")" claims_no_key
stop_program

# GNOME 43 has no shortcut portal: the configuration window offers to add
# the keys to GNOME's own custom shortcuts, beside the user's, and they then
# run the program's commands.
keys=org.gnome.settings-daemon.plugins.media-keys
entry=$keys.custom-keybinding:/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings
gsettings set "$keys" custom-keybindings "['/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/custom0/']"
gsettings set "$entry/custom0/" name Terminal
gsettings set "$entry/custom0/" binding '<Super>t'
gsettings set "$entry/custom0/" command 'gnome-terminal'
gnome_start
check "the program starts again" wait_for 100 shown frame Tapewren
"$app/tapewren" # a second start: the configuration window
check "a second start opens the configuration window, which offers GNOME's shortcuts" \
  wait_for 50 a11y follow "Add hotkeys to GNOME"
check "it asks first" wait_for 50 a11y press Yes
check "then says they are GNOME's" wait_for 50 a11y press OK
listed=$(gsettings get "$keys" custom-keybindings)
check "dconf lists the user's entry and two of ours ($listed)" [ "$listed" = \
  "['/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/custom0/', '/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/tapewren-record-stop/', '/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/tapewren-pause-resume/']" ]
check "the user's own is as it was" [ "$(gsettings get "$entry/custom0/" binding)" = "'<Super>t'" ]
command=$(gsettings get "$entry/tapewren-record-stop/" command)
check "ours runs the program's record-stop ($command)" grep -q "tapewren' record-stop[\"']\$" <<<"$command"
check "on Ctrl+Alt+O" [ "$(gsettings get "$entry/tapewren-record-stop/" binding)" = "'<Control><Alt>o'" ]
check "and pause-resume on Ctrl+Alt+P" [ "$(gsettings get "$entry/tapewren-pause-resume/" binding)" = "'<Control><Alt>p'" ]
a11y press Cancel
config_closed() { ! shown dialog Tapewren; }
# A screen reader's press is a click a moment later: the record command must
# not find the program still busy with its window.
check "the configuration window closes" wait_for 50 config_closed
record_command() { "$app/tapewren" record-stop; }
take command record_command record_command
stop_program

check "the AppIndicator extension turns on" "$e2e_scripts/desktop.sh" appindicator "$desk"
items() {
  gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems
}
item() { items | grep -o "'[^'@]*@/[^']*'" | head -1 | tr -d "'"; } # service@path
registered() { [ -n "$(item)" ]; }
menu_call() { # method args...: on the item's menu, as the extension calls it
  gdbus call --session --dest "$service" --object-path "$menu" --method "com.canonical.dbusmenu.$1" -- "${@:2}"
}
first_item() { # the menu's first item as the shell shows it once opened: "id label"
  menu_call AboutToShow 0 >/dev/null &&
    menu_call GetLayout 0 1 '[]' | grep -o "<([0-9]*, {[^}]*}" | grep -v "'type': <'separator'>" | head -1 |
    sed -n "s/^<(\([0-9]*\), .*'label': <'\([^']*\)'.*/\1 \2/p"
}
click_first() { # label: the first item is that, and a click on it is passed on as the shell does
  local first
  first=$(first_item)
  check "the menu's first item is $1 (it is: \"${first#* }\")" [ "${first//_/}" = "${first%% *} $1" ]
  menu_call Event "${first%% *}" clicked '<0>' 0 >/dev/null
}
record_menu() { click_first Record; }
stop_menu() { click_first Stop; }
gnome_start
check "with it, the program registers an item" wait_for 100 registered
check "and its keys are now GNOME's" wait_for 50 grep -q \
  'string "Tapewren: hotkeys Ctrl+Alt+O (a GNOME shortcut) and Ctrl+Alt+P (a GNOME shortcut)"' \
  "$work/notify.log"
sleep 1
check "and its window is not shown" window_hidden
item=$(item)
service=${item%%@*}
menu=$(gdbus call --session --dest "$service" --object-path "${item#*@}" \
  --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu | grep -o "'/[^']*'" | tr -d "'")
take menu record_menu stop_menu
stop_program
finish gnome_test
