#!/usr/bin/env bash
# The program as a user installs it: --help, --version, a wrong option and
# the manual page; an installation into a staging folder checked by the
# desktop's validators; the Debian package, checked by lintian, unpacked and
# run as an unprivileged user with a fresh home, whose sound and files it
# keeps through crashes, unreadable settings and takes, and files of an
# earlier release; then installed with dpkg, run as root and removed again,
# leaving nothing behind.
set -uo pipefail
exe=${1:?usage: install_test.sh path/to/tapewren BUILD_DIR}
build=$(cd "${2:?usage: install_test.sh path/to/tapewren BUILD_DIR}" && pwd)
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"
id=io.github.tapewren.Tapewren

# Without a display or a sound server: anything that started the tray
# program would fail here instead of answering.
offline() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM PULSE_SERVER=unix:/nonexistent "$@"; }
out=$(offline "$exe" --help 2>"$work/err")
check "--help exits 0" [ $? -eq 0 ]
check "--help prints the usage" grep -q '^Usage: tapewren \[w | record-stop | pause-resume\]' <<<"$out"
check "--help names the commands for desktop keys" grep -q '^  record-stop ' <<<"$out"
check "--help names the Sound Optimizer" grep -q 'Sound Optimizer' <<<"$out"
check "--help writes no error" [ ! -s "$work/err" ]
out=$(offline "$exe" --version 2>/dev/null)
check "--version exits 0" [ $? -eq 0 ]
check "--version prints it ($out)" [ "$out" = "Tapewren 2.95" ]
# The manual page lists what --help lists, and renders.
options() { # the options that lines indented by $1 spaces begin with
  sed -n "s/^ \{$1\}\([-w][^ ,]*\(, [^ ,]*\)*\)\( .*\)\{0,1\}\$/\1/p" | sort
}
manual=$(dirname "$0")/../../data/tapewren.1
rendered=$(MANWIDTH=80 man -l "$manual" 2>"$work/err")
check "man renders the manual page" [ $? -eq 0 ] && [ ! -s "$work/err" ]
check "with its name line" grep -q 'tapewren - one-click sound recorder' <<<"$rendered"
help=$(offline "$exe" --help | options 2)
check "it lists the options of --help ($(echo $help))" \
  [ "$help" = "$(sed -n '/^OPTIONS/,/^[A-Z]/p' <<<"$rendered" | options 7)" ]
check "for this version" grep -q '"Tapewren 2.95"' "$manual"
for bad in --bogus -w -x; do
  out=$(offline "$exe" "$bad" 2>"$work/err")
  rc=$?
  check "$bad exits 2, as a wrong usage ($rc)" [ "$rc" -eq 2 ]
  check "$bad says so" grep -q "unknown option '$bad'" "$work/err"
  check "$bad prints nothing else" [ -z "$out" ]
done

# A staging installation, as a distribution package would make it.
stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
for f in usr/bin/tapewren usr/share/applications/$id.desktop \
  usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/metainfo/$id.metainfo.xml \
  usr/share/doc/tapewren/copyright usr/share/doc/tapewren/changelog.gz \
  usr/share/man/man1/tapewren.1.gz usr/share/lintian/overrides/tapewren \
  usr/share/tapewren/translations/tapewren_{de,fr,es,it,pt_BR,pl,en}.qm \
  usr/share/tapewren/{de,fr,es}/Tapewren.html usr/share/tapewren/{de,fr,es,it,pt_BR,pl}/faq.htm; do
  check "installed: $f" test -s "$stage/$f"
done
check "the launcher validates" desktop-file-validate "$stage/usr/share/applications/$id.desktop"
check "the metadata validates" appstreamcli validate --no-net "$stage/usr/share/metainfo/$id.metainfo.xml" >/dev/null
check "the icon draws" convert -background none "$stage/usr/share/icons/hicolor/scalable/apps/$id.svg" \
  "$work/icon.png"
check "the Sound Optimizer action runs 'tapewren w'" \
  grep -qx 'Exec=tapewren w' "$stage/usr/share/applications/$id.desktop"

# The package, unpacked as dpkg would install it.
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1)
deb=$(ls "$work"/tapewren_*.deb 2>/dev/null | head -1)
check "cpack made a package" test -s "$deb"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6dbus6 libpulse0 libmp3lame0 xdg-utils; do
  check "it depends on $lib" grep -q "$lib" <<<"$depends"
done
check "apt accepts it and its dependencies" \
  apt-get install -s -q -o Debug::NoLocking=1 "$deb" >/dev/null
if grep -q TAPEWREN_SANITIZE:BOOL=ON "$build/CMakeCache.txt"; then
  echo "lintian left out: this build is instrumented, not hardened as the package is"
else
  lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1
  check "lintian finds no error and no warning" [ $? -eq 0 ]
  grep -E '^(E|W):' "$work/lintian.log"
  # lintian only mentions these: Debian's hardening, seen in the executable.
  dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/bin/tapewren >"$work/packaged"
  check "hardened: PIE" bash -c "readelf -h '$work/packaged' | grep -q 'DYN (Position-Independent'"
  check "hardened: relocations read-only" bash -c "readelf -lW '$work/packaged' | grep -q GNU_RELRO"
  check "hardened: bound at load time" bash -c "readelf -dW '$work/packaged' | grep -q BIND_NOW"
  check "hardened: fortified functions" bash -c "readelf -sW --dyn-syms '$work/packaged' | grep -q '__[a-z]*_chk'"
  check "hardened: stack protector" bash -c "readelf -sW --dyn-syms '$work/packaged' | grep -q __stack_chk_fail"
fi
root=$work/root
dpkg-deb -x "$deb" "$root"
check "the package holds the launcher" test -s "$root/usr/share/applications/$id.desktop"
check "and the German catalogue" test -s "$root/usr/share/tapewren/translations/tapewren_de.qm"

# An unprivileged user with a fresh home, on the test desktop's display and
# sound server (through a socket of its own that any user may use).
chmod 711 "$work"
user_home=$work/home
user_run=$work/run
mkdir -p "$user_home/music" "$user_run" "$work/pulse"
chmod 700 "$user_run"
chmod 755 "$work/pulse"
chown -R nobody:nogroup "$user_home" "$user_run"
module=$(pactl load-module module-native-protocol-unix auth-anonymous=1 socket="$work/pulse/native")
at_exit 'pactl unload-module "$module" 2>/dev/null'
# Under the sanitizers the other user needs their options too, and a copy of
# the leak suppressions it can read wherever the checkout lies.
user_lsan=
IFS=: read -ra lsan_options <<<"${LSAN_OPTIONS:-}"
for option in "${lsan_options[@]}"; do
  if [ "${option%%=*}" = suppressions ]; then
    cp "${option#*=}" "$work/lsan.supp"
    chmod 644 "$work/lsan.supp"
    option=suppressions=$work/lsan.supp
  fi
  user_lsan=${user_lsan:+$user_lsan:}$option
done
as_user() {
  exec setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i HOME="$user_home" XDG_RUNTIME_DIR="$user_run" DISPLAY="$DISPLAY" \
    PULSE_SERVER="unix:$work/pulse/native" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS} ${UBSAN_OPTIONS:+UBSAN_OPTIONS=$UBSAN_OPTIONS} \
    ${user_lsan:+LSAN_OPTIONS=$user_lsan} "$@"
}
installed=$root/usr/bin/tapewren
config=$user_home/.config/tapewren
state=$user_home/.local/state/tapewren
music=$user_home/music
# A copy that the old rule would have taken for portable: now ignored.
printf '[Recorder]\nVolume=3\n' >"$root/usr/bin/quillby.ini"
user_start() {
  as_user "$installed" >>"$work/program.log" 2>&1 &
  pid=$!
  pids+=("$pid")
}
user_take() { # name: a click, two seconds, a click, saved as ~/music/NAME.mp3
  xdotool mousemove "$tray_x" "$tray_y" click 1
  wait_for 50 recording || return 1
  sleep 2
  xdotool mousemove "$tray_x" "$tray_y" click 1
  wait_for 50 save_dialog_open || return 1
  save_as "$music/$1"
  wait_for 50 save_dialog_closed && test -s "$music/$1.mp3"
}
box_says() { # words: a box of the program shows them; Enter closes it
  local text
  wait_for 100 visible_window Tapewren || return 1
  text=$(box_text "$(visible_window Tapewren | head -1)")
  xdotool key Return
  grep -qF "$1" <<<"$text" || { echo "the box read: $text"; return 1; }
}
same_sound() { # take: as loud as the first (within 1 dB), the input's volume untouched
  local level
  level=$(take_db "$music/$1.mp3")
  check "$1: as loud as the first take ($level vs $first dB)" within_db "$level" "$first" 1
  check "$1: the input's volume is unchanged ($(monitor_volume) %)" [ "$(monitor_volume)" = 70 ]
}
# The input at a volume of the user's own, as the desktop's settings left it.
pactl set-source-volume spk.monitor 70%
at_exit 'pactl set-source-volume spk.monitor 100%'

user_start
check "the installed program reaches the sound server" wait_for 100 connected
check "its takes folder is in ~/.local/state/tapewren" wait_for 50 test -d "$state/tmp"
out=$(as_user "$installed" --version)
check "--version answers while it runs ($out)" [ "$out" = "Tapewren 2.95" ]
check "the tray icon" wait_for 100 tray_window
check "a take is recorded and saved" user_take installed
take=$music/installed.mp3
frames=$(mpg123 -q -s "$take" 2>/dev/null | wc -c)
check "it decodes to sound ($frames bytes)" [ "$frames" -gt 100000 ]
check "it belongs to the user" [ "$(stat -c %U "$take")" = nobody ]
first=$(take_db "$take")
check "the first take records the input as the desktop set it" [ "$(monitor_volume)" = 70 ]
# A crash right after the first save: the settings hold the folder alone.
check "the save wrote the folder to ~/.config/tapewren" grep -qx "LastDir=$music/" "$config/quillby.ini"
kill -9 "$pid"
wait "$pid" 2>/dev/null
check "and nothing else yet" [ "$(grep -c = "$config/quillby.ini")" = 1 ]
user_start
check "the tray after the crash" wait_for 100 tray_window
check "the next take is saved" user_take after-crash
same_sound after-crash
kill -TERM "$pid"
check "exit" exited_with_zero "$pid" 50
check "the settings are written" grep -qx 'Volume=70' "$config/quillby.ini"
for folder in "$config" "$state" "$state/tmp"; do
  check "${folder#"$user_home"/} is the user's alone" [ "$(stat -c %a "$folder")" = 700 ]
done
check "nothing beside the executable but what was there" [ "$(ls "$root/usr/bin")" = $'quillby.ini\ntapewren' ]
check "and that is untouched" [ "$(cat "$root/usr/bin/quillby.ini")" = $'[Recorder]\nVolume=3' ]

# Settings it cannot read, and settings that are some other file: each is
# said once, left as it is, and the takes keep the input's own volume.
chmod 000 "$config/quillby.ini"
cp -p "$config/quillby.ini" "$work/settings.before"
{ printf '[Recorder]\nVolume=20\n'; head -c 300 "$installed"; } >"$work/junk.ini"
for kind in unreadable junk; do
  if [ "$kind" = junk ]; then
    cp "$work/junk.ini" "$config/quillby.ini"
    chmod 600 "$config/quillby.ini"
    cp -p "$config/quillby.ini" "$work/settings.before"
  fi
  user_start
  check "$kind settings: said at start" box_says "Unable to read"
  check "$kind settings: the tray" wait_for 100 tray_window
  check "$kind settings: a take" user_take "$kind-settings"
  same_sound "$kind-settings"
  kill -TERM "$pid"
  check "$kind settings: exit" exited_with_zero "$pid" 50
  check "$kind settings: the file is byte for byte as it was" cmp -s "$config/quillby.ini" "$work/settings.before"
  check "$kind settings: with its mode" [ "$(stat -c %a "$config/quillby.ini")" = "$(stat -c %a "$work/settings.before")" ]
done
rm "$config/quillby.ini"

# A take it may not read is offered, with the reason, and saved as it is.
cp "$take" "$state/tmp/tmpfile7.mp3"
chown nobody:nogroup "$state/tmp/tmpfile7.mp3"
chmod 000 "$state/tmp/tmpfile7.mp3"
user_start
wait_for 100 visible_window Tapewren && shot unreadable-take
check "the unreadable take: the reason is given" box_says "Permission denied"
check "then it is offered" wait_for 50 save_dialog_open
save_as "$music/unreadable"
check "and saved whole" wait_for 50 cmp -s "$music/unreadable.mp3" "$take"
kill -TERM "$pid"
check "exit after the unreadable take" exited_with_zero "$pid" 50

# What the earlier release kept in ~/.local/share/Tapewren/ is moved over once.
earlier=$user_home/.local/share/Tapewren
mkdir -p "$earlier/tmp"
printf '[Recorder]\nVolume=70\n[Mine]\nkept=yes\n' >"$earlier/quillby.ini"
cp "$take" "$earlier/tmp/tmpfile1.mp3"
: >"$earlier/Quillby-20050624.lock"
chown -R nobody:nogroup "$user_home/.local/share"
rm "$config/quillby.ini"
user_start
check "the earlier release's take is offered" wait_for 100 save_dialog_open
save_as "$music/moved"
check "and saved whole" wait_for 50 cmp -s "$music/moved.mp3" "$take"
kill -TERM "$pid"
check "exit after the move" exited_with_zero "$pid" 50
check "its settings came along" grep -qx 'kept=yes' "$config/quillby.ini"
check "and its folder is gone" [ ! -e "$earlier" ]
rm "$root/usr/bin/quillby.ini"

# Installed with dpkg and run as root: nothing is left under /usr once the
# package is removed.
if dpkg -s tapewren >/dev/null 2>&1; then
  echo "dpkg left out: this machine has tapewren installed"
else
  usr_files() { find /usr -xdev ! -name icon-theme.cache ! -name mimeinfo.cache | sort; }
  usr_files >"$work/usr.before"
  at_exit 'dpkg -r tapewren >/dev/null 2>&1'
  check "dpkg installs the package" dpkg -i "$deb" >"$work/dpkg.log" 2>&1
  /usr/bin/tapewren >>"$work/program.log" 2>&1 &
  pid=$!
  pids+=("$pid")
  check "root's tray icon" wait_for 100 tray_window
  check "root's take" user_take as-root
  kill -TERM "$pid"
  check "root's exit" exited_with_zero "$pid" 50
  check "root's settings are in its own folder" test -s "$user_settings"
  { cat "$work/usr.before"; dpkg -L tapewren | grep '^/usr'; } | sort -u >"$work/usr.expected"
  usr_files >"$work/usr.installed"
  check "nothing under /usr but the package's own files" diff "$work/usr.expected" "$work/usr.installed"
  check "dpkg removes it" dpkg -r tapewren >>"$work/dpkg.log" 2>&1
  usr_files >"$work/usr.after"
  check "nothing is left under /usr" diff "$work/usr.before" "$work/usr.after"
fi
finish install_test
