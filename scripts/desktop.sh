#!/usr/bin/env bash
# The test desktop: a private session bus, a private PulseAudio daemon (a null
# sink "spk" and a 440 Hz sine source "line"), Xvfb and IceWM with its tray.
# Everything lives under one folder and every process is stopped by its own
# pid, so nothing in the home folder is touched and a second desktop can run
# beside this one.
#
#   scripts/desktop.sh start BASE   starts it, writes BASE/env (source it)
#   scripts/desktop.sh stop BASE    stops what BASE/pids names
#   scripts/desktop.sh tone BASE    plays a 440 Hz tone into "spk" (low latency)
#   scripts/desktop.sh pulse BASE   starts the sound server alone (no display)
set -euo pipefail

cmd=${1:?usage: desktop.sh start|stop|tone BASE}
BASE=$(mkdir -p "${2:?usage: desktop.sh start|stop|tone BASE}" && cd "$2" && pwd)

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

start_pulse() {
  "$0" stop "$BASE" 2>/dev/null || true
  mkdir -p "$BASE/run" "$BASE/config" "$BASE/state" "$BASE/home"
  chmod 700 "$BASE/run"
  export XDG_RUNTIME_DIR=$BASE/run XDG_CONFIG_HOME=$BASE/config PULSE_STATE_PATH=$BASE/state
  # PulseAudio and IceWM look at $HOME too; keep them out of the real one.
  export HOME=$BASE/home
  unset PULSE_SERVER
  : >"$BASE/pids"

  pulseaudio -n --daemonize=yes --exit-idle-time=-1 --log-target="file:$BASE/pulse.log" \
    -L module-native-protocol-unix \
    -L "module-null-sink sink_name=spk rate=44100 sink_properties=device.description=Speakers" \
    -L "module-sine-source source_name=line rate=44100 frequency=440"
  # Noted before anything else can fail, so that stop finds it.
  cat "$XDG_RUNTIME_DIR/pulse/pid" >>"$BASE/pids" 2>/dev/null
  wait_for 10 pactl info || { echo "PulseAudio did not start; see $BASE/pulse.log" >&2; exit 1; }
  pactl set-default-sink spk
  pactl set-default-source line
}

start() {
  start_pulse
  # A session bus of our own: otherwise what the tests see depends on whether
  # dbus-x11 happens to be installed, which would autolaunch one.
  local bus n
  bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 \
    --address="unix:path=$BASE/run/bus") || { echo "dbus-daemon did not start" >&2; exit 1; }
  export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
  sed -n 2p <<<"$bus" >>"$BASE/pids"
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
export PULSE_STATE_PATH='$PULSE_STATE_PATH' HOME='$HOME' DISPLAY='$DISPLAY'
export DBUS_SESSION_BUS_ADDRESS='$DBUS_SESSION_BUS_ADDRESS'
unset PULSE_SERVER
ENV
}

stop() {
  [ -f "$BASE/pids" ] || return 0
  local pid
  # Tone players run in process groups of their own.
  if [ -f "$BASE/tone.pids" ]; then
    while read -r pid; do kill -- "-$pid" 2>/dev/null || true; done <"$BASE/tone.pids"
    rm -f "$BASE/tone.pids"
  fi
  tac "$BASE/pids" | while read -r pid; do
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    kill -9 "$pid" 2>/dev/null || true
  done
  rm -f "$BASE/pids"
}

tone() {
  # shellcheck disable=SC1091
  . "$BASE/env"
  setsid bash -c 'sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw - synth 86400 sine 440 vol 0.5 |
    pacat --latency-msec=10 --rate=44100 --channels=2 --format=s16le -d spk' </dev/null >/dev/null 2>&1 &
  echo $! >>"$BASE/tone.pids"
}

case "$cmd" in
  start) start ;;
  pulse) start_pulse ;;
  stop) stop ;;
  tone) tone ;;
  *) echo "usage: desktop.sh start|stop|tone|pulse BASE" >&2; exit 2 ;;
esac
