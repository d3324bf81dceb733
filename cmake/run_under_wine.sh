#!/usr/bin/env bash
# Runs a cross-built Windows program under wine: the emulator CMake and CTest
# put in front of every test program of the windows-x86 build.
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
# No browser or .NET runtime (their installers would ask questions), and no
# desktop menu entries.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
export WINEDEBUG="${WINEDEBUG:--all}"
# Where 32-bit programs run through qemu (a kernel without 32-bit emulation),
# give the emulated process the whole 4 GiB address space wine expects.
export QEMU_RESERVED_VA="${QEMU_RESERVED_VA:-0xffff0000}"

# True when the registry turns the service off and wine's setup has declared it.
service_is_off() {
    HEADER="[System\\\\CurrentControlSet\\\\Services\\\\$1]" awk '
        index($0, ENVIRON["HEADER"]) == 1 { inside = 1; next }
        inside && /^$/ { exit }
        inside && /^"ImagePath"=/ { image = 1 }
        inside && /^"Start"=dword:00000004$/ { off = 1 }
        END { exit !(image && off) }' "$WINEPREFIX/system.reg"
}

# Ends every wine program of the prefix, also ones a hung set-up left behind
# that no longer answer to a server.
stop_prefix_processes() {
    wineserver -k 2>/dev/null || true
    local process
    for process in /proc/[0-9]*; do
        if grep -qaF /usr/lib/wine/ 2>/dev/null <"$process/cmdline" &&
            tr '\0' '\n' 2>/dev/null <"$process/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            kill -9 "${process#/proc/}" 2>/dev/null || true
        fi
    done
}

# Makes or updates the prefix; fails when a step hangs or leaves it incomplete
# (under qemu-user wine's first start can stall or crash).
set_up_prefix() {
    wineserver -k 2>/dev/null || true
    if [ ! -e "$WINEPREFIX" ]; then
        mkdir -p "$WINEPREFIX"
        touch "$WINEPREFIX/.vrel-made"
    fi
    timeout 180 wineboot --init >/dev/null 2>&1 || return 1
    # wine's first start goes on installing after wineboot returns.
    timeout 180 wineserver --wait || return 1
    # A program that crashes ends there and then, instead of waiting for the
    # debugger wine would start for it.
    timeout 120 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /t REG_SZ /d "" /f >/dev/null 2>&1 || return 1
    # No HID or USB bus drivers: nothing here needs them, and under qemu-user
    # the driver host running them spins on a core. wine may still be
    # installing them on this start and set them on again, so a second pass
    # follows when the first did not hold.
    local service
    for _ in 1 2; do
        for service in winebus wineusb; do
            timeout 120 wine reg add "HKLM\\System\\CurrentControlSet\\Services\\$service" \
                /v Start /t REG_DWORD /d 4 /f >/dev/null 2>&1 || return 1
        done
        timeout 180 wineserver --wait || return 1
        if service_is_off winebus && service_is_off wineusb; then
            break
        fi
    done
    # Complete: wine's setup ran to its end (an unfinished one was seen to
    # lack the user's TEMP) and the bus drivers are off.
    grep -qs '^"TEMP"=' "$WINEPREFIX/user.reg" && service_is_off winebus && service_is_off wineusb
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
# is stopped first (it would also keep a prefix set-up waiting). Nothing
# started here keeps this script's output open, or ctest would wait for it.
start_server() {
    local log=${1:-/dev/null}
    wineserver -k 2>/dev/null || true
    prepare_prefix
    local start=$SECONDS
    if ! wineserver -p </dev/null >"$log" 2>&1; then
        echo "run_under_wine: could not start a wine server for $WINEPREFIX (log: $log)" >&2
        return 1
    fi
    # Under the emulator one of wine's start-up programs may crash here; the
    # services that matter still run, and a test that needs one starts it.
    if ! wine cmd /c exit 0 </dev/null >>"$log" 2>&1; then
        echo "run_under_wine: booting wine's services reported a failure (log: $log)"
    fi
    echo "run_under_wine: wine server for $WINEPREFIX up, services booted in $((SECONDS - start)) s"
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
