#!/usr/bin/env bash
# Installs what Vistrel needs, builds it into build/ and starts it. Without a display it runs
# the program on a virtual one and saves a screenshot to build/screenshot.png instead.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

PROGRAM=build/Vistrel/vistrel
SCREENSHOT=build/screenshot.png
SETTLE_SECONDS=4
STOP_SECONDS=5

section() { printf '\n==== %s ====\n' "$*"; }

source tools/packages.sh

section "Packages"
vistrel_install_packages

section "Configure build/"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

section "Build the program folder"
cmake --build build -j2 --target vistrel_program

# Test devices: the program's stand-in cameras and microphones for a machine that has none.
# VISTREL_TEST_DEVICES names their folder; a value set by the caller is kept. Without a camera
# (no /dev/video*) a default folder is used, its files written once so that edits stay.
setup_test_devices() {
    if [[ -n "${VISTREL_TEST_DEVICES:-}" ]]; then
        echo "Test devices from ${VISTREL_TEST_DEVICES}"
        return
    fi
    if compgen -G "/dev/video*" >/dev/null; then
        return
    fi
    local folder="$PWD/build/test-devices"
    mkdir -p "$folder"
    if [[ ! -e "$folder/Vistrel Test Camera.camera" ]]; then
        printf '[Device]\nName=Vistrel Test Camera\nSizes=352x288;640x480;1280x1024\n' \
            >"$folder/Vistrel Test Camera.camera"
    fi
    if [[ ! -e "$folder/Vistrel Test Microphone.microphone" ]]; then
        printf '[Device]\nName=Vistrel Test Microphone\n' >"$folder/Vistrel Test Microphone.microphone"
    fi
    export VISTREL_TEST_DEVICES="$folder"
    echo "No camera found: test devices from ${VISTREL_TEST_DEVICES}"
}
setup_test_devices

display_answers() {
    [[ -n "${DISPLAY:-}" ]] && timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1
}

if display_answers; then
    section "Run on ${DISPLAY}"
    exec "$PROGRAM" "$@"
fi

section "Run on a virtual display"
xvfb_pid=""
program_pid=""
display_file="$(mktemp)"

# Ends a process we started: SIGTERM first so the program can finish what it writes, then
# SIGKILL if it has not ended in time.
stop_process() {
    local pid=$1 name=$2
    kill -TERM "$pid" 2>/dev/null || return 0
    local waited=0
    while kill -0 "$pid" 2>/dev/null && ((waited < STOP_SECONDS * 10)); do
        sleep 0.1
        waited=$((waited + 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "$name did not end within ${STOP_SECONDS} s of SIGTERM: killing it."
        kill -KILL "$pid" 2>/dev/null || true
    fi
}

cleanup() {
    if [[ -n "$program_pid" ]]; then stop_process "$program_pid" "The program"; fi
    if [[ -n "$xvfb_pid" ]]; then stop_process "$xvfb_pid" "Xvfb"; fi
    rm -f "$display_file"
}
trap cleanup EXIT

# -displayfd: Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s "$display_file" ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
done
display_number="$(tr -dc '0-9' <"$display_file")"
if [[ -z "$display_number" ]]; then
    echo "Xvfb did not start." >&2
    exit 1
fi
export DISPLAY=":$display_number"
echo "Xvfb on $DISPLAY"

"$PROGRAM" "$@" &
program_pid=$!
sleep "$SETTLE_SECONDS"

ended_early=""
if ! kill -0 "$program_pid" 2>/dev/null; then
    status=0
    wait "$program_pid" || status=$?
    program_pid=""
    ended_early="The program ended on its own within ${SETTLE_SECONDS} s, with status $status."
fi

rm -f "$SCREENSHOT"
import -window root "$SCREENSHOT"

if [[ -n "$program_pid" ]]; then
    stop_process "$program_pid" "The program"
    status=0
    wait "$program_pid" || status=$?
    program_pid=""
    echo "The program ended with status $status."
fi
stop_process "$xvfb_pid" "Xvfb"
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""

echo "Screenshot: $(pwd)/$SCREENSHOT"
if [[ -n "$ended_early" ]]; then
    echo "$ended_early" >&2
    exit 1
fi
