#!/usr/bin/env bash
# A session bus for a test desktop that starts only the services whose files
# lie in FOLDER/services, never what the machine has installed (a portal, a
# notification daemon, the accessibility bus): a test's outcome must not
# depend on what else is on the machine.
#   scripts/session-bus.sh FOLDER [system]   starts it; prints its address, then its pid
# With "system", a system bus of the same kind (for PowerDevil and UPower).
set -euo pipefail
dir=$(mkdir -p "${1:?usage: session-bus.sh FOLDER [system]}/services" && cd "$1" && pwd)
type=${2:-session}
cat >"$dir/bus.conf" <<XML
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>$type</type>
  <listen>unix:dir=$dir</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$dir/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
XML
exec dbus-daemon --config-file="$dir/bus.conf" --fork --print-address=1 --print-pid=1
