#!/usr/bin/env bash
# Runs a cross-built Windows program under wine: the emulator CMake and CTest
# put in front of every test program of the windows-x86 build.
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

# Bump when the prefix setup below changes, so an existing prefix is set up again.
stamp="$WINEPREFIX/.vrel-prefix-2"
if [ ! -f "$stamp" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    # One prefix for all test programs, set up once even when tests run in parallel.
    (
        flock 9
        if [ ! -f "$stamp" ]; then
            WINEDEBUG=-all wineboot --init >/dev/null 2>&1
            # A program that crashes ends there and then, instead of waiting
            # for the debugger wine would start for it.
            WINEDEBUG=-all wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
                /v Debugger /t REG_SZ /d "" /f >/dev/null 2>&1
            # No HID or USB bus drivers: nothing here needs them, and under
            # qemu-user the driver host running them spins on a core.
            for service in winebus wineusb; do
                WINEDEBUG=-all wine reg add "HKLM\\System\\CurrentControlSet\\Services\\$service" \
                    /v Start /t REG_DWORD /d 4 /f >/dev/null 2>&1
            done
            wineserver --wait
            touch "$stamp"
        fi
    ) 9>"$WINEPREFIX.lock"
fi

exec wine "$@"
