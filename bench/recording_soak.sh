#!/usr/bin/env bash
# Soak: CYCLES start/stop cycles of about RECORD seconds each through the record button of the
# real program (resolution mode 1, the GUI tests' test camera and microphone). Every cycle must
# give its own finished file (a duration in the header within 10 s of the stop); at the end every
# file is checked: its duration against the time between its clicks (within 0.5 s), and a full
# decode with ffmpeg that prints nothing. Files whose first complaint is the muxer's known last
# packet ("invalid padsize", and what ffmpeg trips over after it) are counted apart from other
# errors; both fail the soak. The program's memory (VmRSS) and open files (/proc/PID/fd) are
# sampled every 10 cycles; from cycle 10 to the end they may grow by RSS_MARGIN_KB (8 MB: the
# allocator's arenas and GStreamer's buffer pools settle in that range) and FD_MARGIN (2) at most.
#
# With KILL_EVERY=N, the program is killed (SIGKILL) at a random moment of the recording in the
# middle cycle of every N and started again: the killed file must be repaired by that start
# (within 10 s) and pass the same checks, its length measured to the kill. The growth check is
# then left out (each start is a new process); the samples are still printed.
#
# usage: bench/recording_soak.sh [build dir] [cycles]     (100 cycles, RECORD=2 by default)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
CYCLES=${2:-100}
RECORD=${RECORD:-2}
RSS_MARGIN_KB=${RSS_MARGIN_KB:-8192}
FD_MARGIN=${FD_MARGIN:-2}
KILL_EVERY=${KILL_EVERY:-0}
source bench/recording_common.sh "${1:-build}" "${OUT:-${1:-build}/bench-recording}"

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$program_pid/status"; }
open_files() { ls "/proc/$program_pid/fd" | wc -l; }
journal="$XDG_STATE_HOME/Vistrel/recordings"
killed=0

# Kills the recording program at a random moment of the recording and starts it again; the file
# is repaired in the background of that start.
kill_and_restart() {  # <file> <started>
    sleep "$(awk -v r="$RECORD" -v s="$RANDOM" 'BEGIN { printf "%.2f", 0.3 + (r - 0.3) * s / 32767 }')"
    kill -KILL "$program_pid"
    recorded+=("$(seconds_since "$2")")
    wait "$program_pid" 2>/dev/null || true
    program_pid=""
    killed=$((killed + 1))
    start_program
    record_button
    for _ in $(seq 100); do
        [[ -z "$(ls "$journal")" ]] && finished_within "$1" 1 && return 0
        sleep 0.1
    done
    fail "$(basename "$1") was not repaired 10 s after the start that followed the kill"
}

settings 1
start_program
record_button
recorded=()
printf '%-6s %10s %6s %6s\n' cycle "VmRSS kB" fds load
for cycle in $(seq "$CYCLES"); do
    file=$(video_file $((cycle - 1)))
    xdotool click 1
    started=$(now)
    if ((KILL_EVERY > 0 && cycle % KILL_EVERY == KILL_EVERY / 2)); then
        # The recording starts once the click filter's wait and the build are over.
        for _ in $(seq 100); do [[ -e "$file" ]] && break; sleep 0.02; done
        started=$(now)
        kill_and_restart "$file" "$started"
    else
        sleep "$RECORD"
        xdotool click 1
        recorded+=("$(seconds_since "$started")")
        finished_within "$file" 100 || fail "cycle $cycle: $(basename "$file") was not finished 10 s after the stop"
    fi
    kill -0 "$program_pid" 2>/dev/null || fail "cycle $cycle: the program ended: $(tail -n5 "$work/program.log")"
    sleep 1  # the preview is back before the next start
    if ((cycle % 10 == 0 || cycle == CYCLES)); then
        rss=$(rss_kb) fds=$(open_files)
        printf '%-6s %10s %6s %6s\n' "$cycle" "$rss" "$fds" "$(load)"
        if ((cycle == 10)); then rss10=$rss fds10=$fds; fi
    fi
done
[[ ! -e "$(video_file "$CYCLES")" ]] || fail "one start more than there were cycles"
stop_program

complete=0 last_packet=0 broken=0 wrong_length=0
for i in "${!recorded[@]}"; do
    file=$(video_file "$i")
    duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$file")
    if ! awk -v d="$duration" -v r="${recorded[$i]}" 'BEGIN { exit !(d - r < 0.5 && r - d < 0.5) }'; then
        echo "$(basename "$file"): $duration s, recorded ${recorded[$i]} s"
        wrong_length=$((wrong_length + 1))
    fi
    errors=$(ffmpeg -nostdin -v error -i "$file" -f null - 2>&1)
    if [[ -z "$errors" ]]; then
        complete=$((complete + 1))
    elif head -n1 <<<"$errors" | grep -q 'invalid padsize'; then
        # ffmpeg's further complaints follow from the bad length of that last packet.
        last_packet=$((last_packet + 1))
    else
        echo "$(basename "$file"): ffmpeg reports: $(head -n3 <<<"$errors")"
        broken=$((broken + 1))
        cp "$file" "$out/"  # kept for a look: the work folder goes at the end
    fi
done
echo "files: ${#recorded[@]} ($killed of them killed and repaired); decode cleanly $complete, only the last packet rejected $last_packet, other errors $broken; length off by 0.5 s or more $wrong_length"
status=0
((complete == ${#recorded[@]} && wrong_length == 0)) || status=1
if [[ -n "${rss10:-}" ]] && ((KILL_EVERY == 0)); then
    echo "from cycle 10 to $CYCLES: VmRSS $rss10 -> $rss kB ($((rss - rss10)) kB; margin $RSS_MARGIN_KB), open files $fds10 -> $fds (margin $FD_MARGIN)"
    ((rss - rss10 <= RSS_MARGIN_KB && fds - fds10 <= FD_MARGIN)) || { echo "FAIL: the program grew"; status=1; }
fi
exit $status
