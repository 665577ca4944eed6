#!/usr/bin/env bash
# The real program on a virtual display with a test camera: the five picture buttons stand
# centred under the live preview on the grey strip, each showing its strip's normal frame; the
# pointer resting on the snapshot button brings its hover frame; and with resolution mode 0
# stored, the next start shows the small window at the stored position with the strip centred
# in it. Screenshots are left in the output folder for a person to look at.
#
# usage: program_buttons.sh <program folder> <output folder>
set -euo pipefail

program_dir=$(cd "$1" && pwd)
out=$(mkdir -p "$2" && cd "$2" && pwd)
res="$program_dir/Res"
work=$(mktemp -d)
xvfb_pid=""
program_pid=""

cleanup() {
    [[ -n "$program_pid" ]] && kill -TERM "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill -TERM "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Everything the program keeps goes into the work folder: settings, GStreamer's registry, the
# effect filter's registration, media.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
export GST_REGISTRY="$work/gst-registry.bin" VISTREL_REGISTRY="$work/registry.ini"
export VISTREL_TEST_DEVICES="$work/devices"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR" "$VISTREL_TEST_DEVICES"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[Device]\nName=Vistrel Test Camera\nSizes=352x288;640x480;1280x1024\n' \
    >"$VISTREL_TEST_DEVICES/Vistrel Test Camera.camera"
printf '[Device]\nName=Vistrel Test Microphone\n' >"$VISTREL_TEST_DEVICES/Vistrel Test Microphone.microphone"

display_file="$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s "$display_file" ]] && break; sleep 0.1; done
[[ -s "$display_file" ]] || fail "Xvfb did not start"
export DISPLAY=":$(tr -dc '0-9' <"$display_file")"

# Starts the program and waits for its main window; sets outer_x/y/w/h from its geometry.
start_program() {
    "$program_dir/vistrel" >"$work/program.log" 2>&1 &
    program_pid=$!
    local window=""
    for _ in $(seq 150); do
        window=$(xdotool search --onlyvisible --name '^Vistrel$' 2>/dev/null | head -n1 || true)
        [[ -n "$window" ]] && break
        kill -0 "$program_pid" 2>/dev/null || fail "the program ended: $(cat "$work/program.log")"
        sleep 0.1
    done
    [[ -n "$window" ]] || fail "no main window"
    sleep 3  # the preview starts and the window settles where the settings put it
    eval "$(xdotool getwindowgeometry --shell "$window")"
    outer_x=$X outer_y=$Y outer_w=$WIDTH outer_h=$HEIGHT
}

stop_program() {
    kill -TERM "$program_pid"
    wait "$program_pid" || true
    program_pid=""
}

# The client area lies inside a 3-pixel frame under a 23-pixel caption; the strip of five
# places is 205 pixels wide, centred, 35 pixels above the bottom.
button_origin() {  # <place 0..3> -> "x y" on the screen
    local w=$((outer_w - 6)) h=$((outer_h - 29))
    local x0=$(((w - 205) / 2))
    echo "$((outer_x + 3 + x0 + 49 * $1)) $((outer_y + 26 + h - 35))"
}

# Number of pixels where the screen's 29 x 32 at (x, y) differs from frame f of a strip.
differs_from_frame() {  # <shot> <x> <y> <strip> <frame>
    convert "$1" -crop "29x32+$2+$3" +repage "$work/shown.png"
    convert "$res/$4" -crop "29x32+$((29 * $5))+0" +repage "$work/frame.png"
    compare -metric AE "$work/shown.png" "$work/frame.png" null: 2>&1 || true
}

expect_frame() {  # <shot> <place> <strip> <frame> <what>
    read -r x y < <(button_origin "$2")
    local diff
    diff=$(differs_from_frame "$1" "$x" "$y" "$3" "$4")
    [[ "$diff" == 0 ]] || fail "$5: $diff pixels differ from frame $4 of $3 at $x,$y"
    echo "ok: $5"
}

pixel() {  # <shot> <x> <y> -> "r,g,b"
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '([0-9]*,[0-9]*,[0-9]*' | head -n1 | tr -d '('
}

# 1. The large window of the first start.
start_program
import -window root "$out/buttons.png"
echo "window ${outer_w}x${outer_h} at ${outer_x},${outer_y}"
((outer_w == 645 && outer_h == 551)) || fail "first start: window ${outer_w}x${outer_h}, not the template's 645x551"
expect_frame "$out/buttons.png" 0 Open.bmp 1 "open-folder button, normal"
expect_frame "$out/buttons.png" 1 RecordOn.bmp 1 "start-recording button, normal"
expect_frame "$out/buttons.png" 2 Snap.bmp 1 "snapshot button, normal"
expect_frame "$out/buttons.png" 3 Help.bmp 1 "help button, normal"
[[ "$(pixel "$out/buttons.png" $((outer_x + outer_w - 10)) $((outer_y + outer_h - 10)))" == "180,180,180" ]] ||
    fail "the strip is not grey"
echo "ok: grey strip"

# 2. The pointer rests on the snapshot button: its hover frame, before the tooltip comes up.
read -r sx sy < <(button_origin 2)
xdotool mousemove $((sx + 3)) $((sy + 3))
sleep 0.25
import -window root "$out/hover.png"
expect_frame "$out/hover.png" 2 Snap.bmp 2 "snapshot button under the pointer"
expect_frame "$out/hover.png" 3 Help.bmp 1 "help button beside it stays normal"
sleep 1.5
import -window root "$out/tooltip.png"
xdotool mousemove 5 5
sleep 0.3
import -window root "$out/left.png"
expect_frame "$out/left.png" 2 Snap.bmp 1 "snapshot button after the pointer left"
stop_program

# 3. Resolution mode 0 stored (beside the position the first run saved): the small window.
grep -q '^XPos=' "$VISTREL_REGISTRY" || fail "the first run saved no settings"
sed -i -e 's/^ResolutionMode=.*/ResolutionMode=0/' -e 's/^XPos=.*/XPos=100/' -e 's/^YPos=.*/YPos=80/' "$VISTREL_REGISTRY"
start_program
import -window root "$out/small.png"
echo "window ${outer_w}x${outer_h} at ${outer_x},${outer_y}"
((outer_w == 360 && outer_h == 370)) || fail "mode 0: window ${outer_w}x${outer_h}, not 360x370"
((outer_x == 100 && outer_y == 80)) || fail "mode 0: window at ${outer_x},${outer_y}, not at the stored 100,80"
expect_frame "$out/small.png" 0 Open.bmp 1 "small window: open-folder button"
expect_frame "$out/small.png" 3 Help.bmp 1 "small window: help button"
stop_program
echo "all good; screenshots in $out"
