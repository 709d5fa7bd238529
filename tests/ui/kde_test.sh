#!/usr/bin/env bash
# On KDE Plasma's own services (kwin on Wayland with kglobalaccel in it, the
# KDE GlobalShortcuts and Inhibit portals, PowerDevil on a system bus of the
# test's own): the program, with only WAYLAND_DISPLAY to go by, gets both
# keys bound in kglobalaccel, and they record, pause, resume and stop; a
# second start adds no shortcut group; PowerDevil holds sleep off while it
# records, and only then.
set -uo pipefail
exe=${1:?usage: kde_test.sh path/to/tapewren}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

own_desktop kde kde_test

kde_start() { # stderr apart
  "$app/tapewren" >>"$work/program.log" 2>"$work/stderr" &
  pid=$!
  pids+=("$pid")
}
accel() { # method args...: a call to kglobalaccel
  gdbus call --session --dest org.kde.kglobalaccel "$@"
}
components() { # one a line, sorted: kglobalaccel lists them in no fixed order
  accel --object-path /kglobalaccel --method org.kde.KGlobalAccel.allComponents |
    grep -o "/component/[A-Za-z0-9_]*" | sort
}
# The component kglobalaccel keeps for the program's session (KDE names it
# after the session token).
component() { components | grep tapewren | head -1; }
shortcut_names() {
  accel --object-path "$(component)" --method org.kde.kglobalaccel.Component.shortcutNames |
    grep -o "'[^']*'" | sort
}
both_listed() { [ "$(shortcut_names | tr '\n' ' ')" = "'pause-resume' 'record-stop' " ]; }
press() {
  accel --object-path "$(component)" --method org.kde.kglobalaccel.Component.invokeShortcut "$1" \
    >/dev/null
}
inhibitions() {
  gdbus call --session --dest org.kde.Solid.PowerManagement \
    --object-path /org/kde/Solid/PowerManagement/PolicyAgent \
    --method org.kde.Solid.PowerManagement.PolicyAgent.ListInhibitions
}
inhibited() { inhibitions | grep -q 'Recording sound'; }
not_inhibited() { ! inhibited; }
resumed() { ! corked; }

app=$work/app
install_copy "$app"
printf '[Recorder]\nChannel=0\nVolume=100\nQuality=61\n' >"$app/quillby.ini"
kde_start
check "kglobalaccel lists the program's component" wait_for 100 component
check "and both keys in it" wait_for 50 both_listed
before_components=$(components)
before_names=$(shortcut_names)
check "no inhibition before recording" not_inhibited
now() { date +%s.%N; }
press record-stop
t0=$(now)
check "the record key records" wait_for 30 recording
sleep 1
press pause-resume
t1=$(now)
check "the pause key pauses" wait_for 20 corked
sleep 1
press pause-resume
t2=$(now)
check "and resumes" wait_for 20 resumed
# PowerDevil enforces an inhibition only once it has lasted 5 s.
check "PowerDevil lists the inhibition" wait_for 80 inhibited
sleep 0.5
press record-stop
t3=$(now)
check "the record key again stops" wait_for 30 not_recording
check "and PowerDevil no longer lists it" wait_for 30 not_inhibited
sleep 0.5
kill -TERM "$pid"
check "ends with 0" exited_with_zero "$pid" 100
# As long as the two stretches of recording, the paused second not in it;
# the first take of a freshly started sound server may come up to a second
# short.
took() { # file
  awk -v n="$(samples "$1")" -v t0="$t0" -v t1="$t1" -v t2="$t2" -v t3="$t3" \
    'BEGIN { s = t1 - t0 + t3 - t2; exit !(n > (s - 1.3) * 44100 && n < (s + 0.8) * 44100) }'
}
check "the take decodes, without the paused second ($(samples "$app/tmp/tmpfile1.mp3") samples)" \
  took "$app/tmp/tmpfile1.mp3"
check "nothing on stderr" test ! -s "$work/stderr"
[ -s "$work/stderr" ] && cat "$work/stderr"
rm -f "$app/tmp/tmpfile1.mp3"

# Again: the same group, the same keys, and they still work. kglobalaccel
# holds the keys active while a program's session has them: the first run's
# are let go, then the second start's are taken, and once a key has worked
# its session is set up.
active() { [ "$(accel --object-path "$(component)" --method org.kde.kglobalaccel.Component.isActive)" = "(true,)" ]; }
inactive() { ! active; }
wait_for 50 inactive
kde_start
check "the second start's keys are active" wait_for 50 active
press record-stop
check "the keys still record" wait_for 30 recording
check "a second start adds no shortcut group" [ "$(components)" = "$before_components" ]
check "and no shortcut" [ "$(shortcut_names)" = "$before_names" ]
press record-stop
check "and stop" wait_for 30 not_recording
kill -TERM "$pid"
check "ends with 0" exited_with_zero "$pid" 100
finish kde_test
