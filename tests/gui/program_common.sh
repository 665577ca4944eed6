# Shared by the scripts that run the real program on a virtual display with a test camera and
# microphone: everything the program keeps goes into a work folder removed at the end. Sourced
# with the program folder and the output folder as $1 and $2.

program_dir=$(cd "$1" && pwd)
out=$(mkdir -p "$2" && cd "$2" && pwd)
res="$program_dir/Res"
work=$(mktemp -d)
xvfb_pid=""
program_pid=""

cleanup() {
    [[ -n "$program_pid" ]] && kill -TERM "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill -TERM "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    [[ -n "${KEEP_WORK:-}" ]] && cp "$work/program.log" "$out/" 2>/dev/null; rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Everything the program keeps goes into the work folder: settings, GStreamer's registry, the
# effect filter's registration, media.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
export XDG_STATE_HOME="$work/state"
export GST_REGISTRY="$work/gst-registry.bin" VISTREL_REGISTRY="$work/registry.ini"
export VISTREL_TEST_DEVICES="$work/devices"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR" "$VISTREL_TEST_DEVICES"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[Device]\nName=Vistrel Test Camera\nSizes=352x288;640x480;1280x1024\n' \
    >"$VISTREL_TEST_DEVICES/Vistrel Test Camera.camera"
printf '[Device]\nName=Vistrel Test Microphone\n' >"$VISTREL_TEST_DEVICES/Vistrel Test Microphone.microphone"

display_file="$work/display"
# -noreset: the server must not reset when the last client leaves, or a program started right
# after the previous one ended finds no display while it does.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$display_file" >/dev/null 2>&1 &
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
    if [[ -z "$window" ]]; then
        # A start that hangs is kept as the stacks of its threads for whoever reads the failure.
        if command -v gdb >/dev/null; then
            gdb -p "$program_pid" -batch -ex "thread apply all bt" >"$out/hang-$program_pid.txt" 2>&1 || true
            echo "the stacks of the hung program are in $out/hang-$program_pid.txt" >&2
        fi
        fail "no main window; the program says: $(grep -v ALSA "$work/program.log" | tail -n 5)"
    fi
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

pixel() {  # <shot> <x> <y> -> "r,g,b"
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '([0-9]*,[0-9]*,[0-9]*' | head -n1 | tr -d '('
}


# A pixel of a picture of the test camera's bars as three bits, one per colour channel above
# half: the bars of the top two thirds are white, yellow, cyan, green, magenta, red, blue.
bits() {  # <picture> <x> <y>
    local r g b
    IFS=, read -r r g b < <(pixel "$1" "$2" "$3")
    echo "$((r > 128))$((g > 128))$((b > 128))"
}

# Fails unless the picture (of the given width and height) shows the bars the right way up.
expect_bars() {  # <picture> <width> <height> <what>
    local want=(111 110 011 010 101 100 001) i
    for i in "${!want[@]}"; do
        local x=$(((45 + 91 * i) * $2 / 640)) got
        got=$(bits "$1" "$x" $((10 * $3 / 480)))
        [[ "$got" == "${want[$i]}" ]] || fail "$4: bar $i of the top row is $got, not ${want[$i]} (upside down?)"
    done
    # The bottom left is the dark blue of the bars' lowest band, never a bright bar.
    [[ "$(bits "$1" $((20 * $2 / 640)) $((470 * $3 / 480)))" != 111 ]] || fail "$4: the bottom row holds the top's white"
}

# Fails unless the recording is complete: a duration in its header (waited for up to 10 s), at
# least <seconds> long, and a decode without a word from ffmpeg.
expect_complete() {  # <file> <seconds at least>
    local name duration="" errors
    name=$(basename "$1")
    for _ in $(seq 100); do
        duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$1" 2>/dev/null || true)
        [[ "$duration" =~ ^[0-9] ]] && break
        sleep 0.1
    done
    [[ "$duration" =~ ^[0-9] ]] || fail "$name was not finished"
    awk -v d="$duration" -v s="$2" 'BEGIN { exit !(d >= s) }' || fail "$name lasts $duration s, less than $2 s"
    errors=$(ffmpeg -nostdin -v error -i "$1" -f null - 2>&1)
    [[ -z "$errors" ]] || fail "$name: ffmpeg reports: $errors"
    echo "ok: $name is complete: $duration s, decodes cleanly"
}
