#!/usr/bin/env bash
# The real program against logind: python3-dbusmock's logind template on a private system bus,
# with one active session for the program to watch. While the program runs it holds a "block"
# inhibitor for sleep and idle (with the text that refuses a sleep) and "delay" inhibitors for
# sleep and for shutdown, each with its reason; once it has ended, logind lists none of them.
# A sleep pauses the preview and the wake-up brings it back, also when a recording was running,
# whose file is then complete; the session losing the screen during a recording leaves the
# recording going and its file complete; a shutdown during a recording finishes the file, writes
# the settings and ends the program with status 0. A screen-saver service that ends and comes
# back while the program runs is asked again to keep the saver off.
#
# usage: program_logind.sh <program folder> <output folder>
# Exits 77 (skipped) without python3-dbusmock.
set -euo pipefail

# The first python3 that has dbusmock: a python of the user's own may stand before Debian's.
python=""
for candidate in python3 /usr/bin/python3; do
    if "$candidate" -c 'import dbusmock' 2>/dev/null; then
        python=$candidate
        break
    fi
done
if [[ -z "$python" ]]; then
    echo "skipped: python3-dbusmock is not installed"
    exit 77
fi

source "$(dirname "${BASH_SOURCE[0]}")/program_common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/recording_checks.sh"

bus_pids=()
mock_pid=""
saver_pid=""
stop_services() {
    local pid
    for pid in $mock_pid $saver_pid "${bus_pids[@]}"; do kill -TERM "$pid" 2>/dev/null; done
    return 0
}
trap 'stop_services; cleanup' EXIT

# A bus of our own: a session bus's rules (anyone may own any name), so a stand-in can take
# logind's name without root's policy files. Sets bus_address.
start_bus() {  # <name>
    cat >"$work/$1.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$work/$1.socket</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
    dbus-daemon --config-file="$work/$1.conf" --nofork --print-address=3 3>"$work/$1.address" >/dev/null 2>&1 &
    bus_pids+=($!)
    for _ in $(seq 50); do [[ -s "$work/$1.address" ]] && break; sleep 0.1; done
    [[ -s "$work/$1.address" ]] || fail "the private $1 bus did not start"
    bus_address="unix:path=$work/$1.socket"
}
start_bus system
export DBUS_SYSTEM_BUS_ADDRESS=$bus_address
# No session bus at first: the screen saver goes through the X server.
unset DBUS_SESSION_BUS_ADDRESS

"$python" -m dbusmock --system --template logind >"$work/logind.log" 2>&1 &
mock_pid=$!

login1() {  # <object path> <interface.method> <arguments...>
    local path=$1 method=$2
    shift 2
    gdbus call --system --dest org.freedesktop.login1 --object-path "$path" --method "$method" "$@"
}
for _ in $(seq 100); do
    login1 /org/freedesktop/login1 org.freedesktop.login1.Manager.ListInhibitors >/dev/null 2>&1 && break
    sleep 0.1
done
login1 /org/freedesktop/login1 org.freedesktop.login1.Manager.ListInhibitors >/dev/null ||
    fail "the logind mock did not come up: $(cat "$work/logind.log")"
# The mock has no GetSessionByPID: the program takes the seat's session, "auto".
login1 /org/freedesktop/login1 org.freedesktop.DBus.Mock.AddSession auto seat0 "$(id -u)" tester true >/dev/null

inhibitors() { login1 /org/freedesktop/login1 org.freedesktop.login1.Manager.ListInhibitors; }
# Fails unless the list holds an inhibitor of Vistrel's of this kind and mode, with its reason.
expect_inhibitor() {  # <list> <what> <mode> <reason>
    grep -qF "('$2', 'Vistrel', '$4', '$3'," <<<"$1" ||
        fail "no $3 inhibitor for '$2' with the reason '$4' while the program runs: $1"
}

emit() {  # <signal> <true|false>: as logind sends it
    login1 /org/freedesktop/login1 org.freedesktop.DBus.Mock.EmitSignal \
        org.freedesktop.login1.Manager "$1" b "[<$2>]" >/dev/null
}
set_active() {  # <true|false>: our session gets the screen, or another one takes it
    login1 /org/freedesktop/login1/session/auto org.freedesktop.DBus.Mock.UpdateProperties \
        org.freedesktop.login1.Session "{'Active': <$1>}" >/dev/null
}

videos="$work/videos"
mkdir -p "$videos"
settings "$videos" 1
# The test picture's noise patch (bottom right of the preview) changes with every frame.
noise_now() {  # <shot name>
    import -window root "$out/$1.png"
    region "$out/$1.png" "100x60+$((outer_x + 3 + 530))+$((outer_y + 26 + 380))"
}
# Running: the picture is the test camera's (its first bar white) and its noise patch moves on.
showing_bars() { [[ "$(bits "$out/logind-running.png" $((outer_x + 3 + 45)) $((outer_y + 26 + 10)))" == 111 ]]; }
expect_preview_running() {  # <seconds at most> <what>
    local last now
    last=$(noise_now logind-running)
    for _ in $(seq $(($1 * 4))); do
        sleep 0.25
        now=$(noise_now logind-running)
        if [[ "$now" != "$last" ]] && showing_bars; then
            echo "ok: $2: the preview runs"
            return 0
        fi
        showing_bars || now=""
        last=$now
    done
    fail "$2: the preview does not run after $1 s"
}
expect_preview_paused() {  # <what>
    local first
    first=$(noise_now logind-paused)
    sleep 0.5
    [[ "$(noise_now logind-paused)" == "$first" ]] || fail "$1: the preview still runs"
    echo "ok: $1: the preview stands still"
}
record_click() {
    record_button
    xdotool click 1
}

# --- the inhibitors while the program runs ----------------------------------------------------
start_program
listed=$(inhibitors)
echo "listed while running: $listed"
expect_inhibitor "$listed" sleep:idle block "Screensaver or Power Saving mode will not be performed during capturing."
expect_inhibitor "$listed" sleep delay "Pause the camera before sleep"
expect_inhibitor "$listed" shutdown delay "Finish the recording"
echo "ok: the program's inhibitors are listed with their reasons while it runs"

# --- a sleep and the wake-up, without and with a recording ------------------------------------
emit PrepareForSleep true
sleep 0.5
expect_preview_paused "before a sleep"
emit PrepareForSleep false
expect_preview_running 3 "woken up"

record_click
sleep 2.5
emit PrepareForSleep true
sleep 1
emit PrepareForSleep false
# Woken up during a recording the program waits 3 s before each rebuild of the preview.
expect_preview_running 7 "woken up during a recording"
expect_complete "$videos/VideoCap0000.asf" 2
kill -0 "$program_pid" || fail "the program ended"

# --- the session losing the screen during a recording -------------------------------------------
record_click
sleep 1.5
set_active false
sleep 1.5
set_active true
sleep 1
kill -0 "$program_pid" || fail "the program ended when the session lost the screen"
# This system is no version 6.0, where a recording is stopped: it goes on, and stops when asked.
[[ -s "$videos/VideoCap0001.asf" ]] || fail "no recording"
if ffprobe -v error -show_entries format=duration -of csv=p=0 "$videos/VideoCap0001.asf" 2>/dev/null | grep -q '^[0-9]'; then
    fail "the recording ended when the session lost the screen"
fi
expect_preview_running 3 "the session back"
record_click
expect_complete "$videos/VideoCap0001.asf" 3.5

# --- a shutdown during a recording ---------------------------------------------------------------
sleep 2
record_click
sleep 2
rm -f "$VISTREL_REGISTRY"
emit PrepareForShutdown true
status=0
for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "the program still runs 10 s after the shutdown began"
wait "$program_pid" || status=$?
program_pid=""
((status == 0)) || fail "the program ended with status $status at the shutdown"
grep -q "Vistrel Test Camera" "$VISTREL_REGISTRY" 2>/dev/null || fail "no settings written at the shutdown"
expect_complete "$videos/VideoCap0002.asf" 1.5
echo "ok: a shutdown finished the recording, wrote the settings and ended the program with status 0"

left=""
for _ in $(seq 20); do
    left=$(inhibitors)
    grep -q Vistrel <<<"$left" || break
    sleep 0.1
done
! grep -q Vistrel <<<"$left" || fail "inhibitors left after the program ended: $left"
echo "ok: no inhibitor of the program's is left after it ended"

# --- a screen-saver service that ends and comes back ---------------------------------------------
# Its stand-in exports the object before it takes the name, so a call that follows the name's
# arrival at once finds it; each instance logs the calls it answers.
start_bus session
export DBUS_SESSION_BUS_ADDRESS=$bus_address
start_saver() {  # <log>
    "$python" - >"$1" 2>&1 <<'EOF' &
import dbus, dbus.service, dbus.mainloop.glib
from gi.repository import GLib
dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
class Saver(dbus.service.Object):
    @dbus.service.method('org.freedesktop.ScreenSaver', in_signature='ss', out_signature='u')
    def Inhibit(self, app, reason):
        print('Inhibit', app, reason, flush=True)
        return 7
    @dbus.service.method('org.freedesktop.ScreenSaver', in_signature='u')
    def UnInhibit(self, cookie):
        print('UnInhibit', cookie, flush=True)
bus = dbus.SessionBus()
saver = Saver(bus, '/org/freedesktop/ScreenSaver')
name = dbus.service.BusName('org.freedesktop.ScreenSaver', bus)
print('ready', flush=True)
GLib.MainLoop().run()
EOF
    saver_pid=$!
    wait_for_line "$1" ready "the screen-saver stand-in did not start: $(cat "$1")"
}
wait_for_line() {  # <log> <line start> <failure>
    for _ in $(seq 30); do grep -q "^$2" "$1" && return 0; sleep 0.1; done
    fail "$3"
}
start_saver "$work/saver-1.log"
start_program
wait_for_line "$work/saver-1.log" "Inhibit Vistrel" "the program did not switch the screen saver off"
kill -TERM "$saver_pid"
wait "$saver_pid" || true
start_saver "$work/saver-2.log"
wait_for_line "$work/saver-2.log" "Inhibit Vistrel" "the screen-saver service came back and the program did not switch it off again"
echo "ok: a screen-saver service that ended and came back is switched off again"
kill -0 "$program_pid" || fail "the program ended"
stop_program
echo "all good; screenshots in $out"
