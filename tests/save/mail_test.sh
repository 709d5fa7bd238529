#!/usr/bin/env bash
# "Record and Email" with the real program under the test desktop: a fake
# mail client, registered as the desktop's mailto handler, records what
# xdg-email hands it; without any client the error box appears once; a fake
# desktop portal on a private bus takes the message before xdg-email could.
set -uo pipefail
exe=${1:?usage: mail_test.sh path/to/tapewren path/to/fake_portal}
fake_portal=${2:?usage: mail_test.sh path/to/tapewren path/to/fake_portal}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

# Only what the test sets up may answer: no mailer, browser or desktop of the
# machine, and no session bus (so no portal).
unset MAILER BROWSER XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
nobus="unix:path=$work/no-bus"

# The fake client writes the mailto address it was given.
mkdir -p "$work/xdg/config" "$work/xdg/data/applications" "$work/nothing/config" \
  "$work/nothing/data" "$work/empty-path" "$work/music"
cat >"$work/fakemail" <<SH
#!/bin/sh
printf '%s\n' "\$1" >>"$work/received"
SH
chmod +x "$work/fakemail"
printf '[Desktop Entry]\nType=Application\nName=Fake Mail\nExec=%s %%u\nMimeType=x-scheme-handler/mailto;\n' \
  "$work/fakemail" >"$work/xdg/data/applications/tapewren-fakemail.desktop"
printf '[Default Applications]\nx-scheme-handler/mailto=tapewren-fakemail.desktop\n' \
  >"$work/xdg/config/mimeapps.list"

field() { # name: the decoded value of that field of the received mailto address
  local raw
  raw=$(head -1 "$work/received" | sed 's/^mailto:[^?]*?//' | tr '&' '\n' | sed -n "s/^$1=//p")
  printf '%b' "${raw//%/\\x}"
}
error_box() { visible_window Error; }
is_active() { [ "$(printf '0x%x' "$1")" = "$(active_window)" ]; }
saved_dialog_gone() { ! xdotool search --onlyvisible --name '^Save as$' >/dev/null; }
three_seconds() { # file
  local n
  n=$(samples "$1")
  awk -v n="$n" 'BEGIN { exit !(n > 2.6 * 44100 && n < 3.6 * 44100) }'
}
# Record and Email from the tray menu, 3 s of tone, a click to stop, a name.
mail_take() { # path to save as
  tray_menu e
  wait_for 30 recording || return 1
  sleep 2.6 # the stop click is held back for the double-click time
  xdotool mousemove "$tray_x" "$tray_y" click 1
  save_take "$1"
}

app=$work/app
install_copy "$app"
printf '[Recorder]\nChannel=0\nVolume=100\nQuality=61\n' >"$app/quillby.ini"

XDG_CONFIG_HOME=$work/xdg/config XDG_DATA_HOME=$work/xdg/data DBUS_SESSION_BUS_ADDRESS=$nobus \
  start "$app"
check "tray icon" wait_for 100 tray_window
check "Record and Email saves the take" mail_take "$work/music/memo"
check "the mail client is started" wait_for 50 test -s "$work/received"
check "the dialog closes" wait_for 50 saved_dialog_gone
file=$work/music/memo.mp3
check "the subject" test "$(field subject)" = "Put your subject here"
check "the body" test "$(field body)" = "$(printf 'Your message text goes here\r\n\r\n--\r\nCreate voice mail with Tapewren')"
check "the placeholder recipient" test "$(field to)" = "recipient@example.com"
check "the saved file is the attachment" test "$(field attach)" = "$file"
check "it decodes to about 3 s" three_seconds "$file"
check "no error box" bash -c "! xdotool search --onlyvisible --name '^Error\$' >/dev/null"
check "the client ran once" test "$(wc -l <"$work/received")" -eq 1
kill -TERM "$pid"
check "exit" exited_with_zero "$pid" 50

# No handler and no xdg-email: the error box, once, on top; the file stays.
XDG_CONFIG_HOME=$work/nothing/config XDG_DATA_HOME=$work/nothing/data \
  DBUS_SESSION_BUS_ADDRESS=$nobus PATH=$work/empty-path start "$app"
check "tray icon again" wait_for 100 tray_window
check "the second take is saved" mail_take "$work/music/memo 2"
check "the error box appears" wait_for 50 error_box
check "one of it" test "$(error_box | wc -l)" -eq 1
shot mail-error
# On a busy machine the window manager may give the box the focus after
# windowactivate returns: Return goes to it only once it is the active one.
box=$(error_box | head -1)
xdotool windowactivate --sync "$box" 2>/dev/null || true
check "the box has the focus" wait_for 50 is_active "$box"
xdotool key Return
check "OK closes it and the dialog" wait_for 50 saved_dialog_gone
sleep 1
check "no second error box" bash -c "! xdotool search --onlyvisible --name '^Error\$' >/dev/null"
check "the saved file stays and decodes" three_seconds "$work/music/memo 2.mp3"
check "no client was started" test "$(wc -l <"$work/received")" -eq 1
kill -TERM "$pid"
check "exit" exited_with_zero "$pid" 50
# The portal: a private bus with the fake portal on it, and no xdg-email.
check "a private bus" private_bus
check "the fake portal is on it" fake_portal_on_bus "$fake_portal"
XDG_CONFIG_HOME=$work/nothing/config XDG_DATA_HOME=$work/nothing/data \
  DBUS_SESSION_BUS_ADDRESS=$bus PATH=$work/empty-path start "$app"
check "tray icon once more" wait_for 100 tray_window
file="$work/music/memo 3.mp3"
check "the third take is saved" mail_take "${file%.mp3}"
check "the portal is asked" wait_for 50 test -s "$work/portal/portal-calls"
check "once" test "$(cat "$work/portal/portal-calls")" = 1
check "with the subject" test "$(cat "$work/portal/portal-subject")" = "Put your subject here"
check "the body" test "$(cat "$work/portal/portal-body")" = "$(printf 'Your message text goes here\n\n--\nCreate voice mail with Tapewren')"
check "the placeholder recipient" test "$(cat "$work/portal/portal-addresses")" = "recipient@example.com"
check "its descriptor reads the saved file" cmp -s "$work/portal/portal-attachment-0" "$file"
check "it decodes to about 3 s" three_seconds "$file"
check "the dialog closes" wait_for 50 saved_dialog_gone
check "no error box" bash -c "! xdotool search --onlyvisible --name '^Error\$' >/dev/null"
kill -TERM "$pid"
check "exit" exited_with_zero "$pid" 50
kill "$portal_pid" "$bus_pid"
wait "$portal_pid" 2>/dev/null
finish mail_test
