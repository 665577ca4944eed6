#!/usr/bin/env bash
# Preview CPU: the program showing a test camera against the bare pipeline
#   videotestsrc is-live=true ! video/x-raw,format=YUY2,width=W,height=H,framerate=30/1 ! videoconvert ! gtksink
# at 640 x 480 (resolution mode 1) and 1280 x 1024 (mode 2), under one virtual display. The test
# camera is the same live videotestsrc (SMPTE bars, YUY2, 30/s), so the two sides differ only by
# what the program adds. Each process's CPU is utime + stime from /proc/PID/stat over MEASURE
# seconds, taken after SETTLE seconds. The two run one after the other, never side by side: on two
# cores shared with builds, a second process competing for the same cores and the same X server
# would disturb the first. The load average is printed beside each pair: repeat when it was high.
#
# usage: bench/preview_cpu.sh [build dir]     (SETTLE=5 MEASURE=20 ROUNDS=1 by default)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
BUILD=${1:-build}
SETTLE=${SETTLE:-5}
MEASURE=${MEASURE:-20}
ROUNDS=${ROUNDS:-1}
PROGRAM=$(cd "$BUILD" && pwd)/Vistrel/vistrel
# A build folder is brought up to date first; a bare copy of a program folder (to compare with an
# older build) is taken as it is.
[[ -f "$BUILD/CMakeCache.txt" ]] && cmake --build "$BUILD" -j2 --target vistrel_program >/dev/null

work=$(mktemp -d)
xvfb_pid=""
running=""
cleanup() {
    [[ -n "$running" ]] && kill -TERM "$running" 2>/dev/null && wait "$running" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill -TERM "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Nothing of the user's is read or written: settings, GStreamer's registry, the effect filter's
# registration and the image folder all live in the work folder.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"
export XDG_RUNTIME_DIR="$work/run" GST_REGISTRY="$work/gst-registry.bin"
export VISTREL_REGISTRY="$work/registry.ini" VISTREL_TEST_DEVICES="$work/devices"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR" "$VISTREL_TEST_DEVICES" "$work/images"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[Device]\nName=Bench Camera\nSizes=352x288;640x480;1280x1024\n' >"$VISTREL_TEST_DEVICES/Bench Camera.camera"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(tr -dc '0-9' <"$work/display")"

source bench/cpu_common.sh

# Percent of one core that the running process used over MEASURE seconds after SETTLE, into
# $result (not printed: a command substitution would run it in a subshell the clean-up misses).
measure_running() {
    sleep "$SETTLE"
    kill -0 "$running" 2>/dev/null || { echo "the process ended before the measure" >&2; exit 1; }
    local before after
    before=$(cpu_ticks "$running")
    sleep "$MEASURE"
    after=$(cpu_ticks "$running")
    kill -TERM "$running"
    wait "$running" 2>/dev/null || true
    running=""
    result=$(percent_of_core $((after - before)) "$MEASURE")
}

program_cpu() {  # <resolution mode>
    printf '[HKEY_LOCAL_MACHINE\\Software\\Corvane\\Vistrel]\nResolutionMode=%s\nImagePath=%s/\nVideoPath=%s/\n' \
        "$1" "$work/images" "$work/images" >"$VISTREL_REGISTRY"
    "$PROGRAM" >"$work/program.log" 2>&1 &
    running=$!
    for _ in $(seq 150); do
        xdotool search --onlyvisible --name '^Vistrel$' >/dev/null 2>&1 && break
        kill -0 "$running" 2>/dev/null || { echo "the program ended: $(cat "$work/program.log")" >&2; exit 1; }
        sleep 0.1
    done
    measure_running
}

bare_cpu() {  # <width> <height>
    gst-launch-1.0 -q videotestsrc is-live=true ! "video/x-raw,format=YUY2,width=$1,height=$2,framerate=30/1" \
        ! videoconvert ! gtksink >"$work/bare.log" 2>&1 &
    running=$!
    measure_running
}

echo "Preview CPU, % of one core over ${MEASURE} s after ${SETTLE} s; program first, then the bare pipeline"
printf '%-10s %10s %10s %7s %12s\n' size program bare ratio "load before"
for round in $(seq "$ROUNDS"); do
    for mode in 1 2; do
        if [[ $mode == 1 ]]; then w=640 h=480; else w=1280 h=1024; fi
        at=$(load)
        program_cpu "$mode"
        p=$result
        bare_cpu "$w" "$h"
        b=$result
        printf '%-10s %9s%% %9s%% %7s %12s\n' "${w}x${h}" "$p" "$b" "$(ratio "$p" "$b")" "$at"
    done
done
