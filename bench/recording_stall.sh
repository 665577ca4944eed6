#!/usr/bin/env bash
# How long the preview stands still when a recording starts and when it stops. The test camera
# shows videotestsrc's snow, so every camera frame differs from the one before all over (the
# ball leaves the measured middle near the corners, which read as stills); the preview
# part of the screen is captured with ffmpeg's x11grab at 60 frames a second (twice the camera's
# rate) with wall-clock stamps and a checksum per captured frame. Around each click on the record
# button the longest time between two changes of the picture is the still time; the same is
# measured over a stretch without clicks, which is what capture and drawing alone give. The
# click acts one double-click time (400 ms under Xvfb) after it was made: what counts is how
# long after that wait the picture moves again. A stop takes the recording graph down, and the
# teardown pauses 500 ms after its stop request before it lets the graph go: that pause alone is
# the goal's 0.5 s; finishing the file, the new preview graph and its first frame come on top.
#
# usage: bench/recording_stall.sh [build dir] [cycles]     (3 cycles, MODE=1 by default)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
CYCLES=${2:-3}
MODE=${MODE:-1}
DOUBLE_CLICK=0.4  # GTK's double-click time, the click filter's wait
AFTER_CLICK=${AFTER_CLICK:-3}  # seconds after a click searched for the still time
source bench/recording_common.sh "${1:-build}" "${OUT:-${1:-build}/bench-recording}"

camera_pattern snow
settings "$MODE"
start_program
record_button
import -window root "$out/stall-window.png"
# The preview fills the client area's top left at the recording size; its middle is away from
# the status line and the buttons.
if [[ $MODE == 0 ]]; then w=352 h=288; else w=640 h=480; fi
geometry="$((w - 40))x$((h - 40))"
origin="$((outer_x + 3 + 20)),$((outer_y + 26 + 20))"
grab_log="$work/grab.log"
ffmpeg -nostdin -hide_banner -loglevel info -f x11grab -draw_mouse 0 -framerate 60 -video_size "$geometry" \
    -i "$DISPLAY+$origin" -copyts -vf showinfo -f null - 2>"$grab_log" &
grab_pid=$!
trap 'kill -INT "$grab_pid" 2>/dev/null || true; cleanup' EXIT
sleep 3
clicks="$out/stall-clicks.txt"
: >"$clicks"
quiet_from=$(now)
sleep 3
quiet_to=$(now)
for cycle in $(seq "$CYCLES"); do
    echo "start $(now)" >>"$clicks"
    xdotool click 1
    sleep 3
    echo "stop $(now)" >>"$clicks"
    xdotool click 1
    sleep 3
done
at=$(load)
kill -INT "$grab_pid"
wait "$grab_pid" || true
stop_program
for n in $(seq 0 $((CYCLES - 1))); do
    finished_within "$(video_file "$n")" 10 || fail "$(basename "$(video_file "$n")") was not finished"
done

# One "time checksum" line per captured frame; x11grab stamps in microseconds of the wall clock
# (showinfo's pts_time is rounded to six digits).
samples="$out/stall-samples.txt"
sed -n 's/.* pts:\([0-9]*\) .* checksum:\([0-9A-Fa-f]*\).*/\1 \2/p' "$grab_log" |
    awk '{ printf "%.6f %s\n", $1 / 1e6, $2 }' >"$samples"
[[ -s "$samples" ]] || fail "x11grab captured nothing: $(tail -n5 "$grab_log")"
first=$(head -n1 "$samples" | cut -d' ' -f1)
awk -v f="$first" -v q="$quiet_from" 'BEGIN { exit !(f > q - 10 && f < q) }' ||
    fail "x11grab's stamps ($first) are not the wall clock ($quiet_from)"

# Longest time between two changes of the picture that overlaps [from, from + length]; prints
# "still_seconds moving_again_after_from".
longest_still() {  # <from> <length>
    awk -v from="$1" -v len="$2" '
        $2 != last { if (n++ && t0 < from + len && $1 > from && $1 - t0 > best) { best = $1 - t0; again = $1 - from }
                     t0 = $1; last = $2 }
        END { printf "%.3f %.3f\n", best, again }' "$samples"
}
captured=$(wc -l <"$samples")
span=$(awk 'NR == 1 { a = $1 } END { print $1 - a }' "$samples")
echo "Preview still time (mode $MODE, x11grab: $captured frames in $span s; load $at)"
read -r quiet _ < <(longest_still "$quiet_from" "$(awk -v a="$quiet_from" -v b="$quiet_to" 'BEGIN { print b - a }')")
echo "without a click: longest still ${quiet} s"
worst=0
while read -r kind t; do
    read -r still again < <(longest_still "$t" "$AFTER_CLICK")
    beyond=$(awk -v a="$again" -v d="$DOUBLE_CLICK" 'BEGIN { printf "%.3f", a - d }')
    printf '%-5s longest still %s s, moving again %s s after the click: %s s beyond its wait\n' "$kind" "$still" "$again" "$beyond"
    worst=$(awk -v a="$worst" -v b="$beyond" 'BEGIN { print (b > a ? b : a) }')
done <"$clicks"
echo "worst: $worst s beyond the click's wait (goal: 0.5 s)"
awk -v w="$worst" 'BEGIN { exit !(w <= 0.5) }'
