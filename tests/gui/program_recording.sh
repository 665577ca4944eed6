#!/usr/bin/env bash
# The real program on a virtual display with a test camera and microphone, driven on its record
# button: a single click records VideoCap0000.asf into the video folder the settings name (WMV2
# 640 x 480 and WMA2 from zero, as long as the recording, decodable without an error, seekable
# to the bars the right way up) while the preview goes on and the clock counts; a double-click
# starts VideoCap0001.asf at once; SIGTERM during a recording leaves a complete file; mode 0
# without a microphone records one 352 x 288 video stream; and on a small file system of its
# own the free-space guard stops a recording the disk can no longer hold.
#
# usage: program_recording.sh <program folder> <output folder>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/program_common.sh"

videos="$work/videos"
mkdir -p "$videos"
settings() {  # <video folder> <resolution mode>
    printf '[HKEY_LOCAL_MACHINE\\Software\\Corvane\\Vistrel]\nVideoPath=%s/\nResolutionMode=%s\n' "$1" "$2" \
        >"$VISTREL_REGISTRY"
}
now() { date +%s.%N; }
record_button() {  # moves the pointer onto the record button (start and stop share its place)
    read -r rx ry < <(button_origin 1)
    xdotool mousemove $((rx + 14)) $((ry + 16))
    sleep 0.3
}
region() {  # <shot> <geometry> -> a checksum of that part of the screen
    convert "$1" -crop "$2" +repage -depth 8 rgb:- | md5sum | cut -d' ' -f1
}
# Waits until the file's header says it is finished (a duration), up to 10 s.
wait_finished() {  # <file>
    for _ in $(seq 100); do
        [[ -s "$1" ]] && ffprobe -v error -show_entries format=duration -of csv=p=0 "$1" 2>/dev/null |
            grep -q '^[0-9]' && return 0
        sleep 0.1
    done
    fail "$(basename "$1") was not finished"
}

# Checks a finished recording: its streams (codec:width:height, audio without a size), each from
# zero and as long as what was recorded, a decode without a single error, a frame from the middle.
expect_recording() {  # <file> <seconds recorded> <width> <height> <streams, e.g. "wmav2 wmv2">
    local file=$1 seconds=$2 width=$3 height=$4 name
    name=$(basename "$file")
    wait_finished "$file"
    local streams
    streams=$(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$file" | tr '\n' ' ' | sed 's/ $//')
    [[ "$streams" == "$5" ]] || fail "$name: streams '$streams', not '$5'"
    local size
    size=$(ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=p=0 "$file")
    [[ "$size" == "$width,$height" ]] || fail "$name: video $size, not $width x $height"
    while IFS=, read -r codec start duration; do
        awk -v s="$start" 'BEGIN { exit !(s >= 0 && s < 0.1) }' || fail "$name: $codec starts at $start"
        awk -v d="$duration" -v r="$seconds" 'BEGIN { exit !(d - r < 0.5 && r - d < 0.5) }' ||
            fail "$name: $codec lasts $duration s, recorded $seconds s"
    done < <(ffprobe -v error -show_entries stream=codec_name,start_time,duration -of csv=p=0 "$file")
    local errors
    errors=$(ffmpeg -nostdin -v error -i "$file" -f null - 2>&1)
    [[ -z "$errors" ]] || fail "$name: ffmpeg reports: $errors"
    errors=$(gst-launch-1.0 -q filesrc location="$file" ! decodebin ! fakesink 2>&1 || echo "gst-launch failed")
    [[ -z "$errors" ]] || fail "$name: GStreamer reports: $errors"
    local middle
    middle=$(awk -v r="$seconds" 'BEGIN { printf "%.2f", r / 2 }')
    ffmpeg -nostdin -v error -ss "$middle" -i "$file" -frames:v 1 -y "$out/${name%.asf}-middle.png"
    expect_bars "$out/${name%.asf}-middle.png" "$width" "$height" "$name at $middle s"
    echo "ok: $name: $streams, $width x $height, $seconds s from zero, decodes cleanly, seeks to the bars"
}

# --- mode 1 with a microphone: single click, double-click, SIGTERM ---------------------------
settings "$videos" 1
start_program
record_button
import -window root "$out/recording-before.png"
xdotool click 1
started=$(now)
sleep 1.7
import -window root "$out/recording-1.png"
sleep 2
import -window root "$out/recording-2.png"
sleep 1.3
xdotool click 1
recorded=$(awk -v a="$started" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }')
sleep 1
# The preview goes on: the test picture's noise patch (bottom right) changes; the status line
# (bottom left) shows a clock that moves on.
noise="100x60+$((outer_x + 3 + 530))+$((outer_y + 26 + 380))"
status="70x16+$((outer_x + 3 + 5))+$((outer_y + 26 + outer_h - 29 - 35))"
[[ "$(region "$out/recording-1.png" "$noise")" != "$(region "$out/recording-2.png" "$noise")" ]] ||
    fail "the preview stood still during the recording"
[[ "$(region "$out/recording-1.png" "$status")" != "$(region "$out/recording-2.png" "$status")" ]] ||
    fail "the status line did not count"
[[ "$(region "$out/recording-before.png" "$status")" != "$(region "$out/recording-1.png" "$status")" ]] ||
    fail "no clock in the status line"
echo "ok: the preview moved and the clock counted while recording"
expect_recording "$videos/VideoCap0000.asf" "$recorded" 640 480 "wmav2 wmv2"

xdotool click --repeat 2 --delay 80 1
started=$(now)
sleep 2.5
xdotool click 1
# The double-click starts at once; the single click that stops waits out GTK's double-click time.
recorded=$(awk -v a="$started" -v b="$(now)" 'BEGIN { printf "%.2f", b - a + 0.4 }')
sleep 1
expect_recording "$videos/VideoCap0001.asf" "$recorded" 640 480 "wmav2 wmv2"
[[ ! -e "$videos/VideoCap0002.asf" ]] || fail "the double-click started twice"

xdotool click 1
sleep 3
kill -TERM "$program_pid"
wait "$program_pid" || true
program_pid=""
expect_recording "$videos/VideoCap0002.asf" 2.6 640 480 "wmav2 wmv2"
echo "ok: SIGTERM during a recording left a complete file"

# --- mode 0 without a microphone ---------------------------------------------------------------
rm "$VISTREL_TEST_DEVICES/Vistrel Test Microphone.microphone"
small_videos="$work/videos-small"
mkdir -p "$small_videos"
settings "$small_videos" 0
start_program
record_button
xdotool click 1
sleep 2.5
xdotool click 1
sleep 1
stop_program
expect_recording "$small_videos/VideoCap0000.asf" 2.5 352 288 "wmv2"

# --- the free-space guard on a file system of its own ------------------------------------------
printf '[Device]\nName=Vistrel Test Microphone\n' >"$VISTREL_TEST_DEVICES/Vistrel Test Microphone.microphone"
disk="$work/disk"
mkdir -p "$disk"
if ! mount -t tmpfs -o size=300m tmpfs "$disk" 2>/dev/null; then
    echo "skipped: the free-space guard (mounting a tmpfs is not allowed here)"
    echo "all good; screenshots and frames in $out"
    exit 0
fi
trap 'umount "$disk" 2>/dev/null || true; cleanup' EXIT
settings "$disk" 1
start_program
record_button
xdotool click 1
sleep 2
started=$(now)
fallocate -l 60M "$disk/other-program.bin"  # about 240 MB free: below what a recording needs
stopped=""
for _ in $(seq 40); do
    if ffprobe -v error -show_entries format=duration -of csv=p=0 "$disk/VideoCap0000.asf" 2>/dev/null |
        grep -q '^[0-9]'; then
        stopped=$(awk -v a="$started" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }')
        break
    fi
    sleep 0.1
done
[[ -n "$stopped" ]] || fail "the recording went on with less than 250 MB free"
sleep 0.5
import -window root "$out/recording-disk-full.png"
boxes=$(xdotool search --onlyvisible --name '^Vistrel$' | wc -l)
((boxes >= 2)) || fail "no message beside the main window after the guard stopped"
xdotool key Return
sleep 0.5
kill -0 "$program_pid" || fail "the program ended"
stop_program
awk -v s="$stopped" 'BEGIN { exit !(s <= 2.5) }' || fail "the guard took $stopped s"
expect_recording "$disk/VideoCap0000.asf" "$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$disk/VideoCap0000.asf")" \
    640 480 "wmav2 wmv2"
echo "ok: the guard stopped the recording $stopped s after the disk filled, with a message"
echo "all good; screenshots and frames in $out"
