# Shared by the scripts that record with the real program: its settings, the record button,
# and the checks of a finished file. Sourced after program_common.sh.

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

# Fails unless the recording is complete (finished, at least <seconds> long, a decode without a
# word from ffmpeg), for a file whose content is not the bars or whose length is not known.
expect_complete() {  # <file> <seconds at least>
    local name duration errors
    name=$(basename "$1")
    wait_finished "$1"
    duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$1")
    awk -v d="$duration" -v s="$2" 'BEGIN { exit !(d >= s) }' || fail "$name lasts $duration s, less than $2 s"
    errors=$(ffmpeg -nostdin -v error -i "$1" -f null - 2>&1)
    [[ -z "$errors" ]] || fail "$name: ffmpeg reports: $errors"
    echo "ok: $name is complete: $duration s, decodes cleanly"
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
video_file() {  # <folder> <number> -> the recording's path
    printf '%s/VideoCap%04d.asf' "$1" "$2"
}
