# Shared by the recording benchmarks: the real program on a virtual display with the GUI tests'
# test camera and microphone (tests/gui/program_common.sh), driven on its record button.
# Sourced from the top of the tree with the build folder as $1 and the output folder as $2.

build_dir=$1
# A build folder is brought up to date first; a bare copy of a program folder is taken as it is.
if [[ -f "$build_dir/CMakeCache.txt" ]]; then
    cmake --build "$build_dir" -j2 --target vistrel_program >/dev/null
    build_dir="$build_dir/Vistrel"
fi
source tests/gui/program_common.sh "$build_dir" "$2"
source bench/cpu_common.sh

videos="$work/videos"
mkdir -p "$videos"

# The bare side follows the muxer the writer builds.
MUXER=${MUXER:-$(grep -ho 'MakeElement("\(asfmux\|avmux_asf\)")' platform/linux/media/*.cpp | head -n1 | cut -d'"' -f2)}
[[ -n "$MUXER" ]] || fail "no muxer found in platform/linux/media; name it with MUXER="

settings() {  # <resolution mode>
    printf '[HKEY_LOCAL_MACHINE\\Software\\Corvane\\Vistrel]\nVideoPath=%s/\nResolutionMode=%s\n' "$videos" "$1" \
        >"$VISTREL_REGISTRY"
}

camera_pattern() {  # <videotestsrc pattern nick>
    printf '[Device]\nName=Vistrel Test Camera\nSizes=352x288;640x480;1280x1024\nPattern=%s\n' "$1" \
        >"$VISTREL_TEST_DEVICES/Vistrel Test Camera.camera"
}

now() { date +%s.%N; }

record_button() {  # moves the pointer onto the record button (start and stop share its place)
    local rx ry
    read -r rx ry < <(button_origin 1)
    xdotool mousemove $((rx + 14)) $((ry + 16))
    sleep 0.3
}

video_file() { printf '%s/VideoCap%04d.asf' "$videos" "$1"; }

# Waits until the file's header says it is finished (a duration); false after the bound.
finished_within() {  # <file> <tenths of a second>
    for _ in $(seq "$2"); do
        [[ -s "$1" ]] && ffprobe -v error -show_entries format=duration -of csv=p=0 "$1" 2>/dev/null |
            grep -q '^[0-9]' && return 0
        sleep 0.1
    done
    return 1
}

seconds_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }
