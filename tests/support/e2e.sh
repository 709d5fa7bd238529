# Helpers for tests of the real program under the test desktop. Source it;
# it sets $work (removed at exit) and counts checks.
: "${DISPLAY:?needs the test desktop (scripts/desktop.sh)}"
work=$(mktemp -d)
e2e_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)
pids=()
passed=0
failed=0
# Everything a test started is stopped however it ends: the programs in
# $pids, and whatever a script names with at_exit (a sound server, a mount).
on_exit=()
at_exit() { on_exit+=("$1"); }
cleanup() {
  local c p
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
  for c in "${on_exit[@]}"; do eval "$c"; done
  [ -z "${watchdog:-}" ] || kill "$watchdog" 2>/dev/null
  [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
# ctest ends a test that overruns with SIGKILL, which no trap sees: the
# watchdog ends it a little earlier, through the trap above.
trap 'echo "TIMEOUT: still running after $TAPEWREN_TEST_LIMIT s"; exit 124' TERM
if [ -n "${TAPEWREN_TEST_LIMIT:-}" ]; then
  (
    trap 'kill $s 2>/dev/null; exit 0' TERM
    sleep "$TAPEWREN_TEST_LIMIT" &
    s=$!
    wait $s && kill -TERM $$
  ) >/dev/null 2>&1 &
  watchdog=$!
fi
# The user's folders, this test's own: where an installed program keeps its
# settings and takes.
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data
user_settings=$XDG_CONFIG_HOME/tapewren/quillby.ini
user_takes=$XDG_STATE_HOME/tapewren/tmp

check() { # description, command...
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
    return 1
  fi
}

finish() { # name
  echo "$1: $passed passed, $failed failed"
  if [ "$failed" -gt 0 ] && [ -s "$work/program.log" ]; then
    echo "-- what the program said:"
    cat "$work/program.log"
  fi
  [ "$failed" -eq 0 ]
}

own_desktop() { # kde|gnome, test name: that desktop of scripts/desktop.sh in $work, stopped at
  # the end, its environment ours and its tone playing; without it the test ends here
  # Under AddressSanitizer: Mesa's EGL driver, which the desktop's Wayland brings in, is
  # unloaded before the leak report, and only a full unwind reaches the libEGL_mesa frames
  # that tests/lsan.supp names.
  [ -z "${ASAN_OPTIONS:-}" ] || export ASAN_OPTIONS=$ASAN_OPTIONS:fast_unwind_on_malloc=0
  desk=$work/$1
  at_exit "'$e2e_scripts/desktop.sh' stop '$desk'"
  check "the ${1^^} desktop starts" "$e2e_scripts/desktop.sh" start "$desk" "$1" || {
    finish "$2"
    exit 1
  }
  # shellcheck disable=SC1091
  . "$desk/env"
  "$e2e_scripts/desktop.sh" tone "$desk"
}

install_copy() { # folder: a program folder of its own; with a quillby.ini put there the
  # copy is portable and keeps its settings and tmp/ beside itself
  rm -rf "$1"
  mkdir -p "$1"
  cp "$exe" "$1/tapewren"
}

start() { # folder args...: starts in the background, sets $pid
  local folder=$1
  shift
  "$folder/tapewren" "$@" >>"$work/program.log" 2>&1 &
  pid=$!
  pids+=("$pid")
}

# The waits stretch with the test's time limit on a slower machine
# (TAPEWREN_TEST_TIME_SCALE, tests/CMakeLists.txt).
time_scale=${TAPEWREN_TEST_TIME_SCALE:-1}
# A wait that runs out says so, before the test's own limit: what it waited
# for is then in the log even where the caller goes on.
wait_for() { # tenths of a second, command...
  local tenths=$(($1 * time_scale))
  local n=$tenths
  shift
  while ! "$@" >/dev/null 2>&1; do
    n=$((n - 1))
    if [ "$n" -le 0 ]; then
      echo "waited $((tenths / 10)).$((tenths % 10)) s in vain for: $*" >&2
      return 1
    fi
    sleep 0.1
  done
}

running() { kill -0 "$1" 2>/dev/null; }
exited_with_zero() { # pid, tenths
  wait_for "$2" bash -c "! kill -0 $1 2>/dev/null" || return 1
  wait "$1"
}
visible_window() { xdotool search --onlyvisible --name "^$1\$"; }
pulse_client_count() { pactl list short clients | grep -c tapewren; }
connected() { [ "$(pulse_client_count)" -ge 1 ]; }
recording() { pactl list source-outputs | grep -q 'application.name = "Tapewren"'; }
not_recording() { ! recording; }
# A sink that has been idle holds two seconds of what a new stream plays
# before its monitor hands any of it on, then drains to the stream's own
# latency: until then a take of the monitor starts late and in lumps.
tone_flowing() { # sink: a stream plays into it, and reaches its monitor without that delay
  local sink
  sink=$(pactl list short sinks | awk -v name="$1" '$2 == name { print $1 }')
  [ -n "$sink" ] && pactl list short sink-inputs | awk -v sink="$sink" '$2 == sink { n++ } END { exit !n }' &&
    pactl list sinks | awk -v sink="#$sink" '$1 == "Sink" { this = $2 == sink }
      this && $1 == "Latency:" { seen = 1; low = $2 < 50000 } END { exit !(seen && low) }'
}
corked() { pactl list source-outputs | grep -A12 'Source Output' | grep -q 'Corked: yes'; }
samples() { # decoded sample frames of a stereo MP3 (not the container's duration)
  mpg123 -q -s "$1" 2>/dev/null | wc -c | awk '{ print $1 / 4 }'
}
dialog_closed() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null; }
# The window the window manager stacks highest, and the active one.
top_window() { xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //' | tr ',' '\n' | tail -1 | tr -d ' '; }
active_window() { xprop -root _NET_ACTIVE_WINDOW | sed 's/.*# //' | tr -d ' '; }
shot() { # name: a screenshot for the eye, where TAPEWREN_SHOTS names a folder
  if [ -n "${TAPEWREN_SHOTS:-}" ]; then import -window root "$TAPEWREN_SHOTS/$1.png"; fi
}

# The small window the desktop's tray embeds for us: sets tray_x, tray_y, tray_box.
tray_window() {
  local w
  for w in $(xdotool search --classname tapewren 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    if [ "$WIDTH" -le 32 ] && [ "$HEIGHT" -le 32 ]; then
      tray_x=$((X + WIDTH / 2))
      tray_y=$((Y + HEIGHT / 2))
      tray_box="${WIDTH}x${HEIGHT}+${X}+${Y}"
      return 0
    fi
  done
  return 1
}

# A visible window of the program by its size ("348x508"): prints its id.
window_of_size() {
  local w
  for w in $(xdotool search --onlyvisible --classname tapewren 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    if [ "${WIDTH}x${HEIGHT}" = "$1" ]; then
      echo "$w"
      return 0
    fi
  done
  return 1
}

# Where the desktop opens documents and web addresses, a script that only
# notes them in $work/opened, one a line: nothing real is ever started.
fake_opener() {
  mkdir -p "$work/data/applications"
  cat >"$work/fake-open" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$@" >>"$work/opened"
SCRIPT
  chmod +x "$work/fake-open"
  cat >"$work/data/applications/fake-open.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Fake opener
Exec=$work/fake-open %u
MimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;
DESKTOP
  printf '[Default Applications]\ntext/html=fake-open.desktop\nx-scheme-handler/http=fake-open.desktop\nx-scheme-handler/https=fake-open.desktop\n' \
    >"$work/data/applications/mimeapps.list"
  export XDG_DATA_HOME=$work/data BROWSER=$work/fake-open
  : >"$work/opened"
}
opened() { grep -qx -- "$1" "$work/opened"; }

tray_menu() { # accelerator key: opens the tray menu and picks that item
  xdotool mousemove "$tray_x" "$tray_y" click 3
  sleep 0.5
  xdotool key "$1"
}

save_take() { # full path: typed into the "Save as" dialog, then Enter
  wait_for 50 visible_window "Save as" || return 1
  xdotool windowactivate --sync "$(visible_window "Save as" | head -1)" 2>/dev/null || true
  xdotool type --delay 10 "$1"
  xdotool key Return
}
start_plain() { # a program of its own in $app, input 0 at full volume, 44.1 kHz 128 kbps,
  # with $work/music to save into
  app=$work/app
  install_copy "$app"
  printf '[Recorder]\nChannel=0\nVolume=100\nQuality=61\n' >"$app/quillby.ini"
  mkdir -p "$work/music"
  start "$app"
}
start_ready() { # start_plain, and waits for its tray icon
  start_plain
  check "tray icon" wait_for 100 tray_window
}
close_popups() { # a click on each popup closes it
  local w
  for w in $(xdotool search --onlyvisible --classname tapewren 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$WIDTH" -eq 148 ] && [ "$HEIGHT" -eq 121 ] && xdotool mousemove --window "$w" 74 70 click 1
  done
  ! popup_shown
}
popup_window() { # a popup fully out, 148 x 121: prints its id
  local w
  for w in $(xdotool search --onlyvisible --classname tapewren 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    if [ "$WIDTH" -eq 148 ] && [ "$HEIGHT" -eq 121 ]; then
      echo "$w"
      return 0
    fi
  done
  return 1
}
popup_shown() { popup_window >/dev/null; }
rms_db() { # sox's arguments for a sound: its RMS level in dB past the first half second
  sox "$@" -n trim 0.5 stats 2>&1 | awk '/^RMS lev dB/ { print $4 }'
}
take_db() { # an MP3: its RMS level in dB, decoded by mpg123
  mpg123 -q -w "$work/level.wav" "$1" 2>/dev/null && rms_db "$work/level.wav"
}
within_db() { # level, level, dB: the two differ by that much at most
  awk -v a="$1" -v b="$2" -v d="$3" 'BEGIN { x = a - b; exit !(a != "" && b != "" && x <= d && x >= -d) }'
}
monitor_volume() { pactl get-source-volume spk.monitor | awk -F/ 'NR == 1 { gsub(/[ %]/, "", $2); print $2 }'; }
frequency() { # the tone's frequency, from sox over the decoded samples
  mpg123 -q -w "$work/decoded.wav" "$1" 2>/dev/null
  # One channel: sox's estimate over two channels together is off.
  sox "$work/decoded.wav" -n remix 1 stat 2>&1 | awk '/Rough +frequency/ { print $3 }'
}
save_dialog_open() { visible_window "Save as" >/dev/null; }
save_dialog_closed() { ! xdotool search --onlyvisible --name '^Save as$' >/dev/null 2>&1; }
save_as() { # path: types it into the open save dialog and presses Enter
  local win
  win=$(visible_window "Save as" | head -1)
  xdotool windowactivate --sync "$win" 2>/dev/null || true
  xdotool key ctrl+a
  xdotool type --delay 5 "$1"
  xdotool key Return
}
discard_take() { # Cancel in the save dialog, then Yes to losing the take
  wait_for 50 save_dialog_open || return 1
  xdotool windowactivate --sync "$(visible_window "Save as" | head -1)" 2>/dev/null
  xdotool key Escape
  wait_for 30 visible_window Tapewren || return 1 # the question "Delete ...?"
  xdotool key y # its Yes: Enter would answer No
  wait_for 50 save_dialog_closed
}
above() { # window, window: the first is stacked above the second
  local w i=0 pa=0 pb=0
  for w in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g'); do
    i=$((i + 1))
    [ $((w)) -eq "$1" ] && pa=$i
    [ $((w)) -eq "$2" ] && pb=$i
  done
  [ "$pa" -gt 0 ] && [ "$pb" -gt 0 ] && [ "$pa" -gt "$pb" ]
}
box_text() { # window of a message box: what it says, read off the screen
  [ -n "$1" ] || return 1 # import would wait for a click on some window
  # Out from under any other window first: the screen is what is read.
  xdotool windowmove "$1" 0 0 >/dev/null 2>&1
  sleep 0.3
  window_text "$1"
}
window_text() { # window: what it says, read off the screen where it stands
  import -window "$1" "$work/box.png" &&
    convert "$work/box.png" -resize 300% -colorspace Gray "$work/box-big.png" &&
    tesseract "$work/box-big.png" - 2>/dev/null | tr '\n' ' ' | tr -s ' '
}
private_bus() { # a session bus of the test's own, where only what the test puts answers: sets $bus
  local out
  out=$("$e2e_scripts/session-bus.sh" "$work/private-bus") || return 1
  bus=$(sed -n 1p <<<"$out")
  bus_pid=$(sed -n 2p <<<"$out")
  pids+=("$bus_pid")
}
free_bytes() { stat -f -c '%a %S' "$1" | awk '{ print $1 * $2 }'; } # folder: what a user may still write
fake_portal_on_bus() { # program: the fake desktop portal on $bus, noting into $work/portal
  mkdir -p "$work/portal"
  DBUS_SESSION_BUS_ADDRESS=$bus "$1" "$work/portal" >"$work/portal.out" 2>&1 &
  portal_pid=$!
  pids+=("$portal_pid")
  wait_for 50 grep -q ready "$work/portal.out"
}
own_bus() { # a session bus of the test's own, with nothing on it: exports its address
  local out
  out=$("$e2e_scripts/session-bus.sh" "$work/own-bus") || return 1
  export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$out")
  pids+=("$(sed -n 2p <<<"$out")")
}
bus_starts_nothing_installed() { # the session bus lists none of the machine's own services
  local activatable name
  activatable=$(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.ListActivatableNames) || return 1
  for name in $(sed -n 's/^Name=//p' /usr/share/dbus-1/services/*.service 2>/dev/null); do
    if grep -qF "\"$name\"" <<<"$activatable"; then
      echo "activatable: $name"
      return 1
    fi
  done
}
own_display() { # window manager...: an X display of the test's own with that manager; exports DISPLAY
  local n
  for n in $(seq 200 299); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  pids+=("$!")
  export DISPLAY=":$n"
  wait_for 50 xdpyinfo || return 1
  "$@" >"$work/wm.log" 2>&1 &
  pids+=("$!")
  sleep 0.5
}
click_window() { # window, x, y: a click at that point of the window
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + $2)) $((Y + $3)) click "${4:-1}"
}
a11y_bus() { # the accessibility bus on the session bus, as a desktop starts it; Qt joins it
  # with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1. A group of its own: it starts a bus and a registry.
  setsid /usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/a11y.log" 2>&1 &
  at_exit "kill -- -$! 2>/dev/null"
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  wait_for 50 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress
}
# Debian's python, which has pyatspi, whatever else is first on the PATH.
a11y() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/../ui/a11y.py" "$@"; } # what a screen reader reads
focused_is() { [ "$(a11y focused 2>/dev/null | cut -f2)" = "$1" ]; }
tab_to() { # accessible name: Tab until the control of that name has the focus
  local n
  for n in $(seq 40); do
    focused_is "$1" && return 0
    xdotool key Tab
    sleep 0.1
  done
  return 1
}
unnamed() { # tree from "a11y active": the controls a screen reader could not name
  awk -F'\t' '$2 ~ /^(push button|check box|slider|combo box|text|link)$/ && $3 == ""' "$1"
}
