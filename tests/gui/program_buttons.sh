#!/usr/bin/env bash
# The real program on a virtual display with a test camera: the five picture buttons stand
# centred under the live preview on the grey strip, each showing its strip's normal frame; the
# pointer resting on the snapshot button brings its hover frame; and with resolution mode 0
# stored, the next start shows the small window at the stored position with the strip centred
# in it. Screenshots are left in the output folder for a person to look at.
#
# usage: program_buttons.sh <program folder> <output folder>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/program_common.sh"

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
