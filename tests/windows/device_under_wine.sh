#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows command line against the Linux device simulator through Wine's serial ports: the
# simulator's pseudo-terminal is linked as the prefix's com5 and com12, so that vantorel-cli.exe
# opens "COM5" by name and "COM12" as "\\.\COM12" through the Win32 calls. A download must write
# the served flight byte for byte; zeroing, the setup and the faults must end with the status the
# Linux command line gives against the same simulator.
#
# usage: device_under_wine.sh PROGRAM_FOLDER LINUX_BUILD_DIR SAMPLES_DIR   (WINEPREFIX set)
set -euo pipefail
program="$1" linux="$2" samples="$3"
source "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"

work="$(mktemp -d)"
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
    echo "device under Wine: FAILED: $*" >&2
    failures=$((failures + 1))
}

# Serves `flight` with the simulator's other options on the link `link`, until stop_simulator.
start_simulator() {
    local link="$1"
    shift
    rm -f "$link"
    "$linux/vantorel-devsim" --link "$link" --quiet "$@" &
    sim_pid=$!
    for _ in $(seq 50); do
        [ -L "$link" ] && return 0
        sleep 0.1
    done
    fail "the simulator made no link $link"
}
stop_simulator() {
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=
}

windows_cli() {
    (cd "$program" && "$wine" ./vantorel-cli.exe "$@")
}

flight="$samples/towed_glider_10_per_s.bin"
for port in COM5 COM12; do
    link="$WINEPREFIX/dosdevices/$(echo "$port" | tr '[:upper:]' '[:lower:]')"
    start_simulator "$link" --flight "$flight"
    status=0
    # Not "COM5.bin": Windows takes any name COMn.* for the port itself.
    windows_cli download "$(windows_path "$work/flight-$port.bin")" --port "$port" --no-archive \
        >"$work/out" 2>"$work/err" || status=$?
    if [ "$status" -ne 0 ]; then
        fail "download through $port ended with status $status: $(cat "$work/err")"
    elif ! cmp -s "$flight" "$work/flight-$port.bin"; then
        fail "the flight downloaded through $port differs from the served one"
    else
        echo "device under Wine: download through $port: byte for byte the served flight"
    fi
    stop_simulator
done

# The same commands through the Linux command line and the Windows one, each against a fresh
# simulator: the exit statuses must agree. @OUT@ stands for each side's own output file.
compare() {
    local what="$1" fault="$2"
    shift 2
    local options=(--flight "$flight")
    [ -n "$fault" ] && options+=(--fault "$fault")
    local linux_status=0 windows_status=0
    start_simulator "$work/ports/COM5" "${options[@]}"
    "$linux/vantorel-cli" "${@//@OUT@/$work/linux.bin}" --port "$work/ports/COM5" \
        >/dev/null 2>"$work/linux.err" || linux_status=$?
    stop_simulator
    start_simulator "$WINEPREFIX/dosdevices/com5" "${options[@]}"
    windows_cli "${@//@OUT@/$(windows_path "$work/windows.bin")}" --port COM5 \
        >/dev/null 2>"$work/windows.err" || windows_status=$?
    stop_simulator
    if [ "$linux_status" -ne "$windows_status" ]; then
        fail "$what: Linux ended with $linux_status, Windows with $windows_status" \
            "($(tr '\n' ' ' <"$work/windows.err"))"
    else
        echo "device under Wine: $what: status $windows_status, as on Linux"
    fi
}
mkdir -p "$work/ports"
compare "zero" "" zero
compare "setup-read" "" setup-read
compare "setup-write" "" setup-write --trigger 40 --competitor 7 --sampling 3 --manual-zero 1 \
    --delay 120
compare "a stalled transfer" stall download @OUT@ --no-archive
compare "a hang-up" hangup download @OUT@ --no-archive
compare "a silent device" silent zero

# A port that another program holds is told as such: one command waits on a silent device while
# a second one tries the same port. Wine (8.0) lets the second program open the port, which
# Windows refuses with ERROR_ACCESS_DENIED; windows_platform_tests checks that this error is told
# as "in use", and here the check only reports what Wine did.
start_simulator "$WINEPREFIX/dosdevices/com5" --fault silent
windows_cli zero --port COM5 >/dev/null 2>&1 &
holder=$!
sleep 2
windows_cli zero --port COM5 >/dev/null 2>"$work/busy.err" || true
wait "$holder" || true
stop_simulator
if grep -q "COM5 jest zajęty przez inny program" "$work/busy.err"; then
    echo "device under Wine: a port held by another program: told as in use"
else
    echo "device under Wine: a port held by another program: Wine let a second program open it"
fi

if [ "$failures" -ne 0 ]; then
    echo "device under Wine: $failures check(s) failed" >&2
    exit 1
fi
