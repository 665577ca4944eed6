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
    rm -rf "$work"
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
    main_window=$window outer_x=$X outer_y=$Y outer_w=$WIDTH outer_h=$HEIGHT
}

# The program's visible top-level windows with exactly this title. xdotool reads titles in the
# C locale, which cannot hold Cyrillic; xprop reads the UTF-8 title itself.
titled() {  # <title>
    local id
    for id in $(xdotool search --onlyvisible --class vistrel 2>/dev/null); do
        [[ "$(xprop -id "$id" _NET_WM_NAME 2>/dev/null)" == "_NET_WM_NAME(UTF8_STRING) = \"$1\"" ]] && echo "$id"
    done
    return 0
}
wait_window() {  # <title> -> window id
    local id=""
    for _ in $(seq 50); do
        id=$(titled "$1" | head -n1)
        [[ -n "$id" ]] && break
        sleep 0.1
    done
    [[ -n "$id" ]] || fail "no window titled \"$1\""
    # No window manager gives the new window the keyboard here.
    xdotool windowfocus "$id" 2>/dev/null || true
    sleep 0.2
    echo "$id"
}
gone() {  # <title>
    for _ in $(seq 30); do
        [[ -z "$(titled "$1")" ]] && return 0
        sleep 0.1
    done
    fail "the window \"$1\" is still open"
}
# Clicks at a point of a window's client area (inside its 3-pixel frame, under the caption).
click_in() {  # <window> <x> <y>
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + 3 + $2)) $((Y + 26 + $3)) click 1
    sleep 0.4
}
# Opens the context menu over the preview and picks its n-th item with the keyboard.
menu_item() {  # <n>
    xdotool mousemove $((outer_x + 200)) $((outer_y + 150)) click 3
    sleep 0.6
    for _ in $(seq "$1"); do xdotool key Down; done
    xdotool key Return
}
shot_of() {  # <window> <png>
    sleep 0.5
    import -window root "$work/screen.png"
    eval "$(xdotool getwindowgeometry --shell "$1")"
    convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$2"
}

# In "Set Save Path", a folder through the chooser of the Browse button at that height.
choose_folder() {  # <dialog> <y of the button: 47 pictures, 109 videos> <folder> [<shot of the chooser>]
    click_in "$1" 279 "$2"
    local chooser
    chooser=$(wait_window "Select folder for Saving:")
    [[ -z "${4:-}" ]] || shot_of "$chooser" "$4"
    xdotool key ctrl+l
    sleep 0.3
    xdotool type --delay 20 "$3/"
    sleep 0.5
    xdotool key Return
    sleep 0.8
    xdotool key alt+s
    gone "Select folder for Saving:"
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

