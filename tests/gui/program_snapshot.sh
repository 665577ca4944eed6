#!/usr/bin/env bash
# The real program on a virtual display with a test camera: a click on the snapshot button
# writes StillCap0000.jpg into the image folder the settings name, a 640 x 480 JPEG of the
# camera's bars the right way up; a second click writes StillCap0001.jpg; a "temp.txt" of the
# user's in that folder keeps its content through both folder probes.
#
# usage: program_snapshot.sh <program folder> <output folder>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/program_common.sh"

images="$work/images"
mkdir -p "$images"
printf 'my notes, not the program'"'"'s\n' >"$images/temp.txt"
printf '[HKEY_LOCAL_MACHINE\\Software\\Corvane\\Vistrel]\nImagePath=%s/\n' "$images" >"$VISTREL_REGISTRY"

# Waits up to 3 s for a file to appear.
wait_for() {
    for _ in $(seq 30); do [[ -e "$1" ]] && return 0; sleep 0.1; done
    fail "no $(basename "$1") after the click"
}

expect_still() {  # <file>
    local size
    size=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,width,height -of csv=p=0 "$1")
    [[ "$size" == "mjpeg,640,480" ]] || fail "$(basename "$1"): $size, not a 640x480 JPEG"
    expect_bars "$1" 640 480 "$(basename "$1")"
    echo "ok: $(basename "$1") is 640x480, the bars the right way up"
}

start_program
read -r sx sy < <(button_origin 2)
xdotool mousemove $((sx + 14)) $((sy + 16))
sleep 0.3
xdotool click 1
wait_for "$images/StillCap0000.jpg"
sleep 0.3
import -window root "$out/snapshot.png"
expect_still "$images/StillCap0000.jpg"
sleep 1.5  # the "Captured" notice ends
xdotool click 1
wait_for "$images/StillCap0001.jpg"
expect_still "$images/StillCap0001.jpg"
stop_program

[[ "$(cat "$images/temp.txt")" == "my notes, not the program's" ]] || fail "temp.txt was changed"
echo "ok: the user's temp.txt kept its content"
left=$(ls "$images" | grep -v -e '^StillCap000[01]\.jpg$' -e '^temp\.txt$' || true)
[[ -z "$left" ]] || fail "left in the image folder: $left"
cp "$images/StillCap0000.jpg" "$out/"
echo "all good; screenshots and the first still in $out"
