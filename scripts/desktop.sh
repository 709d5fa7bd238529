#!/usr/bin/env bash
# The test desktop: a private session bus, a private sound server (a null
# sink "spk" whose monitor is "Monitor of Speakers"), Xvfb and IceWM with its
# tray. Everything lives under one folder and every process is stopped by its
# own pid, so nothing in the home folder is touched and a second desktop can
# run beside this one.
#
#   scripts/desktop.sh start BASE [SERVER]  starts it, writes BASE/env (source it)
#   scripts/desktop.sh start BASE kde       KDE Plasma's own services on Wayland instead
#                                           (kwin with kglobalaccel in it, the KDE portal,
#                                           PowerDevil and UPower on a system bus of its own)
#   scripts/desktop.sh start BASE gnome     GNOME Shell 43 on Wayland instead (its notification
#                                           service, XWayland, the GNOME and GTK portals, dconf,
#                                           the accessibility bus; an empty system bus)
#   scripts/desktop.sh appindicator BASE    turns on GNOME's AppIndicator extension, the tray
#   scripts/desktop.sh shot BASE FILE.png   a screenshot of the GNOME desktop
#   scripts/desktop.sh stop BASE            stops what BASE/pids names, and whatever else
#                                           carries BASE in its environment
#   scripts/desktop.sh tone BASE            plays a 440 Hz tone into "spk" (low latency)
#   scripts/desktop.sh pulse BASE [SERVER]  starts the sound server alone (no display)
#
# SERVER is "pulseaudio" (the default; also a 440 Hz sine source "line") or
# "pipewire" (pipewire, wireplumber and pipewire-pulse as our own processes);
# without it, $TAPEWREN_SOUND_SERVER chooses. BASE/server-pid holds the pid of
# the process that speaks the PulseAudio protocol, for tests that kill it.
set -euo pipefail
# The servers started here outlive their caller: they must not keep its open
# files, such as the lock a build is run under (flock) or the pipe a test
# runner reads to its end. 255 is the script bash is reading.
for fd in "/proc/$$/fd/"*; do
  fd=${fd##*/}
  if [ "$fd" -gt 2 ] && [ "$fd" -lt 255 ]; then eval "exec $fd>&-"; fi
done

usage="usage: desktop.sh start|stop|tone|pulse|appindicator BASE [pulseaudio|pipewire|kde|gnome]
       desktop.sh shot BASE FILE.png"
cmd=${1:?$usage}
BASE=$(mkdir -p "${2:?$usage}" && cd "$2" && pwd)
if [ "$cmd" = shot ]; then
  file=$(realpath -m "${3:?$usage}")
  set -- "$1" "$2"
fi
server=${3:-${TAPEWREN_SOUND_SERVER:-pulseaudio}}
desktop=icewm
case "$server" in
  pulseaudio | pipewire) ;;
  kde | gnome) desktop=$server server=pulseaudio ;;
  *) echo "$usage" >&2; exit 2 ;;
esac

free_display() {
  local n
  for n in $(seq 90 199); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      echo "$n"
      return
    fi
  done
  echo "no free X display number" >&2
  exit 1
}

wait_for() { # seconds, command...
  local tries=$(($1 * 20))
  shift
  while ! "$@" >/dev/null 2>&1; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.05
  done
}

# A fresh folder, the environment every process of the desktop sees, and
# the sound server named by $server.
prepare() {
  "$0" stop "$BASE" 2>/dev/null || true
  mkdir -p "$BASE/run" "$BASE/config" "$BASE/state" "$BASE/home"
  chmod 700 "$BASE/run"
  export XDG_RUNTIME_DIR=$BASE/run XDG_CONFIG_HOME=$BASE/config PULSE_STATE_PATH=$BASE/state
  # WirePlumber keeps the volumes and defaults it has seen in its state
  # folder; every desktop starts from none.
  export XDG_STATE_HOME=$BASE/state
  rm -rf "$BASE/state/wireplumber"
  # The sound servers and IceWM look at $HOME too; keep them out of the real one.
  export HOME=$BASE/home
  unset PULSE_SERVER
  : >"$BASE/pids"
  echo "$server" >"$BASE/server"
}

start_pulseaudio() {
  pulseaudio -n --daemonize=yes --exit-idle-time=-1 --log-target="file:$BASE/pulse.log" \
    -L module-native-protocol-unix \
    -L "module-null-sink sink_name=spk rate=44100 sink_properties=device.description=Speakers" \
    -L "module-sine-source source_name=line rate=44100 frequency=440"
  # Noted before anything else can fail, so that stop finds it.
  cat "$XDG_RUNTIME_DIR/pulse/pid" >>"$BASE/pids" 2>/dev/null
  wait_for 10 pactl info || { echo "PulseAudio did not start; see $BASE/pulse.log" >&2; exit 1; }
  pactl set-default-source line
  cp "$XDG_RUNTIME_DIR/pulse/pid" "$BASE/server-pid"
}

# PipeWire refuses module-sine-source; the null sink is a node of its own,
# which outlives a restart of pipewire-pulse.
start_pipewire() {
  local daemon
  for daemon in pipewire wireplumber pipewire-pulse; do
    setsid "$daemon" </dev/null >"$BASE/$daemon.log" 2>&1 &
    echo $! >>"$BASE/pids"
    [ "$daemon" != pipewire ] || wait_for 10 test -S "$XDG_RUNTIME_DIR/pipewire-0" ||
      { echo "PipeWire did not start; see $BASE/pipewire.log" >&2; exit 1; }
  done
  echo $! >"$BASE/server-pid"
  wait_for 10 pactl info || { echo "pipewire-pulse did not start; see $BASE/pipewire-pulse.log" >&2; exit 1; }
  pw-cli create-node adapter '{ factory.name=support.null-audio-sink node.name=spk
    media.class=Audio/Sink object.linger=true audio.position=[FL FR]
    node.description=Speakers }' >/dev/null
  wait_for 10 bash -c 'pactl list short sinks | grep -q "^[0-9]*[[:space:]]spk[[:space:]]"' ||
    { echo "no sink spk; see $BASE/wireplumber.log" >&2; exit 1; }
}

start_sound() {
  "start_$server"
  pactl set-default-sink spk
}

start_bus() {
  local bus
  bus=$("$(dirname "$0")/session-bus.sh" "$BASE/bus") ||
    { echo "dbus-daemon did not start" >&2; exit 1; }
  export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
  sed -n 2p <<<"$bus" >>"$BASE/pids"
}

start_pulse() {
  prepare
  # Never the desktop's bus: a second PulseAudio would find its name taken
  # there and refuse to start. PulseAudio goes without; WirePlumber cannot.
  if [ "$server" = pipewire ]; then
    start_bus
  else
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$BASE/run/no-bus
  fi
  start_sound
}

start() {
  prepare
  # A session bus of our own, first, as the sound server's services use it:
  # otherwise what the tests see depends on whether dbus-x11 happens to be
  # installed, which would autolaunch one.
  local n
  start_bus
  start_sound
  n=$(free_display)
  # Sessions of their own: a Ctrl+C meant for the program must not end them.
  setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$BASE/xvfb.log" 2>&1 &
  echo $! >>"$BASE/pids"
  export DISPLAY=":$n"
  wait_for 10 xdpyinfo || { echo "Xvfb did not start; see $BASE/xvfb.log" >&2; exit 1; }
  setsid icewm >"$BASE/icewm.log" 2>&1 &
  echo $! >>"$BASE/pids"
  sleep 0.5

  cat >"$BASE/env" <<ENV
export XDG_RUNTIME_DIR='$XDG_RUNTIME_DIR' XDG_CONFIG_HOME='$XDG_CONFIG_HOME'
export XDG_STATE_HOME='$XDG_STATE_HOME' PULSE_STATE_PATH='$PULSE_STATE_PATH'
export HOME='$HOME' DISPLAY='$DISPLAY'
export DBUS_SESSION_BUS_ADDRESS='$DBUS_SESSION_BUS_ADDRESS'
export TAPEWREN_SOUND_SERVER='$server'
unset PULSE_SERVER
ENV
}

name_owned() { # bus (session|system), name
  gdbus call "--$1" --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner "$2" | grep -q true
}

daemon() { # log name, program args...: started in a session of its own, noted in pids
  local log=$1
  shift
  setsid "$@" </dev/null >"$BASE/$log.log" 2>&1 &
  echo $! >>"$BASE/pids"
}

# A system bus of our own, which starts nothing either: PowerDevil asks
# UPower there, and the program falls back to logind there.
start_system_bus() {
  local bus
  bus=$("$(dirname "$0")/session-bus.sh" "$BASE/system" system) ||
    { echo "the system dbus-daemon did not start" >&2; exit 1; }
  export DBUS_SYSTEM_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
  sed -n 2p <<<"$bus" >>"$BASE/pids"
}

# Plasma 5.27 on Wayland without a screen: kwin (kglobalaccel runs inside
# it), the KDE portal behind xdg-desktop-portal, PowerDevil and UPower.
start_kde() {
  local libexec=/usr/lib/x86_64-linux-gnu/libexec
  export XDG_CURRENT_DESKTOP=KDE WAYLAND_DISPLAY=wayland-kde
  unset DISPLAY
  start_bus
  start_system_bus
  start_sound
  # The installed kwin_wayland carries a file capability (cap_sys_resource)
  # that a container refuses to execute; a copy carries none.
  cp /usr/bin/kwin_wayland "$BASE/kwin_wayland"
  daemon kwin "$BASE/kwin_wayland" --virtual --no-lockscreen --socket "$WAYLAND_DISPLAY" \
    --width 1024 --height 768
  wait_for 20 name_owned session org.kde.kglobalaccel ||
    { echo "kwin did not start; see $BASE/kwin.log" >&2; exit 1; }
  daemon upower /usr/libexec/upowerd
  wait_for 10 name_owned system org.freedesktop.UPower ||
    { echo "upowerd did not start; see $BASE/upower.log" >&2; exit 1; }
  # Qt 5 programs both: they need the Wayland platform named.
  QT_QPA_PLATFORM=wayland daemon powerdevil "$libexec/org_kde_powerdevil"
  QT_QPA_PLATFORM=wayland daemon portal-kde "$libexec/xdg-desktop-portal-kde"
  wait_for 20 name_owned session org.freedesktop.impl.portal.desktop.kde ||
    { echo "xdg-desktop-portal-kde did not start; see $BASE/portal-kde.log" >&2; exit 1; }
  daemon portal /usr/libexec/xdg-desktop-portal
  wait_for 20 name_owned session org.freedesktop.portal.Desktop ||
    { echo "xdg-desktop-portal did not start; see $BASE/portal.log" >&2; exit 1; }
  wait_for 20 name_owned session org.kde.Solid.PowerManagement ||
    { echo "PowerDevil did not start; see $BASE/powerdevil.log" >&2; exit 1; }

  cat >"$BASE/env" <<ENV
export XDG_RUNTIME_DIR='$XDG_RUNTIME_DIR' XDG_CONFIG_HOME='$XDG_CONFIG_HOME'
export XDG_STATE_HOME='$XDG_STATE_HOME' PULSE_STATE_PATH='$PULSE_STATE_PATH'
export HOME='$HOME' WAYLAND_DISPLAY='$WAYLAND_DISPLAY' XDG_CURRENT_DESKTOP=KDE
export DBUS_SESSION_BUS_ADDRESS='$DBUS_SESSION_BUS_ADDRESS'
export DBUS_SYSTEM_BUS_ADDRESS='$DBUS_SYSTEM_BUS_ADDRESS'
export TAPEWREN_SOUND_SERVER='$server'
unset PULSE_SERVER DISPLAY
ENV
}

# GNOME Shell 43 on Wayland without a screen, as most of our users have it:
# its own notification service, xdg-desktop-portal with only the GNOME and
# GTK back ends (an installed KDE one would answer GlobalShortcuts), dconf
# and the accessibility bus, each started by the bus as a session starts it.
gnome_services="ca.desrt.dconf org.a11y.Bus org.gnome.Shell.Notifications
  org.freedesktop.portal.Desktop org.freedesktop.portal.Documents
  org.freedesktop.impl.portal.PermissionStore org.freedesktop.impl.portal.desktop.gnome
  org.freedesktop.impl.portal.desktop.gtk"
start_gnome() {
  local service
  export XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-gnome
  export XDG_DESKTOP_PORTAL_DIR=$BASE/portals
  unset DISPLAY
  # GNOME keeps its settings (the extensions turned on) and its notifications
  # there: every desktop starts from none.
  rm -rf "$BASE/bus" "$XDG_DESKTOP_PORTAL_DIR" "$XDG_CONFIG_HOME" "$HOME"
  mkdir -p "$BASE/bus/services" "$XDG_DESKTOP_PORTAL_DIR" "$XDG_CONFIG_HOME" "$HOME"
  cp /usr/share/xdg-desktop-portal/portals/{gnome,gtk,gnome-shell}.portal "$XDG_DESKTOP_PORTAL_DIR"
  # Without systemd behind the bus, the bus starts each program itself.
  for service in $gnome_services; do
    grep -v '^SystemdService=' "/usr/share/dbus-1/services/$service.service" \
      >"$BASE/bus/services/$service.service"
  done
  start_bus
  # What a new user is shown first, a welcome (not to root) and a banner
  # saying the screen cannot lock without GNOME's display manager, counts as
  # shown already: it would stand before the programs' own windows and
  # banners.
  gsettings set org.gnome.shell welcome-dialog-last-shown-version "'$(gnome-shell --version | cut -d' ' -f3)'"
  mkdir -p "$HOME/.local/share/gnome-shell"
  touch "$HOME/.local/share/gnome-shell/lock-warning-shown"
  start_system_bus
  start_sound
  start_shell
  write_gnome_env
}

shell_call() { # method args...: a call to the shell's own object
  gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell --method "$@"
}

overview_is() { # true|false
  [ "$(shell_call org.freedesktop.DBus.Properties.Get org.gnome.Shell OverviewActive)" = "(<$1>,)" ]
}

start_shell() {
  daemon gnome-shell gnome-shell --headless --wayland --virtual-monitor 1280x800 \
    --wayland-display="$WAYLAND_DISPLAY" --sm-disable
  wait_for 60 grep -q 'Using public X11 display' "$BASE/gnome-shell.log" ||
    { echo "gnome-shell did not start; see $BASE/gnome-shell.log" >&2; exit 1; }
  DISPLAY=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$BASE/gnome-shell.log" | tail -1)
  XAUTHORITY=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name '.mutter-Xwaylandauth.*' -printf '%T@ %p\n' |
    sort -n | tail -1 | cut -d' ' -f2-)
  export DISPLAY XAUTHORITY
  wait_for 30 name_owned session org.gnome.Shell ||
    { echo "gnome-shell is not on the bus; see $BASE/gnome-shell.log" >&2; exit 1; }
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.UpdateActivationEnvironment \
    "{'WAYLAND_DISPLAY': '$WAYLAND_DISPLAY', 'DISPLAY': '$DISPLAY', 'XAUTHORITY': '$XAUTHORITY',
      'XDG_SESSION_TYPE': 'wayland', 'XDG_CURRENT_DESKTOP': 'GNOME'}" >/dev/null
  # It opens the overview once it is up, which would cover every window.
  wait_for 30 overview_is true ||
    { echo "the shell's overview did not open; see $BASE/gnome-shell.log" >&2; exit 1; }
  shell_call org.freedesktop.DBus.Properties.Set org.gnome.Shell OverviewActive '<false>' >/dev/null
  wait_for 10 overview_is false ||
    { echo "the shell's overview did not close; see $BASE/gnome-shell.log" >&2; exit 1; }
  wait_for 30 name_owned session org.freedesktop.Notifications ||
    { echo "no notification service; see $BASE/gnome-shell.log" >&2; exit 1; }
}

write_gnome_env() {
  cat >"$BASE/env" <<ENV
export XDG_RUNTIME_DIR='$XDG_RUNTIME_DIR' XDG_CONFIG_HOME='$XDG_CONFIG_HOME'
export XDG_STATE_HOME='$XDG_STATE_HOME' PULSE_STATE_PATH='$PULSE_STATE_PATH'
export HOME='$HOME' WAYLAND_DISPLAY='$WAYLAND_DISPLAY' DISPLAY='$DISPLAY' XAUTHORITY='$XAUTHORITY'
export XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME
export DBUS_SESSION_BUS_ADDRESS='$DBUS_SESSION_BUS_ADDRESS'
export DBUS_SYSTEM_BUS_ADDRESS='$DBUS_SYSTEM_BUS_ADDRESS'
export TAPEWREN_SOUND_SERVER='$server'
unset PULSE_SERVER
ENV
}

stop() {
  [ -f "$BASE/pids" ] || return 0
  local pid
  # A process that ended early (a player whose server a test killed, a
  # server it killed) leaves its number here, and on a busy machine another
  # process may have it by now: only what is still ours is stopped. Tone
  # players run in process groups of their own; the daemons carry the
  # desktop's folder in their environment.
  if [ -f "$BASE/tone.pids" ]; then
    while read -r pid; do
      ! pgrep -g "$pid" -x pacat >/dev/null || kill -- "-$pid" 2>/dev/null || true
    done <"$BASE/tone.pids"
    rm -f "$BASE/tone.pids"
  fi
  tac "$BASE/pids" | while read -r pid; do
    if grep -qzx "XDG_RUNTIME_DIR=$BASE/run" "/proc/$pid/environ" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
    # One that has ended but is not yet reaped keeps its number, which a
    # server's pid file may name: the next server would think itself running.
    elif [ "$(sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null | cut -d' ' -f1)" != Z ]; then
      continue
    fi
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || continue 2; sleep 0.05; done
    kill -9 "$pid" 2>/dev/null || true
  done
  rm -f "$BASE/pids" "$BASE/server-pid"
  local left
  mapfile -t left < <(strays)
  [ "${#left[@]}" -gt 0 ] || return 0
  kill "${left[@]}" 2>/dev/null || true
  for _ in $(seq 50); do
    mapfile -t left < <(strays)
    [ "${#left[@]}" -gt 0 ] || return 0
    sleep 0.05
  done
  kill -9 "${left[@]}" 2>/dev/null || true
}

# What the bus started (the portals, dconf, the accessibility bus) runs in a
# session of its own that no pid file names; the desktop's folder in its
# environment does. So may this script and those that called it, where a
# test sourced BASE/env: they are not strays.
strays() {
  local a=$$ keep=" $BASHPID "
  while [ "${a:-0}" -gt 1 ]; do
    keep+="$a "
    a=$(sed 's/.*) //' "/proc/$a/stat" 2>/dev/null | cut -d' ' -f2)
  done
  grep -lzx "XDG_RUNTIME_DIR=$BASE/run" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3 |
    while read -r p; do [[ $keep == *" $p "* ]] || echo "$p"; done
}

tone() {
  # shellcheck disable=SC1091
  . "$BASE/env"
  setsid bash -c 'sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw - synth 86400 sine 440 vol 0.5 |
    pacat --latency-msec=10 --rate=44100 --channels=2 --format=s16le -d spk' </dev/null >/dev/null 2>&1 &
  echo $! >>"$BASE/tone.pids"
  # A null sink that has just started hands a new player's sound to its
  # monitor in lumps for its first seconds (measured on PulseAudio: a take
  # begun then came out 0.8 s short); the tests want it flowing evenly.
  wait_for 10 bash -c 'pactl list short sink-inputs | grep -q .' || true
  sleep 2
}

# Ubuntu's AppIndicator extension, GNOME's tray for other programs' icons
# as Ubuntu ships it: the shell turns it on as soon as dconf says so.
appindicator() {
  # shellcheck disable=SC1091
  . "$BASE/env"
  gsettings set org.gnome.shell enabled-extensions "['ubuntu-appindicators@ubuntu.com']"
  wait_for 20 name_owned session org.kde.StatusNotifierWatcher ||
    { echo "the AppIndicator extension did not start; see $BASE/gnome-shell.log" >&2; exit 1; }
}

# The whole screen into FILE (a PNG) through the shell, which answers only
# the programs it knows by their bus names: we take one of theirs first.
shot() {
  # shellcheck disable=SC1091
  . "$BASE/env"
  /usr/bin/python3 - "$file" <<'PY'
import sys
import time

from gi.repository import Gio, GLib

bus = Gio.bus_get_sync(Gio.BusType.SESSION)
owner, = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                       "RequestName", GLib.Variant("(su)", ("org.gnome.Screenshot", 4)),
                       GLib.VariantType("(u)"), 0, -1, None).unpack()
if owner != 1:
    sys.exit("another program holds org.gnome.Screenshot")
# The shell learns the name's new owner from the bus's signal, a moment later.
for attempt in range(20):
    try:
        ok, _ = bus.call_sync("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot",
                              "org.gnome.Shell.Screenshot", "Screenshot",
                              GLib.Variant("(bbs)", (False, False, sys.argv[1])),
                              GLib.VariantType("(bs)"), 0, 10000, None).unpack()
        sys.exit(0 if ok else "the shell wrote no screenshot")
    except GLib.Error as e:
        if not e.matches(Gio.dbus_error_quark(), Gio.DBusError.ACCESS_DENIED):
            sys.exit("the shell took no screenshot: " + e.message)
        time.sleep(0.1)
sys.exit("the shell refused the screenshot to org.gnome.Screenshot")
PY
}

case "$cmd" in
  start) if [ "$desktop" = icewm ]; then start; else prepare; "start_$desktop"; fi ;;
  pulse) start_pulse ;;
  stop) stop ;;
  tone) tone ;;
  shot) shot ;;
  appindicator) appindicator ;;
  *) echo "$usage" >&2; exit 2 ;;
esac
