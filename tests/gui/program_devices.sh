#!/usr/bin/env bash
# The real program on a virtual display with three test cameras of three colours, plugged and
# unplugged while it runs: the camera in use unplugged moves the preview to the camera before it;
# a camera not in use unplugged or plugged in changes nothing the user sees; the camera in use
# unplugged during a recording leaves a complete file and the preview back; the last camera
# unplugged tells the user and ends the program with status 0. F11 shows the preview on the whole
# screen, and a mouse move after two seconds brings it back into the window.
#
# usage: program_devices.sh <program folder> <output folder>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/program_common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/recording_checks.sh"

videos="$work/videos"
mkdir -p "$videos"
rm -f "$VISTREL_TEST_DEVICES"/*.camera
# Listed at the start in the order of their file names: Red, Green, Blue.
camera() {  # <name> <pattern>: plugs it in
    printf '[Device]\nName=%s\nSizes=352x288;640x480\nPattern=%s\n' "$1" "$2" >"$VISTREL_TEST_DEVICES/$(file_of "$1")"
}
file_of() { case $1 in Red) echo 1.camera ;; Green) echo 2.camera ;; *) echo 3.camera ;; esac; }
unplug() { rm -f "$VISTREL_TEST_DEVICES/$(file_of "$1")"; }
camera Red red
camera Green green
camera Blue blue
printf '[HKEY_LOCAL_MACHINE\\Software\\Corvane\\Vistrel]\nVideoPath=%s/\nResolutionMode=1\nLastCamera=Green\n' \
    "$videos" >"$VISTREL_REGISTRY"

# The colour of a screen point in a new screenshot: red, green, blue, black or other.
colour_at() {  # <shot name> <x> <y>
    local r g b
    import -window root "$out/$1.png"
    IFS=, read -r r g b < <(pixel "$out/$1.png" "$2" "$3")
    if ((r > 200 && g < 60 && b < 60)); then echo red
    elif ((g > 200 && r < 60 && b < 60)); then echo green
    elif ((b > 200 && r < 60 && g < 60)); then echo blue
    elif ((r < 30 && g < 30 && b < 30)); then echo black
    else echo "other ($r,$g,$b)"; fi
}
shown() { colour_at "$1" $((outer_x + 3 + 320)) $((outer_y + 26 + 240)); }  # the middle of the preview
expect_shown() {  # <colour> <shot name> <what>
    local got=""
    for _ in $(seq 30); do  # up to 3 s for a rebuilt preview's first frame
        got=$(shown "$2")
        [[ "$got" == "$1" ]] && break
        sleep 0.1
    done
    [[ "$got" == "$1" ]] || fail "$3: the preview shows $got, not $1"
    echo "ok: $3: the preview shows $1"
}

start_program
expect_shown green devices-start "the stored camera at the start"

xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Vistrel$' | head -n1)" key F11
sleep 1
[[ "$(colour_at devices-full-screen 20 20)" == green ]] || fail "F11 did not show the preview on the whole screen"
sleep 1.2
xdotool mousemove 200 200
sleep 0.2
xdotool mousemove 220 200
sleep 1
[[ "$(colour_at devices-full-screen-left 20 20)" == black ]] || fail "a mouse move after two seconds left the full screen on"
expect_shown green devices-full-screen-back "the preview back in the window after the full screen"

unplug Green
expect_shown red devices-in-use-unplugged "the camera in use unplugged with two left"

camera Green green
sleep 1.5
expect_shown red devices-plugged "a camera plugged in"
kill -0 "$program_pid" || fail "the program ended"

unplug Blue
sleep 1.5
expect_shown red devices-other-unplugged "a camera not in use unplugged"

# Recording on Red, then Red unplugged: the file is complete, the preview comes back on Green.
record_button
xdotool click 1
sleep 3.5
[[ -s "$videos/VideoCap0000.asf" ]] || fail "no recording started"
unplug Red
expect_shown green devices-unplugged-while-recording "the camera in use unplugged while recording"
expect_complete "$videos/VideoCap0000.asf" 2.5

# The last camera: a message, then the end with status 0. The pointer leaves the button first,
# so its tooltip is gone and the only other window is the message.
main=$(xdotool search --onlyvisible --name '^Vistrel$' | head -n1)
xdotool mousemove 5 5
sleep 1
unplug Green
box=""
for _ in $(seq 50); do
    box=$(xdotool search --onlyvisible --name '^Vistrel$' 2>/dev/null | grep -vx "$main" | head -n1 || true)
    [[ -n "$box" ]] && break
    sleep 0.1
done
sleep 0.5
import -window root "$out/devices-last-unplugged.png"
[[ -n "$box" ]] || fail "no message when the last camera went"
xdotool windowfocus --sync "$box" key Return
status=0
for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end after the last camera went"
wait "$program_pid" || status=$?
program_pid=""
((status == 0)) || fail "the program ended with status $status"
grep -q "LastCamera" "$VISTREL_REGISTRY" || fail "the settings were not saved at the end"
echo "ok: the last camera unplugged: a message, then the end with status 0"
echo "all good; screenshots in $out"
