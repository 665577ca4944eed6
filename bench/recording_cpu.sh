#!/usr/bin/env bash
# Recording CPU: the program recording 640 x 480 at 30 frames a second with sound (resolution
# mode 1, the GUI tests' test camera and microphone) against a bare pipeline that encodes the same
# live test sources with the writer's encoders, settings and muxer and shows the same preview:
#
#   videotestsrc (YUY2 640x480 30/s) ! tee ! queue ! videoconvert ! gtksink
#                                      tee ! queue ! videoconvert ! videoscale ! I420 640x480
#                                            ! avenc_wmv2 bitrate=300000 gop-size=210 ! stamps ! MUXER
#                                            ! filesink buffer-mode=unbuffered
#   audiotestsrc (S16 44.1 kHz mono) ! queue ! audioconvert ! audioresample ! 44.1 kHz stereo
#                                            ! avenc_wmav2 bitrate=32000 ! stamps ! MUXER
#
# "stamps" is identity single-segment=true: the running-time rewrite the writer does in a probe
# (avenc_wmv2 stamps from 1000 hours; without it the muxer waits for ever on the audio and the
# full video queue stops the preview).
#
# The writer takes its bit rates from the system profile (300 kbit/s video, 32 kbit/s WMA) and its
# key-frame spacing from the recording's 7 s at 30 frames a second; MUXER is read from the
# writer's source (override with MUXER=). The program is measured from SETTLE seconds after its
# recording began, for MEASURE seconds; then the bare pipeline, one after the other under the same
# virtual display (never side by side on two shared cores). CPU is utime + stime from
# /proc/PID/stat; the load average is printed beside each pair.
#
# usage: bench/recording_cpu.sh [build dir]     (SETTLE=5 MEASURE=20 ROUNDS=1 by default)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
SETTLE=${SETTLE:-5}
MEASURE=${MEASURE:-20}
ROUNDS=${ROUNDS:-1}
source bench/recording_common.sh "${1:-build}" "${OUT:-${1:-build}/bench-recording}"

VIDEO_BITRATE=300000
GOP=210
AUDIO_BITRATE=32000
mux_properties=""
[[ "$MUXER" == asfmux ]] && mux_properties="preroll=0"  # as the writer sets it

# The two files' data rates, printed to show the encoders were set alike.
bytes_per_second() {  # <file> -> appended to $rates
    local duration
    duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$1")
    rates+=" $(awk -v b="$(stat -c %s "$1")" -v d="$duration" 'BEGIN { printf "%.0f", (d > 0 ? b * 8 / d / 1000 : 0) }')"
}

# CPU of the process program_pid over MEASURE seconds, as percent of one core, into $result.
measure() {
    kill -0 "$program_pid" 2>/dev/null || fail "the process ended before the measure"
    local before after
    before=$(cpu_ticks "$program_pid")
    sleep "$MEASURE"
    after=$(cpu_ticks "$program_pid")
    result=$(percent_of_core $((after - before)) "$MEASURE")
}

program_recording_cpu() {  # -> $result; the recording is VideoCap<number>.asf
    local number=$1
    settings 1
    start_program
    record_button
    xdotool click 1
    sleep 0.4  # the click filter's wait
    sleep "$SETTLE"
    [[ -s "$(video_file "$number")" ]] || fail "no recording after ${SETTLE} s: $(cat "$work/program.log")"
    measure
    xdotool click 1
    finished_within "$(video_file "$number")" 100 || fail "$(basename "$(video_file "$number")") was not finished"
    stop_program
    bytes_per_second "$(video_file "$number")"
}

bare_recording_cpu() {  # -> $result
    # shellcheck disable=SC2086  # the muxer's properties are words
    gst-launch-1.0 -e -q \
        videotestsrc is-live=true ! video/x-raw,format=YUY2,width=640,height=480,framerate=30/1,pixel-aspect-ratio=1/1 \
        ! tee name=t \
        t. ! queue ! videoconvert ! gtksink \
        t. ! queue ! videoconvert ! videoscale add-borders=false ! video/x-raw,format=I420,width=640,height=480,pixel-aspect-ratio=1/1 \
        ! avenc_wmv2 bitrate=$VIDEO_BITRATE gop-size=$GOP ! identity single-segment=true ! $MUXER $mux_properties name=mux ! filesink buffer-mode=unbuffered location="$work/bare.asf" \
        audiotestsrc is-live=true volume=0.05 ! audio/x-raw,format=S16LE,layout=interleaved,rate=44100,channels=1 \
        ! queue ! audioconvert ! audioresample ! audio/x-raw,rate=44100,channels=2 \
        ! avenc_wmav2 bitrate=$AUDIO_BITRATE ! identity single-segment=true ! mux. >"$work/bare.log" 2>&1 &
    program_pid=$!
    sleep "$SETTLE"
    [[ -s "$work/bare.asf" ]] || fail "the bare pipeline wrote nothing: $(cat "$work/bare.log")"
    measure
    kill -INT "$program_pid"  # -e: an end-of-stream finishes the file
    wait "$program_pid" || true
    program_pid=""
    bytes_per_second "$work/bare.asf"
}

echo "Recording CPU (640 x 480, 30/s, with sound; muxer $MUXER), % of one core over ${MEASURE} s after ${SETTLE} s"
printf '%-6s %10s %10s %7s %12s %12s %16s\n' round program bare ratio "load before" "load after" "kbit/s (p, b)"
for round in $(seq "$ROUNDS"); do
    at=$(load)
    rates=""
    program_recording_cpu $((round - 1))
    p=$result
    bare_recording_cpu
    b=$result
    printf '%-6s %9s%% %9s%% %7s %12s %12s %16s\n' "$round" "$p" "$b" "$(ratio "$p" "$b")" "$at" "$(load)" "$rates"
done
echo "goal: ratio <= 1.1"
