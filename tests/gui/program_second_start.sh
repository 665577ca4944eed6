#!/usr/bin/env bash
# The real program under a window manager (openbox): starting it a second time opens no second
# window but brings the running one back, restored when it was minimised and in front of (and
# active over) another program's window that covered it.
#
# usage: program_second_start.sh <program folder> <output folder>
# Exits 77 (skipped) without openbox.
set -euo pipefail

if ! command -v openbox >/dev/null; then
    echo "skipped: openbox is not installed"
    exit 77
fi

source "$(dirname "${BASH_SOURCE[0]}")/program_common.sh"

wm_pid=""
cover_pid=""
stop_others() {
    [[ -n "$cover_pid" ]] && kill "$cover_pid" 2>/dev/null
    [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null
    return 0
}
trap 'stop_others; cleanup' EXIT
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start: $(cat "$work/openbox.log")"

active_window() { xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*' | head -n1; }
topmost_window() { xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | tail -n1; }
map_state() { xwininfo -id "$1" | sed -n 's/.*Map State: //p'; }
hex() { printf '0x%x' "$1"; }
# Starts the program again, which must end at once without a window of its own.
second_start() {
    local started before
    before=$(xdotool search --name '^Vistrel$' | wc -l)
    started=$(date +%s%N)
    timeout 10 "$program_dir/vistrel" >"$work/second.log" 2>&1 || fail "the second start failed: $(cat "$work/second.log")"
    echo "the second start ended after $((($(date +%s%N) - started) / 1000000)) ms"
    local windows
    windows=$(xdotool search --name '^Vistrel$' | wc -l)
    ((windows == before)) || fail "$windows windows named Vistrel after the second start, $before before"
}
wait_for() {  # <what> <command...>: up to 3 s
    local what=$1
    shift
    for _ in $(seq 30); do "$@" && return 0; sleep 0.1; done
    fail "$what"
}

start_program
main=$(xdotool search --onlyvisible --name '^Vistrel$' | head -n1)

# --- minimised, then started again ----------------------------------------------------------
xdotool windowminimize "$main"
wait_for "the window did not minimise" test "$(map_state "$main")" = IsUnMapped
second_start
wait_for "the minimised window did not come back" test "$(map_state "$main")" = IsViewable
wait_for "the restored window is not the active one" test "$(active_window)" = "$(hex "$main")"
import -window root "$out/second-start-restored.png"
echo "ok: a second start restores the minimised window and makes it the active one"

# --- covered by another program's window, then started again ----------------------------------
xmessage -geometry 1000x800+0+0 -title Cover "another program's window" &
cover_pid=$!
cover=""
wait_for "the covering window did not appear" bash -c "xdotool search --onlyvisible --name '^Cover$' >/dev/null"
cover=$(xdotool search --onlyvisible --name '^Cover$' | head -n1)
xdotool windowactivate --sync "$cover"
wait_for "the covering window is not on top" test "$(topmost_window)" = "$(hex "$cover")"
second_start
wait_for "the window did not come in front of the covering one" test "$(topmost_window)" = "$(hex "$main")"
wait_for "the raised window is not the active one" test "$(active_window)" = "$(hex "$main")"
import -window root "$out/second-start-raised.png"
echo "ok: a second start brings the window in front of another program's and makes it the active one"
kill -0 "$program_pid" || fail "the running program ended"
stop_program
echo "all good; screenshots in $out"
