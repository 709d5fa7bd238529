#!/usr/bin/env bash
# Saves that fail, with the real program under the test desktop: each says
# what is wrong in a box on top of the save dialog, which stays open with the
# take, and a last good name saves it. Needs the right to mount (for a
# read-only folder and a full disk); the box is read with OCR.
set -uo pipefail
exe=${1:?usage: save_failure_test.sh path/to/tapewren}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

mounts=()
unmount_all() { for m in "${mounts[@]}"; do umount -l "$m" 2>/dev/null; done; }
at_exit unmount_all
mount_tmpfs() { # folder, options
  mkdir -p "$1" && mount -t tmpfs -o "$2" tmpfs "$1" && mounts+=("$1")
}

error_box() { # the box the save dialog's failure shows: sets $box
  box=$(xdotool search --onlyvisible --name '^Tapewren$' 2>/dev/null | head -1)
  [ -n "$box" ]
}
refused() { # what, path typed, words the box must show
  local what=$1 text
  save_as "$2"
  if ! wait_for 50 error_box; then
    check "$what: a box appears" false
    return
  fi
  check "$what: the box is on top of the dialog" above "$box" "$(visible_window "Save as" | head -1)"
  text=$(box_text "$box")
  check "$what: it says \"$3\" (read: \"$text\")" grep -qF "$3" <<<"$text"
  if [ "$what" != full-disk ]; then
    check "$what: it does not blame the disk" bash -c '! grep -q "disk space" <<<"$1"' _ "$text"
  fi
  shot "save-failure-$what"
  xdotool key Return
  check "$what: the box closes" wait_for 30 bash -c "! xdotool search --onlyvisible --name '^Tapewren\$' >/dev/null"
  check "$what: the dialog stays open" save_dialog_open
  check "$what: the take is kept" test -s "$take"
}

start_ready
music=$work/music
mkdir -p "$music/taken.mp3"
xdotool mousemove "$tray_x" "$tray_y" click 1
check "recording" wait_for 30 recording
sleep 2
xdotool mousemove "$tray_x" "$tray_y" click 1
check "the save dialog opens" wait_for 50 save_dialog_open
take=$(ls "$app"/tmp/tmpfile*.mp3 2>/dev/null | head -1)
check "the take waits in the working folder" test -s "$take"

if mount_tmpfs "$work/stick" ro,size=1m; then
  refused read-only "$work/stick/take" "the folder is read-only."
else
  check "mount a read-only folder" false
fi
if mount_tmpfs "$work/full" size=4k; then
  refused full-disk "$work/full/take" "Please check disk space."
  check "no partial copy on the full disk" bash -c "[ -z \"\$(ls -A '$work/full')\" ]"
else
  check "mount a small disk" false
fi
refused too-long "$music/$(printf 'n%.0s' $(seq 300))" "the name is too long."
refused folder-exists "$music/taken" "a folder of that name exists."
refused no-folder "$work/nowhere/take" "the folder does not exist."

save_as "$music/kept"
check "a good name saves and closes" wait_for 50 save_dialog_closed
n=$(samples "$music/kept.mp3")
check "the saved take decodes ($n samples)" awk -v n="$n" 'BEGIN { exit !(n > 44100) }'
# Written once the dialog has gone, so it may trail the window by a moment.
if ! check "LastDir is the folder saved to" wait_for 50 grep -qx "LastDir=$music/" "$app/quillby.ini"; then
  echo "-- the settings file:"
  cat "$app/quillby.ini"
fi

kill -TERM "$pid"
check "exit" exited_with_zero "$pid" 50
finish save_failure_test
