#!/usr/bin/env bash
# The real program on a virtual display with a test camera and microphone, driven on its record
# button: a single click records VideoCap0000.asf into the video folder the settings name (WMV2
# 640 x 480 and WMA2 from zero, as long as the recording, decodable without an error, seekable
# to the bars the right way up) while the preview goes on and the clock counts; a double-click
# starts VideoCap0001.asf at once; SIGTERM, SIGINT and SIGHUP during a recording each leave a
# complete file and an exit status of 0; mode 0 without a microphone records one 352 x 288 video
# stream; and on a small file system of its own the free-space guard stops a recording the disk
# can no longer hold.
#
# usage: program_recording.sh <program folder> <output folder>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/program_common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/recording_checks.sh"

videos="$work/videos"
mkdir -p "$videos"
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

# Each way a program is asked to end from outside finishes the file and ends with status 0.
number=2
for signal in TERM INT HUP; do
    if [[ -z "$program_pid" ]]; then
        start_program
        record_button
    fi
    xdotool click 1
    sleep 3
    kill -"$signal" "$program_pid"
    status=0
    wait "$program_pid" || status=$?
    program_pid=""
    ((status == 0)) || fail "SIG$signal during a recording: exit status $status"
    expect_recording "$(video_file "$videos" "$number")" 2.6 640 480 "wmav2 wmv2"
    echo "ok: SIG$signal during a recording left a complete file and exit status 0"
    number=$((number + 1))
done

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
