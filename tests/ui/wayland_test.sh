#!/usr/bin/env bash
# Under Wayland (weston headless, Qt's Wayland platform chosen by itself from
# WAYLAND_DISPLAY alone): nothing on stderr, the hot keys bound through a
# fake GlobalShortcuts portal on a bus of the test's own and working through
# its Activated signal; without the portal the start-up notification says
# the keys are not there, and where the program is; Save as and the
# configuration window, the optimizer, the popup and the no-tray balloon show
# every control whole, none covering another.
set -uo pipefail
usage="usage: wayland_test.sh path/to/tapewren path/to/fake_portal path/to/fake_sni path/to/ui_desktop_test"
exe=${1:?$usage}
fake_portal=${2:?$usage}
fake_sni=${3:?$usage}
layout_test=${4:?$usage}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

own_bus || { echo "no dbus-daemon"; exit 1; }
# Under AddressSanitizer: where Mesa's EGL driver is installed, Qt's Wayland
# platform loads it, and it is unloaded before the leak report; only a full
# unwind reaches the libEGL_mesa frames that tests/lsan.supp names.
[ -z "${ASAN_OPTIONS:-}" ] || export ASAN_OPTIONS=$ASAN_OPTIONS:fast_unwind_on_malloc=0
check "the bus starts nothing installed on the machine" bus_starts_nothing_installed
socket=tapewren-$$
weston --backend=headless-backend.so --socket="$socket" --width=1024 --height=768 \
  --idle-time=0 >"$work/weston.log" 2>&1 &
pids+=("$!")
check "weston runs" wait_for 50 test -S "$XDG_RUNTIME_DIR/$socket"
laid_out() { # the layout cases of the desktop tests, on Wayland
  local limit=$((10 * ${TAPEWREN_TEST_TIME_SCALE:-1}))
  env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$socket" \
    timeout "$limit" "$layout_test" --gtest_filter='Languages/Layout.*' >"$work/layout.log" 2>&1 &&
    return 0
  [ $? != 124 ] || echo "the layout cases did not end within $limit s"
  grep -E 'Failure|covers|px of text|Which is|^  "' "$work/layout.log"
  false
}
check "every window: no control covers another, none is cut" laid_out
mkdir -p "$work/portal"
"$fake_portal" --shortcuts "$work/portal" >"$work/portal.out" 2>&1 &
portal=$!
pids+=("$portal")
check "the fake portal is on the bus" wait_for 50 grep -q ready "$work/portal.out"

wayland_start() { # the program with only WAYLAND_DISPLAY to go by; stderr apart
  env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY="$socket" "$app/tapewren" \
    >>"$work/program.log" 2>"$work/stderr" &
  pid=$!
  pids+=("$pid")
}
press() { # the desktop's shortcut of that id was pressed
  dbus-send --session --type=method_call --dest=org.freedesktop.portal.Desktop \
    /org/freedesktop/portal/desktop org.freedesktop.portal.GlobalShortcuts.EmitActivated \
    "string:$1"
}
bound() { grep -qx "$1" "$work/portal/shortcuts"; }
resumed() { ! corked; }
took() { # file: a take of 2.5 s at most (the paused second not in it); the
  # first take of a freshly started sound server may come up to a second short
  awk -v n="$(samples "$1")" 'BEGIN { exit !(n > 1.2 * 44100 && n < 3.3 * 44100) }'
}

app=$work/app
install_copy "$app"
printf '[Recorder]\nChannel=0\nVolume=100\nQuality=61\n' >"$app/quillby.ini"
wayland_start
check "the portal is asked to bind both keys" wait_for 50 test -s "$work/portal/shortcuts"
check "Ctrl+Alt+O preferred" bound "record-stop|Record/Stop|CTRL+ALT+O"
check "Ctrl+Alt+P preferred" bound "pause-resume|Pause/Resume|CTRL+ALT+P"
check "in one session" [ "$(cat "$work/portal/sessions")" = 1 ]
press record-stop
check "the record key records" wait_for 30 recording
sleep 1
press pause-resume
check "the pause key pauses" wait_for 20 corked
sleep 1
press pause-resume
check "and resumes" wait_for 20 resumed
sleep 1.5
press record-stop
check "the record key again stops" wait_for 30 not_recording
# Save as is open now; a SIGTERM leaves the take for the next start.
sleep 0.5
kill -TERM "$pid"
check "ends with 0" exited_with_zero "$pid" 100
check "the take decodes, without the paused second ($(samples "$app/tmp/tmpfile1.mp3") samples)" took "$app/tmp/tmpfile1.mp3"
check "nothing on stderr" test ! -s "$work/stderr"
[ -s "$work/stderr" ] && cat "$work/stderr"
rm -f "$app/tmp/tmpfile1.mp3"

# No portal; a notification server, and still no tray.
kill "$portal"
wait "$portal" 2>/dev/null
"$fake_sni" "$work/sni.log" --notifications-only 2>>"$work/fake.log" &
pids+=("$!")
check "a notification server" wait_for 50 grep -q ' ready$' "$work/sni.log"
wayland_start
check "the start-up notification says the keys are not there, and why" wait_for 50 grep -q \
  'notify .*Failed to set hotkey for \[Record/Stop\]\. (this desktop offers no global shortcuts)' \
  "$work/sni.log"
check "its summary, all a banner shows, says so" grep -q \
  'notify [0-9]* Tapewren: no hotkeys|Single click' \
  "$work/sni.log"
check "and where the program is" grep -q 'notify [0-9]* .*\\nTapewren is in its own window' \
  "$work/sni.log"
kill -TERM "$pid"
check "ends with 0" exited_with_zero "$pid" 100

# A portal whose desktop binds nothing: the balloon says the keys are not
# there, and why, rather than naming them.
"$fake_portal" --shortcuts-none "$work/portal" >"$work/portal-none.out" 2>&1 &
pids+=("$!")
check "a portal that binds nothing" wait_for 50 grep -q ready "$work/portal-none.out"
wayland_start
check "the start-up notification says the desktop did not bind them" wait_for 50 grep -q \
  'notify .*Failed to set hotkey for \[Record/Stop\]\. (the desktop did not bind it)' "$work/sni.log"
check "and names neither key as set" bash -c "! grep -q 'hotkey: [A-Z]' '$work/sni.log'"
kill -TERM "$pid"
check "ends with 0" exited_with_zero "$pid" 100
finish wayland_test
