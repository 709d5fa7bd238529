#!/usr/bin/env bash
# A screen reader and a keyboard alone, on a desktop without a tray: every
# window names its controls as what they are, a take is recorded, tagged and
# saved, the optimizer runs and the configuration window closes, all by keys;
# balloons and popups are spoken as alerts, and so is an input that goes.
set -uo pipefail
exe=${1:?usage: a11y_test.sh path/to/tapewren}
# shellcheck source=../support/e2e.sh
. "$(dirname "$0")/../support/e2e.sh"

own_bus || { echo "no dbus-daemon"; exit 1; }
own_display openbox || { echo "no X display"; exit 1; }
check "the accessibility bus" a11y_bus || { finish a11y_test; exit 1; }
recorder_window() { window_of_size 260x300; }
config_window() { window_of_size 348x508; }
no_config_window() { ! config_window; }
wizard_window() { window_of_size 445x307; }
no_wizard_window() { ! wizard_window; }
tree_is() { a11y active >"$1" && head -1 "$1" | grep -qP "$2"; }
tree() { wait_for 50 tree_is "$@"; } # file, first line: the active window's tree, once it is that one
has() { grep -qP "$2" "$1"; } # file, line of the tree (tab-separated)
all_named() { [ -z "$(unnamed "$1")" ] || { unnamed "$1"; false; }; }
tag_reads_back() {
  [ "$(ffprobe -v error -show_entries format_tags=title,artist -of csv=p=0 "$1")" = "Keyboard take,Tapewren" ]
}

told() { grep -qP "^alert\tTapewren\t$1" "$work/alerts"; } # an alert a screen reader heard
/usr/bin/python3 "$(dirname "$0")/a11y.py" alerts 120 >"$work/alerts" 2>&1 &
pids+=("$!")
check "a screen reader listens" wait_for 50 grep -q listening "$work/alerts"
# The input is an output of this test's own, which goes at the end.
gone=a11y_gone_$$
module=$(pactl load-module module-null-sink "sink_name=$gone" "sink_properties=device.description=$gone")
at_exit "pactl unload-module $module 2>/dev/null"
# Something plays into it, or its monitor would hand on a take late and short.
pacat --latency-msec=10 -d "$gone" </dev/zero &
pids+=("$!")
check "the output plays" wait_for 50 tone_flowing "$gone"
app=$work/app
install_copy "$app"
printf '[Recorder]\nChannelName=Monitor of %s\nVolume=100\nQuality=61\n' "$gone" >"$app/quillby.ini"
mkdir -p "$work/music"
start "$app"
check "the recorder window" wait_for 50 recorder_window || { finish a11y_test; exit 1; }
xdotool windowactivate --sync "$(recorder_window)"
check "the recorder window is a frame" tree "$work/recorder" '^0	frame	Tapewren'
check "its face a button, Record, the hint its description" \
  has "$work/recorder" '^1	push button	Record	Tapewren\(TM\) Click once.*focusable,focused'
check "every control of it named" all_named "$work/recorder"
check "the balloon in it is an alert" wait_for 30 told "Single click to record"

xdotool key space
check "Space records" wait_for 30 recording
sleep 1.5
check "and the face says Stop" tree "$work/recording" '^0	frame' &&
  has "$work/recording" '^1	push button	Stop	Tapewren\(TM\) Total Time'

xdotool key Return
check "Enter stops and opens Save as" wait_for 50 save_dialog_open
check "Save as is a dialog" tree "$work/save" '^0	dialog	Save as'
check "its banner named" has "$work/save" '^\d+	label	Tapewren	'
check "its tag fields named by their labels" has "$work/save" '^\d+	text	Title:	'
check "its genre list too" has "$work/save" '^\d+	combo box	Genre'
check "every control of it named" all_named "$work/save"
xdotool type --delay 5 "$work/music/keys"
check "Tab reaches Title" tab_to Title: && xdotool type --delay 5 "Keyboard take"
check "and Artist" tab_to Artist: && xdotool type --delay 5 "Tapewren"
check "and Save with Tag" tab_to "Save with Tag" && xdotool key space
check "saved" wait_for 50 test -s "$work/music/keys.mp3"
check "the take decodes" awk -v n="$(samples "$work/music/keys.mp3")" 'BEGIN { exit !(n > 44100) }'
check "its tag reads back" tag_reads_back "$work/music/keys.mp3"
check "the popup that says so is an alert" wait_for 30 told "File's been saved. Click to play now."

xdotool windowactivate --sync "$(recorder_window)"
xdotool key shift+F10
sleep 0.5
xdotool key c
check "Shift+F10 opens the menu (Config...)" wait_for 30 config_window
check "the configuration window is a dialog" tree "$work/config-tree" '^0	dialog	Tapewren'
check "its first control has the focus" focused_is "Recording Channel"
check "its sliders named, the hint their description, quality read as its bit rate" \
  has "$work/config-tree" '^\d+	slider	Quality	Sample Rate: +44100 hz Bit Rate: 128 kbps	128(\.0)?	' &&
  has "$work/config-tree" '^\d+	slider	Recording volume	100%'
for link in "Tapewren 2.95" "Frequently Asked Questions" "Getting Support"; do
  check "$link is a link the keyboard reaches" has "$work/config-tree" "^\\d+	link	$link	.*focusable"
done
check "every control of it named" all_named "$work/config-tree"
check "its buttons read once, by name" has "$work/config-tree" '^\d+	push button	Apply		'
check "Tab reaches Optimizer" tab_to Optimizer && xdotool key space
check "Space opens the optimizer" wait_for 30 wizard_window
check "Tab reaches Start the Wizard" tab_to "Start the Wizard" && xdotool key space
check "the optimizer is a dialog, its gauges read with values" tree "$work/wizard" '^0	dialog	Tapewren'
for gauge in Left Right "Recording Volume"; do
  check "gauge $gauge" has "$work/wizard" "^\\d+	progress bar	$gauge	[^	]*	\\d"
done
check "every control of it named" all_named "$work/wizard"
check "Tab reaches Next" tab_to Next && xdotool key space
check "and Finish" tab_to Finish && xdotool key space
check "Finish closes the optimizer" wait_for 30 no_wizard_window
xdotool windowactivate --sync "$(config_window)" key Escape
check "Escape closes the configuration window" wait_for 30 no_config_window

xdotool windowactivate --sync "$(recorder_window)" key space
check "Space records again" wait_for 30 recording
pactl unload-module "$module"
check "the input gone is told as an alert" \
  wait_for 50 told "Recording stopped: the recording device is no longer available."
finish a11y_test
