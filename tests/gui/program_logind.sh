#!/usr/bin/env bash
# The real program against logind: python3-dbusmock's logind template on a private system bus,
# with one active session for the program to watch. While the program runs it holds a "block"
# inhibitor for sleep and idle and a "delay" inhibitor for shutdown, each with its reason; once
# it has ended, logind lists none of them.
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

bus_pid=""
mock_pid=""
stop_logind() {
    [[ -n "$mock_pid" ]] && kill -TERM "$mock_pid" 2>/dev/null
    [[ -n "$bus_pid" ]] && kill -TERM "$bus_pid" 2>/dev/null
    return 0
}
trap 'stop_logind; cleanup' EXIT

# A bus of our own plays the system bus: a session bus's rules (anyone may own any name), so
# the mock can take logind's name without root's policy files.
cat >"$work/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$work/system_bus_socket</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
dbus-daemon --config-file="$work/bus.conf" --nofork --print-address=3 3>"$work/bus-address" >/dev/null 2>&1 &
bus_pid=$!
for _ in $(seq 50); do [[ -s "$work/bus-address" ]] && break; sleep 0.1; done
[[ -s "$work/bus-address" ]] || fail "the private system bus did not start"
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/system_bus_socket"
# No session bus: the screen saver goes through the X server.
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

# --- the inhibitors while the program runs, and after -------------------------------------------
start_program
listed=$(inhibitors)
echo "listed while running: $listed"
expect_inhibitor "$listed" sleep:idle block "Live camera preview"
expect_inhibitor "$listed" shutdown delay "Finish the recording"
stop_program
left=""
for _ in $(seq 20); do
    left=$(inhibitors)
    grep -q Vistrel <<<"$left" || break
    sleep 0.1
done
! grep -q Vistrel <<<"$left" || fail "inhibitors left after the program ended: $left"
echo "ok: the program's inhibitors are listed with their reasons while it runs, and gone after it ends"
echo "all good"
