#!/usr/bin/env bash
# The real program losing the ground under a recording, on small file systems of the test's own:
# - the disk fills up (another program takes the rest between two checks of the free space):
#   the writes fail, "Recording Failed" is shown, the preview comes back, a recording into
#   another folder works, and the next start repairs the file cut short to what came before;
# - the video folder is deleted: the program notices at its next clock tick although every
#   write still succeeds; the file is gone with its folder and nothing of it can be kept;
# - the file system is unmounted lazily: the same, and the file, still reachable by whoever
#   holds that file system, is finished whole (duration, index).
# Each ends the recording with "Recording Failed" and the controls and the preview as before.
#
# usage: program_faults.sh <program folder> <output folder>
set -euo pipefail

if [[ $(id -u) != 0 ]]; then
    echo "skipped: mounting the small file systems needs root"
    exit 0
fi

source "$(dirname "${BASH_SOURCE[0]}")/program_common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/recording_checks.sh"

journal="$XDG_STATE_HOME/Vistrel/recordings"
log="$program_dir/TAVI_Log.txt"
mounts=()
holder=""
finish() {
    [[ -n "$holder" ]] && kill "$holder" 2>/dev/null
    [[ -n "$program_pid" ]] && kill -KILL "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null
    program_pid=""
    for disk in "${mounts[@]}"; do umount -l "$disk" 2>/dev/null || true; done
    cleanup
}
trap finish EXIT

small_disk() {  # <folder>: a 300 MB file system there, room for a recording above the 250 MB guard
    mkdir -p "$1"
    if ! mount -t tmpfs -o size=300m tmpfs "$1" 2>/dev/null; then
        echo "skipped: mounting a tmpfs is not allowed here"
        exit 0
    fi
    mounts+=("$1")
}
duration() { ffprobe -v error -show_entries format=duration -of csv=p=0 "$1" 2>/dev/null || true; }
boxes() { titled Vistrel | grep -vx "$main_window" || true; }

# Starts a recording with the record button and waits for its file; sets `started`.
start_recording() {  # <file>
    xdotool click 1
    for _ in $(seq 200); do [[ -e "$1" ]] && break; sleep 0.02; done
    [[ -e "$1" ]] || fail "no recording started: $1 is not there"
    started=$(now)
}

# Message 6002 is up within 2 s, alone, and the log names the file it was about; the box is
# pictured and answered.
expect_recording_failed() {  # <file> <shot name>
    local box=""
    for _ in $(seq 20); do
        box=$(boxes | head -n1)
        [[ -n "$box" ]] && break
        sleep 0.1
    done
    [[ -n "$box" ]] || fail "$2: no message within 2 s"
    sleep 0.5
    import -window root "$out/$2-message.png"
    grep -qxF " Recording failed: $1" "$log" || fail "$2: the message is not the one of a failed recording: $(cat "$log")"
    [[ "$(boxes | wc -l)" == 1 ]] || fail "$2: more than one message"
    xdotool windowfocus "$box" key Return
    for _ in $(seq 20); do [[ -z "$(boxes)" ]] && break; sleep 0.1; done
    [[ -z "$(boxes)" ]] || fail "$2: the message did not go, or another came"
    echo "ok: $2: \"Recording Failed\" shown"
}

# Idle again: the record button as in the shot taken before the recording, the status line
# blank (one colour) and the preview moving.
expect_idle() {  # <shot before the recording> <what> <name of the shot after>
    xdotool mousemove 0 0
    sleep 0.3
    record_button
    sleep 0.7
    import -window root "$out/$3-after.png"
    sleep 0.6
    import -window root "$work/idle-2.png"
    kill -0 "$program_pid" 2>/dev/null || fail "$2: the program ended"
    read -r bx by < <(button_origin 1)
    local button="29x32+$bx+$by" noise="100x60+$((outer_x + 3 + 530))+$((outer_y + 26 + 380))"
    local status="70x16+$((outer_x + 3 + 5))+$((outer_y + 26 + outer_h - 29 - 35))"
    [[ "$(region "$1" "$button")" == "$(region "$out/$3-after.png" "$button")" ]] ||
        fail "$2: the record button is not the start button it was before the recording"
    [[ "$(convert "$out/$3-after.png" -crop "$status" -format %k info:)" == 1 ]] || fail "$2: the status line is not blank"
    [[ "$(region "$out/$3-after.png" "$noise")" != "$(region "$work/idle-2.png" "$noise")" ]] ||
        fail "$2: the preview stands still"
    echo "ok: $2: the start button back, the status line blank, the preview live"
}

# Fills the disk just after a tick of the recording clock, as another program could between two
# of its free-space checks: the writer meets the full disk before the next check would.
fill_after_tick() {  # <folder>
    local ticks="$work/ticks" tracer
    : >"$ticks"
    strace -qq -e trace=statfs -e signal=none -p "$program_pid" -o "$ticks" &
    tracer=$!
    for _ in $(seq 200); do grep -qF "\"$1/\"" "$ticks" && break; sleep 0.01; done
    kill "$tracer"
    wait "$tracer" 2>/dev/null || true
    grep -qF "\"$1/\"" "$ticks" || fail "no tick of the recording clock seen"
    # At once, all but a little that the file system keeps for itself; then the rest.
    fallocate -l "$(($(stat -f -c '%a * %S' "$1") - 1048576))" "$1/other-program.bin"
    dd if=/dev/zero of="$1/other-program-rest.bin" bs=4k status=none 2>/dev/null || true
}

# --- a full disk -------------------------------------------------------------------------------
full="$work/full"
elsewhere="$work/elsewhere"
small_disk "$full"
mkdir -p "$elsewhere"
settings "$full" 1
start_program
record_button
import -window root "$out/faults-disk-full-before.png"
start_recording "$full/VideoCap0000.asf"
sleep 2
fill_after_tick "$full"
until_full=$(awk -v a="$started" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }')
expect_recording_failed "$full/VideoCap0000.asf" faults-disk-full
expect_idle "$out/faults-disk-full-before.png" "after the disk filled" faults-disk-full
kept=$(stat -c %s "$full/VideoCap0000.asf")
echo "ok: the disk full, the file holds $kept bytes; finished: '$(duration "$full/VideoCap0000.asf")'"

# The user picks a folder on another disk and records there.
menu_item 4
paths=$(wait_window "Set Save Path")
choose_folder "$paths" 109 "$elsewhere"
xdotool key Return
gone "Set Save Path"
record_button
start_recording "$elsewhere/VideoCap0000.asf"
sleep 2.5
xdotool click 1
# The click acts once GTK's double-click time (400 ms) is over.
recorded=$(awk -v a="$started" -v b="$(now)" 'BEGIN { printf "%.2f", b - a + 0.4 }')
expect_recording "$elsewhere/VideoCap0000.asf" "$recorded" 640 480 "wmav2 wmv2"
stop_program

# Space freed, the next start makes a whole file of what the full disk cut short.
rm "$full"/other-program*.bin
start_program
for _ in $(seq 100); do
    [[ -z "$(ls "$journal")" && "$(duration "$full/VideoCap0000.asf")" =~ ^[0-9] ]] && break
    sleep 0.1
done
got=$(duration "$full/VideoCap0000.asf")
[[ "$got" =~ ^[0-9] && -z "$(ls "$journal")" ]] || fail "not repaired at the next start: journal '$(ls "$journal")'"
awk -v d="$got" -v r="$until_full" 'BEGIN { exit !(d > r - 0.6 && d < r + 0.6) }' ||
    fail "the repaired file lasts $got s; the disk filled $until_full s into the recording"
expect_recording "$full/VideoCap0000.asf" "$got" 640 480 "wmav2 wmv2"
echo "ok: the next start repaired the file: $got s of the $until_full s before the disk filled"

# --- the video folder deleted during a recording ----------------------------------------------
record_button
import -window root "$out/faults-folder-deleted-before.png"
start_recording "$elsewhere/VideoCap0001.asf"
sleep 2
rm -rf "$elsewhere"
expect_recording_failed "$elsewhere/VideoCap0001.asf" faults-folder-deleted
grep -qxF " The recording's file is no longer there: $elsewhere/VideoCap0001.asf" "$log" ||
    fail "the log does not say the file was lost"
expect_idle "$out/faults-folder-deleted-before.png" "after the folder was deleted" faults-folder-deleted
[[ -z "$(ls "$journal")" ]] || fail "the journal still notes the lost file: $(ls "$journal")"
[[ ! -e "$elsewhere" ]] || fail "the deleted folder came back"
echo "ok: the folder deleted: the recording ended; its file went with the folder"
stop_program

# --- the file system unmounted lazily during a recording --------------------------------------
stick="$work/stick"
small_disk "$stick"
settings "$stick" 1
start_program
record_button
import -window root "$out/faults-unmounted-before.png"
# Someone still in that file system keeps it alive after it is unmounted, as another mount of
# the same disk would: through them the file can still be read.
(cd "$stick" && exec sleep 600) &
holder=$!
start_recording "$stick/VideoCap0000.asf"
sleep 2
umount -l "$stick"
unmounted=$(now)
expect_recording_failed "$stick/VideoCap0000.asf" faults-unmounted
expect_idle "$out/faults-unmounted-before.png" "after the file system went" faults-unmounted
[[ ! -e "$stick/VideoCap0000.asf" ]] || fail "the file is still at its path after the unmount"
detached="/proc/$holder/cwd/VideoCap0000.asf"
wait_finished "$detached"
got=$(duration "$detached")
recorded=$(awk -v a="$started" -v b="$unmounted" 'BEGIN { printf "%.2f", b - a }')
awk -v d="$got" -v r="$recorded" 'BEGIN { exit !(d > r - 0.3 && d < r + 1) }' ||
    fail "the file lasts $got s; the file system went $recorded s into the recording"
expect_recording "$detached" "$got" 640 480 "wmav2 wmv2"
[[ -z "$(ls "$journal")" ]] || fail "the journal still notes the finished file: $(ls "$journal")"
echo "ok: unmounted: the recording ended and its file, on the detached file system, is whole ($got s)"
stop_program
echo "all good; screenshots in $out"
