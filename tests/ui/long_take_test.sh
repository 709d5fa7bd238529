#!/usr/bin/env bash
# Long takes with the real program under the test desktop, at 320 kbps
# (40000 bytes a second) into a takes folder that is a small tmpfs: a disk
# that would not hold a minute refuses the take; a filling disk is foretold
# at ten minutes left and at one, and the take it could not hold is offered
# all the same. Meanwhile a fake desktop portal on a bus of the test's own
# sees suspend and idle held while a take runs, and only then: let go at a
# stop, after a failure and after SIGTERM. Needs the right to mount; the
# texts are read off the screen with OCR.
#
# Ten minutes at this rate are 24 MB, and a take fills a disk only as fast as
# sound comes in. So the disk starts six seconds above ten minutes, and the
# test itself then fills it (as another program would) to just above one
# minute, and later to the brim: each warning is due within seconds.
set -uo pipefail
exe=${1:?usage: long_take_test.sh path/to/tapewren path/to/fake_portal}
fake_portal=${2:?usage: long_take_test.sh path/to/tapewren path/to/fake_portal}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

rate=40000
minute=$((60 * rate))
app=$work/app
takes=$app/tmp
at_exit 'umount -l "$takes" 2>/dev/null'

takes_disk() { # size in bytes, or "none": a fresh tmpfs as the takes folder
  umount -l "$takes" 2>/dev/null
  [ "$1" = none ] || mount -t tmpfs -o "size=$1" tmpfs "$takes"
}
click() { xdotool mousemove "$tray_x" "$tray_y" click 1; }
held() { [ "$(cat "$work/portal/inhibit-held" 2>/dev/null || echo 0)" = "$1" ]; }
no_popup() { ! popup_shown; }
no_popup_for() { ! wait_for "$1" popup_shown; } # tenths
error_box() { box=$(xdotool search --onlyvisible --name '^Tapewren$' 2>/dev/null | head -1) && [ -n "$box" ]; }
minutes_left() { awk -v f="$(free_bytes "$takes")" -v m="$minute" 'BEGIN { printf "%.3f", f / m }'; }
within() { awk -v x="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(x > lo && x <= hi) }'; }
popup_says() { # words: the popup now out says them
  local text
  text=$(window_text "$(popup_window)")
  check "the popup says \"$1\" (read: \"$text\")" grep -qF "$1" <<<"$text"
}
fill_to() { # bytes: another file takes all but about that much of the disk
  head -c $(($(free_bytes "$takes") - $1)) /dev/zero >>"$takes/other-files"
}
first_popup_after() { # tenths: waits for a popup, then notes the minutes left
  wait_for "$1" popup_shown && left=$(minutes_left)
}

check "a private bus" private_bus
check "the fake portal is on it" fake_portal_on_bus "$fake_portal"
install_copy "$app"
printf '[Recorder]\nChannel=0\nVolume=100\nQuality=65\n' >"$app/quillby.ini"
mkdir -p "$takes" "$work/music"

# 2 MiB hold 52 s.
check "a disk too small for a minute" takes_disk $((2 << 20))
DBUS_SESSION_BUS_ADDRESS=$bus start "$app"
check "tray icon" wait_for 100 tray_window
click
if check "the take is refused in a box" wait_for 50 error_box; then
  text=$(box_text "$box")
  check "it says why (read: \"$text\")" grep -q "Not enough free disk space to record: less than a minute of recording fits in /" <<<"$text"
  shot long-take-refused
  xdotool key Return
  check "the box closes" wait_for 30 bash -c "! xdotool search --onlyvisible --name '^Tapewren\$' >/dev/null"
fi
check "nothing records" not_recording
check "nothing is made" test -z "$(ls -A "$takes")"
check "nothing is held for a refused take" test ! -e "$work/portal/inhibit-log"

check "a disk six seconds over ten minutes" takes_disk $((10 * minute + 6 * rate))
click
check "recording" wait_for 30 recording
check "suspend and idle are held" wait_for 30 held 1
check "as the portal's flags 4 and 8" grep -qx "inhibit 12 Recording sound" "$work/portal/inhibit-log"
started=$SECONDS
# The file grows every second of sound: the warning comes with the check
# after the write at six, never before the disk is down to ten minutes.
check "the first warning" first_popup_after 300
echo "first warning after $((SECONDS - started)) s, $left minutes left"
check "when ten minutes are left, at most two writes later" within "$left" 9.8 10
popup_says "for 9 more minutes of recording"
shot long-take-warning
check "it goes" wait_for 150 no_popup

fill_to $((minute + 100000))
check "the last warning" first_popup_after 150
echo "last warning $left minutes left"
check "when a minute is left, at most a write later" within "$left" 0.8 1
popup_says "less than a minute of recording"
check "it goes" wait_for 150 no_popup
check "no more warnings" no_popup_for 30

fill_to 50000
check "the full disk ends the take, and it is offered" wait_for 150 save_dialog_open
check "the disk was full" test "$(free_bytes "$takes")" -lt 4096
kept=$(stat -c %s "$takes"/tmpfile1.mp3)
check "sleep is let go after the failure" wait_for 30 held 0
save_as "$work/music/long"
check "it saves" wait_for 50 save_dialog_closed
n=$(samples "$work/music/long.mp3")
check "all of the $kept bytes the disk held decode ($n samples)" \
  awk -v n="$n" -v b="$kept" 'BEGIN { exit !(n > 15 * 44100 && n > (b / 40000 - 0.2) * 44100) }'

check "a roomy disk" takes_disk none
click
check "recording again" wait_for 30 recording
check "held again" wait_for 30 held 1
sleep 1
click
check "a stop offers the take" wait_for 50 save_dialog_open
check "let go at the stop" wait_for 30 held 0
check "discarded" discard_take

click
check "recording once more" wait_for 30 recording
check "held once more" wait_for 30 held 1
kill -TERM "$pid"
# A session that ends: the take is finished and kept, nothing is asked.
check "SIGTERM ends it within 2 s" exited_with_zero "$pid" 20
check "let go after SIGTERM" wait_for 30 held 0
check "three takes, three holds, each let go" \
  test "$(grep -c '^inhibit 12' "$work/portal/inhibit-log") $(grep -cx close "$work/portal/inhibit-log")" = "3 3"
kill "$portal_pid" "$bus_pid"
wait "$portal_pid" 2>/dev/null
finish long_take_test
