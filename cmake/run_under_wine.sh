#!/usr/bin/env bash
# Runs a cross-built Windows program under wine: the emulator CMake and CTest
# put in front of every test program of the Windows builds.
#
#   run_under_wine.sh <program> [argument...]   run a program
#   run_under_wine.sh                           only set up the prefix
#   run_under_wine.sh --start-server [log]      set up the prefix, start one
#                                               wine server that stays, and
#                                               boot wine's services in it
#   run_under_wine.sh --stop-server             stop that server and every
#                                               program of the prefix
#
# The two server commands are the set-up and clean-up tests of the Windows
# test run (tests/windows/wine_server.cmake).
#
# The prefix is VREL_WINEPREFIX (default ~/.cache/vrel-wine), made on first use.
# WINEDEBUG stays quiet unless the caller sets it (e.g. -all,+debugstr).
set -euo pipefail

export WINEPREFIX="${VREL_WINEPREFIX:-${HOME:-/tmp}/.cache/vrel-wine}"
export WINEARCH=win32
# No browser or .NET runtime (their installers would ask questions), no
# desktop menu entries, and no debugger for a program that crashes: it ends
# there and then. (Under the emulator one of wine's own start-up programs may
# crash, and the debugger wine starts for it was seen to hang the set-up.)
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe,winedbg.exe=d}"
export WINEDEBUG="${WINEDEBUG:--all}"
# Where 32-bit programs run through qemu (a kernel without 32-bit emulation),
# give the emulated process the whole 4 GiB address space wine expects.
export QEMU_RESERVED_VA="${QEMU_RESERVED_VA:-0xffff0000}"

# Runs one step of the set-up with a time limit, and says which step failed
# and how. A wine program under the emulator may not end on SIGTERM, so it is
# killed 10 s later.
step_limit() {
    local seconds=$1 status=0 start=$SECONDS
    shift
    timeout --kill-after=10 "$seconds" "$@" || status=$?
    case $status in
    0) ;;
    124 | 137) echo "run_under_wine: '$*' did not end within $seconds s" >&2 ;;
    *) echo "run_under_wine: '$*' failed (exit $status) after $((SECONDS - start)) s" >&2 ;;
    esac
    return "$status"
}

# True when the registry turns the service off and wine's setup has declared it.
service_is_off() {
    HEADER="[System\\\\CurrentControlSet\\\\Services\\\\$1]" awk '
        index($0, ENVIRON["HEADER"]) == 1 { inside = 1; next }
        inside && /^$/ { exit }
        inside && /^"ImagePath"=/ { image = 1 }
        inside && /^"Start"=dword:00000004$/ { off = 1 }
        END { exit !(image && off) }' "$WINEPREFIX/system.reg"
}

# The wine programs of the prefix, a process id per line, also ones a hung
# set-up left behind that no longer answer to a server.
prefix_processes() {
    local process
    for process in /proc/[0-9]*; do
        if grep -qaF /usr/lib/wine/ 2>/dev/null <"$process/cmdline" &&
            tr '\0' '\n' 2>/dev/null <"$process/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            echo "${process#/proc/}"
        fi
    done
}

# Ends every wine program of the prefix.
stop_prefix_processes() {
    step_limit 30 wineserver -k 2>/dev/null || true
    local pid
    for pid in $(prefix_processes); do
        kill -9 "$pid" 2>/dev/null || true
    done
}

# Waits for wine to finish what it started. Under the emulator one of wine's
# programs was seen to run on for good after the set-up's work was done; then
# the programs still running are named and ended, and the check at the end of
# the set-up decides whether the prefix is complete.
wait_for_wine() {
    step_limit 180 wineserver --wait && return 0
    local pid names=""
    for pid in $(prefix_processes); do
        names+=" $(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | sed 's|^/usr/bin/qemu-i386-static ||')|"
    done
    echo "run_under_wine: still running:${names:- nothing}; ending them" >&2
    stop_prefix_processes
}

# Makes or updates the prefix; fails when a step hangs or leaves it incomplete
# (under qemu-user wine's first start can stall or crash).
set_up_prefix() {
    step_limit 30 wineserver -k 2>/dev/null || true
    if [ ! -e "$WINEPREFIX" ]; then
        mkdir -p "$WINEPREFIX"
        touch "$WINEPREFIX/.vrel-made"
    fi
    step_limit 180 wineboot --init >/dev/null 2>&1 || return 1
    # wine's first start goes on installing after wineboot returns.
    wait_for_wine
    # A program that crashes ends there and then, instead of waiting for the
    # debugger wine would start for it.
    step_limit 120 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /t REG_SZ /d "" /f >/dev/null 2>&1 || return 1
    # No HID or USB bus drivers: nothing here needs them, and under qemu-user
    # the driver host running them spins on a core. wine may still be
    # installing them on this start and set them on again, so a second pass
    # follows when the first did not hold.
    local service
    for _ in 1 2; do
        for service in winebus wineusb; do
            step_limit 120 wine reg add "HKLM\\System\\CurrentControlSet\\Services\\$service" \
                /v Start /t REG_DWORD /d 4 /f >/dev/null 2>&1 || return 1
        done
        wait_for_wine
        if service_is_off winebus && service_is_off wineusb; then
            break
        fi
    done
    # Complete: wine's setup ran to its end (an unfinished one was seen to
    # lack the user's TEMP) and the bus drivers are off.
    if ! grep -qs '^"TEMP"=' "$WINEPREFIX/user.reg"; then
        echo "run_under_wine: wine's setup did not finish (no TEMP for the user)" >&2
        return 1
    fi
    for service in winebus wineusb; do
        if ! service_is_off $service; then
            echo "run_under_wine: the $service service is still on" >&2
            return 1
        fi
    done
}

# Bump when the prefix setup above changes, so an existing prefix is set up again.
stamp="$WINEPREFIX/.vrel-prefix-3"

# Sets up the prefix unless it is; one prefix for all test programs, set up
# once even when they start in parallel. A set-up that fails is tried again
# from scratch, but only in a prefix made here.
prepare_prefix() {
    [ ! -f "$stamp" ] || return 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        for attempt in 1 2 3; do
            [ ! -f "$stamp" ] || break
            if set_up_prefix; then
                touch "$stamp"
                break
            fi
            echo "run_under_wine: setting up the wine prefix $WINEPREFIX failed (attempt $attempt)" >&2
            stop_prefix_processes
            if [ -f "$WINEPREFIX/.vrel-made" ]; then
                rm -rf "$WINEPREFIX"
            fi
        done
        if [ ! -f "$stamp" ]; then
            echo "run_under_wine: could not set up the wine prefix $WINEPREFIX" >&2
            exit 1
        fi
    ) 9>"$WINEPREFIX.lock"
}

# One wine server for a whole test run, kept when its last program ends:
# wine's services then start once instead of once per test program, which
# under qemu-user takes seconds each time. A server left by an interrupted run
# is stopped first (it would also keep a prefix set-up waiting). Under the
# emulator the boot itself was seen to hang for good, so it has a limit, and a
# boot that hangs is tried again with a new server. Nothing started here keeps
# this script's output open, or ctest would wait for it.
start_server() {
    local log=${1:-/dev/null}
    stop_prefix_processes
    prepare_prefix
    : >"$log"
    local start=$SECONDS attempt status
    for attempt in 1 2 3; do
        if ! wineserver -p </dev/null >>"$log" 2>&1; then
            echo "run_under_wine: could not start a wine server for $WINEPREFIX (log: $log)" >&2
            return 1
        fi
        status=0
        step_limit 120 wine cmd /c exit 0 </dev/null >>"$log" 2>&1 || status=$?
        # timeout's codes: 124 ended on SIGTERM, 137 killed after it.
        if [ "$status" -ne 124 ] && [ "$status" -ne 137 ]; then
            # Under the emulator one of wine's start-up programs may crash
            # here; the services that matter still run, and a test that needs
            # one starts it.
            if [ "$status" -ne 0 ]; then
                echo "run_under_wine: booting wine's services reported a failure (log: $log)"
            fi
            echo "run_under_wine: wine server for $WINEPREFIX up, services booted in $((SECONDS - start)) s"
            return 0
        fi
        echo "run_under_wine: booting wine's services hung (attempt $attempt); starting a new server" >&2
        stop_prefix_processes
    done
    echo "run_under_wine: could not boot wine's services in $WINEPREFIX (log: $log)" >&2
    return 1
}

stop_server() {
    stop_prefix_processes
    echo "run_under_wine: wine server for $WINEPREFIX stopped"
}

case "${1:-}" in
--start-server) start_server "${2:-}" ;;
--stop-server) stop_server ;;
"") prepare_prefix ;;
*) prepare_prefix && exec wine "$@" ;;
esac
