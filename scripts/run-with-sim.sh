#!/usr/bin/env bash
# shellcheck disable=SC2317 # the clean-up functions run from traps
# Runs the program against the device simulator: the simulator listens on a free TCP port of
# 127.0.0.1 and on a pseudo-terminal, and the program starts in demonstration mode with both
# addresses on its connection page, so that an operator logs in and presses Connect. The
# demonstration addresses are never written into the settings file. The simulator stops when
# the program ends.
#
# Usage: run-with-sim.sh BIN_DIR [program arguments...]
# Simulator options (faults, another model, latency) can be given in TAVILON_SIM_OPTIONS,
# for example TAVILON_SIM_OPTIONS="--latency 200".
set -euo pipefail

if [ $# -lt 1 ] || [ ! -x "$1/tavilon" ] || [ ! -x "$1/tavilon-sim" ]; then
    echo "usage: $0 BIN_DIR [program arguments...] (BIN_DIR holds tavilon and tavilon-sim)" >&2
    exit 2
fi
bin="$(cd "$1" && pwd)"
shift

runtime="$(mktemp -d "${TMPDIR:-/tmp}/tavilon-run.XXXXXX")"
log="$runtime/simulator.log"
sim_pid=""
app_pid=""

stop_process() {
    if [ -n "$1" ] && kill -0 "$1" 2>/dev/null; then
        kill "$1" 2>/dev/null || true
        wait "$1" 2>/dev/null || true
    fi
}
# Whichever way the script ends, the program and then the simulator go with it.
finish() {
    stop_process "$app_pid"
    stop_process "$sim_pid"
    rm -rf "$runtime"
}
trap finish EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# shellcheck disable=SC2086 # the options are meant to be split into words
"$bin/tavilon-sim" --tcp 127.0.0.1:0 --pty "$runtime/tty" ${TAVILON_SIM_OPTIONS:-} >"$log" 2>&1 &
sim_pid=$!

tcp=""
pty=""
for _ in $(seq 1 100); do
    tcp="$(sed -n 's/^TCP //p' "$log" | head -n 1)"
    pty="$(sed -n 's/^PTY //p' "$log" | head -n 1)"
    [ -n "$tcp" ] && [ -n "$pty" ] && break
    if ! kill -0 "$sim_pid" 2>/dev/null; then
        echo "The device simulator did not start:" >&2
        cat "$log" >&2
        exit 1
    fi
    sleep 0.1
done
if [ -z "$tcp" ] || [ -z "$pty" ]; then
    echo "The device simulator did not report its addresses:" >&2
    cat "$log" >&2
    exit 1
fi

echo "Device simulator: TCP $tcp, serial port $pty"
echo "Log in (admin or user, password 582037 unless changed) and press Connect."
# In the background, so that a signal to this script is handled at once.
"$bin/tavilon" --demo-device "tcp=$tcp,serial=$pty" "$@" &
app_pid=$!
status=0
wait "$app_pid" || status=$?
app_pid=""
exit "$status"
