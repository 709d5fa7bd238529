#!/usr/bin/env bash
# The program as a user installs it: --help, --version and a wrong option;
# an installation into a staging folder checked by the desktop's validators;
# the Debian package, unpacked and run as an unprivileged user with a fresh
# home, which keeps its settings and takes in ~/.local/share/Tapewren/ and
# records and saves one take.
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
check "--help prints the usage" grep -q '^Usage: tapewren \[w\]' <<<"$out"
check "--help names the Sound Optimizer" grep -q 'Sound Optimizer' <<<"$out"
check "--help writes no error" [ ! -s "$work/err" ]
out=$(offline "$exe" --version 2>/dev/null)
check "--version exits 0" [ $? -eq 0 ]
check "--version prints it ($out)" [ "$out" = "Tapewren 2.95" ]
for bad in --bogus -w -x; do
  out=$(offline "$exe" "$bad" 2>"$work/err")
  rc=$?
  check "$bad exits non-zero ($rc)" [ "$rc" -ne 0 ]
  check "$bad says so" grep -q "unknown option '$bad'" "$work/err"
  check "$bad prints nothing else" [ -z "$out" ]
done

# A staging installation, as a distribution package would make it.
stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
for f in usr/bin/tapewren usr/share/applications/$id.desktop \
  usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/metainfo/$id.metainfo.xml; do
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
for lib in libqt6widgets6 libqt6dbus6 libpulse0 libmp3lame0; do
  check "it depends on $lib" grep -q "$lib" <<<"$depends"
done
check "apt accepts it and its dependencies" \
  apt-get install -s -q -o Debug::NoLocking=1 "$deb" >/dev/null
root=$work/root
dpkg-deb -x "$deb" "$root"
check "the package holds the launcher" test -s "$root/usr/share/applications/$id.desktop"

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
data=$user_home/.local/share/Tapewren
as_user "$installed" >>"$work/program.log" 2>&1 &
pid=$!
pids+=("$pid")
check "the installed program reaches the sound server" wait_for 100 connected
check "it keeps its data in ~/.local/share/Tapewren" wait_for 50 test -d "$data/tmp"
check "nothing beside the executable" [ "$(ls "$root/usr/bin")" = tapewren ]
out=$(as_user "$installed" --version)
check "--version answers while it runs ($out)" [ "$out" = "Tapewren 2.95" ]
check "the tray icon" wait_for 100 tray_window

xdotool mousemove "$tray_x" "$tray_y" click 1
check "a click records" wait_for 50 recording
sleep 2
xdotool mousemove "$tray_x" "$tray_y" click 1
check "the next asks where to save" wait_for 50 visible_window "Save as"
save_as "$user_home/music/installed"
check "the dialog closes" wait_for 50 save_dialog_closed
take=$user_home/music/installed.mp3
check "the take is saved" test -s "$take"
frames=$(mpg123 -q -s "$take" 2>/dev/null | wc -c)
check "and decodes to sound ($frames bytes)" [ "$frames" -gt 100000 ]
check "it belongs to the user" [ "$(stat -c %U "$take")" = nobody ]
kill -TERM "$pid"
check "exit" exited_with_zero "$pid" 50
check "the settings are in ~/.local/share/Tapewren" grep -q '^PopCount=' "$data/quillby.ini"
check "with the folder of the save" grep -qx "LastDir=$user_home/music/" "$data/quillby.ini"
check "still nothing beside the executable" [ "$(ls "$root/usr/bin")" = tapewren ]
finish install_test
