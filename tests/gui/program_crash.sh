#!/usr/bin/env bash
# A recording the program could not finish: the real program is killed (SIGKILL) four seconds
# into a recording; the file is left as the kill left it, noted in the journal of recordings in
# progress. At the next start it is repaired in the background while the preview runs: within
# ten seconds it is seekable, lasts what was recorded before the kill (within 0.2 s), decodes
# without an error, the journal is empty and the diagnostic log names the file. The restart
# also finds what a kill during an earlier repair would have left beside the file.
#
# usage: program_crash.sh <program folder> <output folder>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/program_common.sh"

videos="$work/videos"
journal="$XDG_STATE_HOME/Vistrel/recordings"
mkdir -p "$videos"
printf '[HKEY_LOCAL_MACHINE\\Software\\Corvane\\Vistrel]\nVideoPath=%s/\n' "$videos" >"$VISTREL_REGISTRY"
file="$videos/VideoCap0000.asf"
now() { date +%s.%N; }
duration() { ffprobe -v error -show_entries format=duration -of csv=p=0 "$1" 2>/dev/null || true; }

start_program
read -r rx ry < <(button_origin 1)
xdotool mousemove $((rx + 14)) $((ry + 16))
sleep 0.3
xdotool click 1
# The recording starts when its file does (after the click filter's wait and the graph's build).
for _ in $(seq 200); do [[ -e "$file" ]] && break; sleep 0.02; done
started=$(now)
sleep 4
kill -KILL "$program_pid"
killed=$(now)
wait "$program_pid" 2>/dev/null || true
program_pid=""
recorded=$(awk -v a="$started" -v b="$killed" 'BEGIN { printf "%.2f", b - a }')

[[ -s "$file" ]] || fail "no file after the kill"
[[ "$(ls "$journal" | wc -l)" == 1 ]] || fail "the journal does not hold the recording: $(ls "$journal")"
[[ ! "$(duration "$file")" =~ ^[0-9] ]] || fail "the killed file already has a duration"
cp "$file" "$out/killed.asf"
echo "ok: killed after $recorded s of recording; the journal holds it, the file has no duration"
# A kill during a repair leaves the original as it was and the repair's copy half written: the
# next start repairs again and lets that copy go.
head -c 20000 "$file" >"$file.repairing"


start_program_at=$(now)
start_program
repaired=""
for _ in $(seq 100); do
    if [[ -z "$(ls "$journal")" && "$(duration "$file")" =~ ^[0-9] ]]; then
        repaired=$(awk -v a="$start_program_at" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }')
        break
    fi
    sleep 0.1
done
[[ -n "$repaired" ]] || fail "not repaired 10 s after the start: journal $(ls "$journal"), duration '$(duration "$file")'"
import -window root "$out/crash-restarted.png"
got=$(duration "$file")
awk -v d="$got" -v r="$recorded" 'BEGIN { exit !(d - r < 0.2 && r - d < 0.2) }' ||
    fail "the repaired file lasts $got s; $recorded s were recorded before the kill"
errors=$(ffmpeg -nostdin -v error -i "$file" -f null - 2>&1)
[[ -z "$errors" ]] || fail "ffmpeg reports: $errors"
ffmpeg -nostdin -v error -ss "$(awk -v d="$got" 'BEGIN { print d / 2 }')" -i "$file" -frames:v 1 -y "$out/crash-middle.png"
expect_bars "$out/crash-middle.png" 640 480 "the repaired file's middle"
grep -q "Repaired an unfinished recording: $file" "$program_dir/TAVI_Log.txt" ||
    fail "the diagnostic log does not name the repaired file"
[[ ! -e "$file.repairing" ]] || fail "the repair's copy was left"
kill -0 "$program_pid" || fail "the program ended"
stop_program
echo "ok: repaired $repaired s after the start: $got s (recorded $recorded s), seekable, decodes cleanly"
echo "all good; screenshots and frames in $out"
