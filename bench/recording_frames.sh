#!/usr/bin/env bash
# Frames of a long recording: the program records 640 x 480 at 30 frames a second with sound
# (resolution mode 1, the GUI tests' test camera and microphone) for SECONDS through its record
# button; the frames in the file (ffprobe -count_frames) are set against 30 x its duration (less
# two for the rounding of the header's duration, which ends a frame time after the last frame's
# start and is counted from a start that need not be zero) and the gaps between the frames'
# stamps are counted. Also printed: the audio's duration against the video's, and the load
# average before and after.
# Long (10 minutes by default): run by hand, never in CI.
#
# usage: bench/recording_frames.sh [build dir] [seconds]     (600 s by default)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
SECONDS_RECORDED=${2:-600}
source bench/recording_common.sh "${1:-build}" "${OUT:-${1:-build}/bench-recording}"

settings 1
start_program
record_button
at=$(load)
xdotool click 1
started=$(now)
sleep "$SECONDS_RECORDED"
xdotool click 1
recorded=$(seconds_since "$started")
file=$(video_file 0)
finished_within "$file" 300 || fail "$(basename "$file") was not finished 30 s after the stop"
after=$(load)
stop_program

value() {  # <stream> <entry> [ffprobe options]
    local stream=$1 entry=$2
    shift 2
    ffprobe -v error "$@" -select_streams "$stream" -show_entries "stream=$entry" -of csv=p=0 "$file"
}
frames=$(value v:0 nb_read_frames -count_frames)
video_start=$(value v:0 start_time)
video_duration=$(value v:0 duration)
audio_duration=$(value a:0 duration)
# The frames' own stamps: a gap of more than one and a half frame times is frames lost on the way.
ffprobe -v error -select_streams v:0 -show_entries packet=pts_time -of csv=p=0 "$file" >"$out/frames-pts.txt"
read -r gaps lost longest < <(sort -g "$out/frames-pts.txt" | awk '
    NR > 1 && $1 - t > worst { worst = $1 - t }
    NR > 1 && $1 - t > 1.5 / 30 { gaps++; lost += int(($1 - t) * 30 + 0.5) - 1 }
    { t = $1 } END { printf "%d %d %.3f\n", gaps, lost, worst }')
# The header's duration is the sum of the frames' durations, so a frame lost before the muxer
# shortens it too: the time between the clicks is the second yardstick (both clicks wait out the
# same double-click time), the stamps' gaps the third.
thirty_times() { awk -v d="$1" 'BEGIN { printf "%d", d * 30 + 0.5 }'; }
expected=$(thirty_times "$video_duration")
by_clock=$(thirty_times "$recorded")
echo "Recording of ${SECONDS_RECORDED} s (${recorded} s between the clicks): video from $video_start s for $video_duration s, audio $audio_duration s; load $at before, $after after"
echo "frames: $frames in the file; 30 x its duration $expected ($((expected - frames)) missing); 30 x the time between the clicks $by_clock ($((by_clock - frames)) missing)"
echo "gaps in the frames' stamps: $gaps, $lost frames lost in them (longest time between two frames $longest s)"
((frames >= expected - 2 && lost == 0)) || exit 1
